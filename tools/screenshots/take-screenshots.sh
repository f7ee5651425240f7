#!/usr/bin/env bash
# Screenshots of the viewer in each display mode, taken on the generated sample card:
# event-mode.png, image-mode.png, continuous-mode.png and folder-dialog.png.
#
#   tools/screenshots/take-screenshots.sh [OUTPUT_FOLDER]      (default: docs/screenshots)
#
# Each mode is a fresh start of SCENOVA.exe inside Wine's desktop window (so that the main
# window has its frame) on a virtual display of its own (Xvfb), so nothing else on the
# machine takes its keys. The record is opened as a user would: ファイル → 開く... and the
# folder dialog driven from the keyboard with xdotool, each key checked through scenova-probe.
# Every step waits for something to show (a window, the menu, the tree's selection, the
# caption, the picture, the line chart's cursor, a still screen) within
# a generous deadline, never for a fixed time, and nothing depends on where panels sit
# beyond the main window's own size.
#
# Needs a built tree (scripts/build): build/bin/SCENOVA.exe and build/sample-card.
# SCENOVA_BUILD_DIR chooses another build tree, as for the other scripts.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build="${SCENOVA_BUILD_DIR:-$top/build}"
export SCENOVA_BUILD_DIR="$build"
out=$(mkdir -p "${1:-$top/docs/screenshots}" && cd "${1:-$top/docs/screenshots}" && pwd)
[ -f "$build/bin/SCENOVA.exe" ] || { echo "screenshots: $build/bin/SCENOVA.exe is not built (scripts/build)" >&2; exit 1; }
[ -d "$build/sample-card/EVENT/EVT00001" ] || { echo "screenshots: the sample card is not built (scripts/build)" >&2; exit 1; }
for tool in Xvfb xdotool import convert compare; do
  command -v "$tool" >/dev/null || { echo "screenshots: $tool is missing (apt-get install xvfb xdotool imagemagick)" >&2; exit 1; }
done

# The display, the waits and the folder-dialog steps of the end-to-end tests.
export SCENOVA_BUILD_DIR="$build" SCENOVA_SOURCE_DIR="$top"
source "$top/tests/e2e/lib.sh"
trap 'echo "screenshots: stopped at line $LINENO: $BASH_COMMAND" >&2' ERR
e2e_begin modes
# The viewer runs inside Wine's desktop SCENOVA, whose windows only a probe started in the
# same desktop sees.
desktop=SCENOVA

# The folder dialog starts in the program's folder: the card goes beside the program.
cp "$build/bin/SCENOVA.exe" "$run/"
cp -r "$build/sample-card" "$run/"
program=$(winpath "$run/SCENOVA.exe")

quietly() { "$@" 2>/dev/null; }
window_named() { quietly xdotool search --onlyvisible --name "$1" | head -n 1; }
found_main() { window=$(window_named '^SCENOVA$'); [ -n "$window" ]; }
browser=""
# The folder dialog is the one window of this display that is none of the program's others.
found_browser() {
  other=$(quietly xdotool search --onlyvisible --name '.' | while read -r w; do
    case "$(quietly xdotool getwindowname "$w")" in
      SCENOVA* | *"Wine desktop"* | "Default IME" | "") ;;
      *) echo "$w" ;;
    esac
  done | head -n 1)
  browser=$other
  [ -n "$browser" ]
}
look() { import -window root "$run/look.png" 2>/dev/null; }

