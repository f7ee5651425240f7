#!/usr/bin/env bash
# The help page as a browser shows it: written out of the built viewer's resources the way
# the viewer writes it for the browser (scenova-help-copy.exe, the viewer's own code), then
# rendered by Debian's chromium in headless mode.
#
#   tools/help-pictures/screenshot-help-page.sh [OUTPUT_FOLDER]   (default: docs/screenshots)
#
# Writes help-page.png (the top of the page) and help-page-full.png (the whole page, scaled
# to half its size). Installs chromium the first time when run as root.
# SCENOVA_BUILD_DIR chooses another build tree, as for the other scripts.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build="${SCENOVA_BUILD_DIR:-$top/build}"
export SCENOVA_BUILD_DIR="$build"
out=$(mkdir -p "${1:-$top/docs/screenshots}" && cd "${1:-$top/docs/screenshots}" && pwd)
[ -f "$build/bin/scenova-help-copy.exe" ] || { echo "help page: $build/bin/scenova-help-copy.exe is not built (scripts/build)" >&2; exit 1; }
if ! command -v chromium >/dev/null; then
  if [ "$(id -u)" = 0 ]; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends chromium >/dev/null
  else
    echo "help page: chromium is missing (apt-get install chromium)" >&2; exit 1
  fi
fi
command -v convert >/dev/null || { echo "help page: convert is missing (apt-get install imagemagick)" >&2; exit 1; }

run=$(mktemp -d "$build/help-page-run.XXXXXX")
trap 'rm -rf "$run"' EXIT
mkdir "$run/page" "$run/profile"
"$top/scripts/wine" "$build/bin/scenova-help-copy.exe" "Z:$(echo "$run/page" | tr / '\\')" </dev/null >/dev/null
[ -f "$run/page/index.html" ] || { echo "help page: nothing was written" >&2; exit 1; }

shoot() {  # shoot FILE HEIGHT: the page at 1000 pixels wide, the top HEIGHT pixels of it
  chromium --headless --no-sandbox --disable-gpu --hide-scrollbars --user-data-dir="$run/profile" \
    --window-size=1000,"$2" --screenshot="$1" "file://$run/page/index.html" >/dev/null 2>&1 </dev/null
  [ -s "$1" ] || { echo "help page: chromium made no screenshot" >&2; exit 1; }
}
shoot "$out/help-page.png" 1400
# The whole page: a window taller than the page, trimmed to where the page ends.
shoot "$run/full.png" 16000
# 256 colours keep the overview small; help-page.png shows the page at full quality.
convert "$run/full.png" -trim +repage -bordercolor white -border 20 -resize 50% -colors 256 "PNG8:$out/help-page-full.png"
echo "help page: $out/help-page.png, $out/help-page-full.png"
