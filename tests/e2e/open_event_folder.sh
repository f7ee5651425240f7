#!/usr/bin/env bash
# End to end: SCENOVA.exe opens the sample card's first event record through the real folder
# dialog (driven with xdotool as a user would with the keyboard), plays it, and shows a moving
# picture and the caption "イベント記録表示モード <folder> - SCENOVA"; closing asks first and
# ends the program with exit code 0.
# Runs on a virtual display of its own (Xvfb), so that windows other tests show at the same
# time neither take the keyboard nor receive its keys. Every key is followed by a wait for
# what it must bring about (scenova-probe reads the folder dialog's selection and focus), so
# a slow machine only makes it slower. Needs SCENOVA_BUILD_DIR and SCENOVA_SOURCE_DIR (set
# by CTest).
set -euo pipefail
build=${SCENOVA_BUILD_DIR:?}
top=${SCENOVA_SOURCE_DIR:?}
[ -d "$build/sample-card/EVENT/EVT00001" ] || { echo "e2e: the sample card is not built" >&2; exit 1; }

run=$(mktemp -d "$build/e2e-run.XXXXXX")
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
for _ in $(seq 1 300); do [ -s "$run/display" ] && break; sleep 0.1; done
[ -s "$run/display" ] || { echo "e2e: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n 1 "$run/display")"
fail() { echo "e2e: $*" >&2; import -window root "$shots/failure.png" 2>/dev/null || true; exit 1; }

# The folder dialog starts in the program's folder: the card goes beside the program.
cp "$build/bin/SCENOVA.exe" "$run/"
cp -r "$build/sample-card" "$run/"

"$top/scripts/wine" "$run/SCENOVA.exe" </dev/null >/dev/null 2>&1 &
viewer=$!
program="Z:$(echo "$run/SCENOVA.exe" | tr / '\\')"
# "SELECTED<tab>FOCUS-CLASS" of the viewer's folder dialog.
dialog_state() { "$top/scripts/wine" "$build/bin/scenova-probe.exe" folder-dialog "$program" 2>/dev/null </dev/null; }

wait_for() {  # wait_for SECONDS COMMAND...: until the command succeeds, for at most SECONDS
  local deadline=$((SECONDS + $1)); shift
  until "$@"; do
    ((SECONDS < deadline)) || return 1
    sleep 0.2
  done
}
# Only this program's windows count: other tests may show theirs on the same display.
own_windows() { xdotool search --all --onlyvisible --pid "$viewer" --name "$1" 2>/dev/null; }
main_window() { own_windows '^SCENOVA$' | head -n 1; }
window=""
found_main() { window=$(main_window); [ -n "$window" ]; }
wait_for 60 found_main || fail "the main window did not appear"
key() { xdotool key --window "$1" "$2" 2>/dev/null; }

browser=""
found_browser() {
  browser=$(own_windows '.' | while read -r w; do
    name=$(xdotool getwindowname "$w" 2>/dev/null || true)
    case "$name" in SCENOVA|"Default IME"|"") ;; *) echo "$w" ;; esac
  done | head -n 1)
  [ -n "$browser" ]
}
menu_open() { "$top/scripts/wine" "$build/bin/scenova-probe.exe" menu "$program" </dev/null >/dev/null 2>&1; }
# ファイル: alt+f again until the menu shows, as a new window may not take keys at first. The
# item's key goes only to an open menu and is never taken back with Escape: on a loaded
# machine the window it opens can take many seconds to show, and an Escape meant for the
# menu would cancel it.
open_file_menu() {
  local attempt
  for attempt in 1 2 3 4 5 6; do
    xdotool windowfocus "$window" 2>/dev/null || true
    key "$window" alt+f
    wait_for 30 menu_open && return 0
  done
  fail "the file menu did not open"
}
# ファイル → 開く...
open_file_menu
key "$window" o
wait_for 120 found_browser || fail "the folder dialog did not appear"
echo "e2e: folder dialog \"$(xdotool getwindowname "$browser")\" ($browser)"

state=""
selected() { state=$(dialog_state); [ "${state%%$'\t'*}" = "$1" ]; }
focused() { state=$(dialog_state); [[ "${state#*$'\t'}" == "$1#"* ]]; }  # focused CLASS
# The dialog starts on the program's folder, with the kind list (ｲﾍﾞﾝﾄ記録 preselected)
# holding the focus.
wait_for 60 selected "$(basename "$run")" || fail "the folder dialog did not select the program's folder (${state:-no dialog})"
# Back to the tree, one control at a time.
for _ in 1 2 3 4 5 6; do
  focused SysTreeView32 && break
  before=$state
  key "$browser" shift+Tab
  wait_for 30 eval '[ "$(dialog_state)" != "$before" ]' || true
done
focused SysTreeView32 || fail "the folder tree did not take the focus (${state:-no dialog})"
# Down the tree: open the folder, go to the child wanted, and see it selected.
for step in "Right Down:sample-card" "Right Down Down:EVENT" "Right Down:EVT00001"; do
  for k in ${step%%:*}; do key "$browser" "$k"; done
  wait_for 30 selected "${step#*:}" || fail "the tree did not select ${step#*:} (${state:-no dialog})"
done
import -window root "$shots/folder-dialog.png"
key "$browser" Return

folder="Z:$(echo "$run/sample-card/EVENT/EVT00001" | tr / '\\')"
expected="イベント記録表示モード $folder - SCENOVA"
caption_is_expected() { [ "$(xdotool getwindowname "$window" 2>/dev/null)" = "$expected" ]; }
wait_for 30 caption_is_expected || fail "caption is \"$(xdotool getwindowname "$window")\", not \"$expected\""

# The picture area: the middle column of the client area. It must come to show a picture
# (not a plain area), and then change (it plays).
eval "$(xdotool getwindowgeometry --shell "$window")"
picture_crop="400x250+$((X + WIDTH / 2 - 200))+$((Y + 120))"
spread() { convert "$1" -crop "$picture_crop" +repage -colorspace Gray -format '%[fx:standard_deviation]' info:; }
first=""
painted() {
  import -window root "$shots/event-playing-1.png"
  first=$(spread "$shots/event-playing-1.png")
  awk -v s="$first" 'BEGIN { exit !(s > 0.03) }'
}
wait_for 30 painted || fail "no frame painted in the picture area (spread $first)"
difference=""
moved() {
  import -window root "$shots/event-playing-2.png"
  difference=$(compare -metric AE -crop "$picture_crop" "$shots/event-playing-1.png" "$shots/event-playing-2.png" null: 2>&1 || true)
  awk -v d="$difference" 'BEGIN { exit !(d > 1000) }'
}
wait_for 30 moved || fail "the picture did not move while playing ($difference pixels differ)"

# ファイル → 終了: a record is loaded, so the program asks; OK ends it with exit code 0.
question=""
found_question() {
  question=$(own_windows '^確認$' | head -n 1)
  [ -n "$question" ]
}
open_file_menu
key "$window" x
wait_for 120 found_question || fail "closing did not ask for confirmation"
key "$question" Return
code=0
wait "$viewer" || code=$?
viewer=""
[ "$code" -eq 0 ] || fail "SCENOVA.exe ended with exit code $code"
echo "e2e: event folder opened, played and closed"