# The main window is centred on the screen at its fixed size; the line chart is the bottom
# strip of its client area in event and continuous mode.
# Columns of the bottom strip showing a colour, as "LEFT RIGHT" (nothing when none does).
strip_columns() {
  convert "$run/look.png" -crop 1280x130+0+650 +repage -fill black +opaque "$1" \
    -format '%@' info: 2>/dev/null | sed -n 's/^\([0-9]*\)x[0-9]*+\([0-9]*\)+.*/\2 \1/p' |
    awk '$2 > 0 && $2 < 1280 { print $1, $1 + $2 - 1 }'
}
cursor_past() {  # cursor_past X: the chart's yellow cursor lies right of screen column X
  look || return 1
  local cursor
  cursor=$(strip_columns '#FFFF00')
  [ -n "$cursor" ] && [ "${cursor%% *}" -gt "$1" ]
}
cursor_past_event() {  # cursor_past_event SECONDS: the cursor is that far past the red event line
  look || return 1
  local event cursor
  event=$(strip_columns '#FF0000')
  cursor=$(strip_columns '#FFFF00')
  [ -n "$event" ] && [ -n "$cursor" ] || return 1
  # The plot of a 30 s record spans about 900 columns.
  [ "${cursor%% *}" -gt $(( ${event##* } + $1 * 30 )) ]
}
picture_shown() {  # the middle of the screen (the picture area) is not a plain colour
  look || return 1
  local spread
  spread=$(convert "$run/look.png" -crop 400x250+440+150 +repage -colorspace Gray -format '%[fx:standard_deviation]' info:)
  awk -v s="$spread" 'BEGIN { exit !(s > 0.03) }'
}
screen_still() {  # two looks in a row are the same: whatever loads after the record has landed
  look || return 1
  local previous="$run/previous.png"
  if [ -f "$previous" ] && [ "$(compare -metric AE "$previous" "$run/look.png" null: 2>&1 || true)" = "0" ]; then
    return 0
  fi
  cp "$run/look.png" "$previous"
  return 1
}

# tree_step PARENT NAME: the keys that open the tree's selected folder PARENT and go down its
# subfolders, in the tree's order of names, to NAME; and the name, as walk_folder_tree takes them.
tree_step() {
  local keys="Right" entry
  for entry in $(cd "$1" && ls -d -- */ | tr -d / | sort -f); do
    keys="$keys Down"
    [ "$entry" = "$2" ] && { echo "$keys:$2"; return 0; }
  done
  fail "no folder $2 in $1"
}

# shoot NAME MODE KIND FOLDER CAPTION_MODE CONDITION...: opens sample-card/KIND/FOLDER in
# display mode MODE (0 event, 1 image, 2 continuous) and, once the caption names it and the
# condition holds, writes NAME.png.
shoot() {
  local name=$1 mode=$2 kind=$3 folder=$4 mode_name=$5; shift 5
  "$top/scripts/wine" explorer /desktop=SCENOVA,1280x800 "$run/SCENOVA.exe" </dev/null >/dev/null 2>&1 &
  viewer=$!
  wait_for 180 found_main || fail "$name: the main window did not appear"

  # ファイル → 開く...: the kind first, then down the tree from the program's folder.
  open_folder_dialog "$(basename "$run")" found_browser
  choose_kind "$browser" "$mode"
  walk_folder_tree "$browser" "$(basename "$run")" "$(tree_step "$run" sample-card)" \
    "$(tree_step "$run/sample-card" "$kind")" "$(tree_step "$run/sample-card/$kind" "$folder")"
  [ "$name" = event-mode ] && look && cp "$run/look.png" "$out/folder-dialog.png"
  key "$browser" Return

  local path caption
  path="Z:$(echo "$run/sample-card/$kind/$folder" | tr / '\\')"
  caption="$mode_name $path - SCENOVA"
  caption_shown() { [ "$(quietly xdotool getwindowname "$window")" = "$caption" ]; }
  wait_for 60 caption_shown || fail "$name: the caption is \"$(quietly xdotool getwindowname "$window")\", not \"$caption\""
  wait_for 120 "$@" || fail "$name: the screen never showed what it waits for ($*)"
  look || fail "$name: no screenshot"
  cp "$run/look.png" "$out/$name.png"
  echo "screenshots: $out/$name.png"

  # ファイル → 終了, confirmed: the program ends and Wine's desktop with it.
  local question=""
  found_question() { question=$(window_named '^確認$'); [ -n "$question" ]; }
  open_menu alt+f
  key "$window" x
  if wait_for 60 found_question; then key "$question" Return; fi
  ended() { ! kill -0 "$viewer" 2>/dev/null; }
  wait_for 30 ended || kill "$viewer" 2>/dev/null || true
  wait "$viewer" 2>/dev/null || true
  viewer=""
  rm -f "$run/previous.png"
}
# The protected event record (a swerve): three seconds after the event the circle shows its
# trace and the info panel the protect icon.
shoot event-mode 0 EVENT EVT00003 "イベント記録表示モード" cursor_past_event 3
# Image folder: the first image and whatever else the mode loads, once the screen is still.
image_settled() { picture_shown && screen_still; }
shoot image-mode 1 IMAGE IMG00001 "画像記録表示モード" image_settled
# Continuous record: a while into the first chapter.
shoot continuous-mode 2 CONTINUE CNT00001 "連続記録表示モード" cursor_past 380
