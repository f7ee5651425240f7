#!/usr/bin/env bash
# End to end: SCENOVA.exe opens the sample card's image folder through the real folder dialog
# (driven with xdotool as a user would with the keyboard), fills the thumbnail strip and shows
# the earliest picture with the caption "画像記録表示モード <folder> - SCENOVA"; a click on a
# later thumbnail shows that picture instead.
# Runs on a virtual display of its own (Xvfb), so that windows other tests show at the same
# time neither take the keyboard nor receive its keys. Needs SCENOVA_BUILD_DIR and
# SCENOVA_SOURCE_DIR (set by CTest).
set -euo pipefail
build=${SCENOVA_BUILD_DIR:?}
top=${SCENOVA_SOURCE_DIR:?}
[ -d "$build/sample-card/IMAGE/IMG00001" ] || { echo "e2e: the sample card is not built" >&2; exit 1; }

run=$(mktemp -d "$build/e2e-image-run.XXXXXX")
shots="$build/e2e-screenshots"
mkdir -p "$shots"
viewer=""
xvfb=""
cleanup() {
  [ -n "$viewer" ] && kill "$viewer" 2>/dev/null || true
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$run"
}
trap cleanup EXIT

Xvfb -displayfd 9 -screen 0 1280x800x24 -nolisten tcp 9>"$run/display" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 1 50); do [ -s "$run/display" ] && break; sleep 0.1; done
[ -s "$run/display" ] || { echo "e2e: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n 1 "$run/display")"
fail() { echo "e2e: $*" >&2; import -window root "$shots/image-failure.png" 2>/dev/null || true; exit 1; }

# The folder dialog starts in the program's folder: the card goes beside the program.
cp "$build/bin/SCENOVA.exe" "$run/"
cp -r "$build/sample-card" "$run/"

"$top/scripts/wine" "$run/SCENOVA.exe" </dev/null >/dev/null 2>&1 &
viewer=$!

wait_for() {  # wait_for SECONDS COMMAND...: until the command succeeds
  local limit=$1; shift
  for _ in $(seq 1 $((limit * 5))); do
    "$@" && return 0
    sleep 0.2
  done
  return 1
}
# Only this program's windows count: other tests may show theirs on the same display.
own_windows() { xdotool search --all --onlyvisible --pid "$viewer" --name "$1" 2>/dev/null; }
main_window() { own_windows '^SCENOVA$' | head -n 1; }
window=""
found_main() { window=$(main_window); [ -n "$window" ]; }
wait_for 60 found_main || fail "the main window did not appear"
sleep 2  # the window is mapped before it takes keys
key() { xdotool key --window "$1" "$2" 2>/dev/null; sleep 0.4; }

browser=""
found_browser() {
  browser=$(own_windows '.' | while read -r w; do
    name=$(xdotool getwindowname "$w" 2>/dev/null || true)
    case "$name" in SCENOVA|"Default IME"|"") ;; *) echo "$w" ;; esac
  done | head -n 1)
  [ -n "$browser" ]
}
# ファイル → 開く... (again if the window was not yet taking keys)
for attempt in 1 2 3 4; do
  xdotool windowfocus "$window" 2>/dev/null || true
  key "$window" alt+f
  key "$window" o
  wait_for 10 found_browser && break
  key "$window" Escape
  [ "$attempt" -lt 4 ] || fail "the folder dialog did not appear"
done
echo "e2e: folder dialog \"$(xdotool getwindowname "$browser")\" ($browser)"
sleep 2
# The kind list has the focus: 画像記録 is the next entry. Back to the tree, where the
# program's folder is selected, and down it: sample-card, IMAGE (after CONTINUE and EVENT),
# IMG00001.
for k in Down shift+Tab shift+Tab shift+Tab Right Down Right Down Down Down Right Down; do key "$browser" "$k"; done
import -window root "$shots/image-folder-dialog.png"
key "$browser" Return

folder="Z:$(echo "$run/sample-card/IMAGE/IMG00001" | tr / '\\')"
expected="画像記録表示モード $folder - SCENOVA"
caption_is_expected() { [ "$(xdotool getwindowname "$window" 2>/dev/null)" = "$expected" ]; }
# The caption names the folder once the strip is done and its first picture shown.
wait_for 60 caption_is_expected || fail "caption is \"$(xdotool getwindowname "$window")\", not \"$expected\""

# Where things are on the screen: the client area is the window less its frame, caption and
# menu; the strip is its bottom 90 pixels, the list of thumbnails 644 pixels wide in its middle.
eval "$(xdotool getwindowgeometry --shell "$window")"
client_left=$((X + ${FRAME_LEFT:-5}))
client_bottom=$((Y + HEIGHT - ${FRAME_BOTTOM:-5}))
list_left=$((client_left + (WIDTH - 2 * ${FRAME_LEFT:-5}) / 2 - 322))
strip_top=$((client_bottom - 90))
picture_crop="400x250+$((X + WIDTH / 2 - 200))+$((Y + 120))"
sleep 1
import -window root "$shots/image-first.png"
spread() { convert "$1" -crop "$picture_crop" +repage -colorspace Gray -format '%[fx:standard_deviation]' info:; }
first=$(spread "$shots/image-first.png")
awk -v s="$first" 'BEGIN { exit !(s > 0.03) }' || fail "no picture in the picture area (spread $first)"
# The strip shows thumbnails: its list area is not one plain colour.
strip_crop="600x60+$((list_left + 20))+$((strip_top + 6))"
thumbs=$(convert "$shots/image-first.png" -crop "$strip_crop" +repage -colorspace Gray -format '%[fx:standard_deviation]' info:)
awk -v s="$thumbs" 'BEGIN { exit !(s > 0.03) }' || fail "no thumbnails in the strip (spread $thumbs)"

# A click on the fourth thumbnail shows its picture.
xdotool mousemove $((list_left + 3 * ${THUMB_PITCH:-114} + 56)) $((strip_top + 2 + 30)) click 1
changed() {
  import -window root "$shots/image-chosen.png"
  local d
  d=$(compare -metric AE -crop "$picture_crop" "$shots/image-first.png" "$shots/image-chosen.png" null: 2>&1 || true)
  awk -v d="$d" 'BEGIN { exit !(d > 1000) }'
}
wait_for 15 changed || fail "the picture did not change after a click on a later thumbnail"
caption_is_expected || fail "the caption changed to \"$(xdotool getwindowname "$window")\""

# ファイル → 終了: a folder is loaded, so the program asks; OK ends it with exit code 0.
key "$window" alt+f
key "$window" x
question=""
found_question() {
  question=$(own_windows '^確認$' | head -n 1)
  [ -n "$question" ]
}
wait_for 15 found_question || fail "closing did not ask for confirmation"
key "$question" Return
code=0
wait "$viewer" || code=$?
viewer=""
[ "$code" -eq 0 ] || fail "SCENOVA.exe ended with exit code $code"
echo "e2e: image folder opened, a later thumbnail chosen, closed"
