#!/usr/bin/env bash
# End to end: SCENOVA.exe opens the sample card's first event record, and its ファイル menu
# exports the record as an AVI file (the same bytes as scenova-cli's record.avi), the
# telemetry as a CSV file (scenova-cli's telemetry.csv) and the picture on screen as a PNG
# file, each through the system's save dialog driven with xdotool as a user would.
# Then End, Home, Right, Left and Space move the picture, or hold it still while paused.
# Runs on a virtual display of its own (Xvfb). Needs SCENOVA_BUILD_DIR and SCENOVA_SOURCE_DIR.
source "$(dirname "$0")/lib.sh"
[ -d "$build/sample-card/EVENT/EVT00001" ] || { echo "e2e: the sample card is not built" >&2; exit 1; }
e2e_begin export

# The folder dialog starts in the program's folder: the card goes beside the program, alone,
# and what the test writes goes elsewhere.
app="$run/app"
mkdir -p "$app" "$run/out"
cp "$build/bin/SCENOVA.exe" "$app/"
cp -r "$build/sample-card" "$app/"
start_viewer "$app/SCENOVA.exe"
no_other() { ! found_other; }
# Opens ファイル and picks the item with letter $1; waits for the dialog it opens ($other).
menu() {
  open_menu alt+f
  key "$window" "$1"
  wait_for 120 found_other || fail "ファイル → $1 opened no dialog"
}
# In the save dialog that menu opened, types a full path as the file name and saves. Typed
# through the keyboard focus: keys sent to a window directly lose their shift state ("Z:").
# On a loaded machine the typing can reach the dialog before its name box has the focus, and
# be lost: the name is typed again until the box holds it, and only then saved.
save_as() {
  local dialog=$other
  for attempt in 1 2 3 4; do
    xdotool windowfocus --sync "$dialog" 2>/dev/null || true
    wait_for 30 focus_class_is Edit || continue
    key "$dialog" ctrl+a
    xdotool type --delay 20 "$1"
    wait_for 20 focus_text_is "$1" || continue
    key "$dialog" Return
    wait_for 20 dialog_gone "$dialog" && return 0
  done
  fail "the save dialog did not take $1 (its focus: ${focus:-none})"
}
dialog_gone() { ! xdotool search --all --onlyvisible --pid "$viewer" --name '.' 2>/dev/null | grep -qx "$1"; }

# ファイル → 開く...: the folder dialog, then down its tree to sample-card\EVENT\EVT00001.
open_folder_dialog app
walk_folder_tree "$other" app "Right Down:sample-card" "Right Down Down:EVENT" "Right Down:EVT00001"
key "$other" Return
expected="イベント記録表示モード $(winpath "$app/sample-card/EVENT/EVT00001") - SCENOVA"
wait_for 30 caption_is "$expected" || fail "caption is \"$caption\", not \"$expected\""
# It plays: what the window shows changes.
shot() { import -window "$window" "$run/$1.png" 2>/dev/null; }
differs() { [ "$(compare -metric AE "$run/$1.png" "$run/$2.png" null: 2>&1)" != "0" ]; }
settled() {  # settled NAME: two shots in a row alike, the last one kept as NAME
  shot "$1.a" && sleep 0.5 && shot "$1" && ! differs "$1.a" "$1"
}
moved_from() { shot now && differs "$1" now; }
shot opened
wait_for 60 moved_from opened || fail "the record did not play"

# What the command line writes for the same record.
"$top/scripts/wine" "$build/bin/scenova-cli.exe" export "$(winpath "$app/sample-card/EVENT/EVT00001/Video.dvt")" \
  --out "$(winpath "$run/cli")" >/dev/null 2>&1 || fail "scenova-cli export failed"

# ファイル → AVIファイルに書き出す...
menu v
save_as "$(winpath "$run/out/menu.avi")"
# The file takes its name when complete; the progress dialog closes right after.
wait_for 180 test -f "$run/out/menu.avi" || fail "no menu.avi"
wait_for 30 no_other || fail "the progress dialog stayed"
cmp -s "$run/out/menu.avi" "$run/cli/record.avi" || fail "the viewer's AVI differs from scenova-cli's record.avi"

# ファイル → 走行データをCSVで書き出す...
menu t
save_as "$(winpath "$run/out/menu.csv")"
wait_for 120 test -f "$run/out/menu.csv" || fail "no menu.csv"
wait_for 30 no_other || fail "the progress dialog stayed"
cmp -s "$run/out/menu.csv" "$run/cli/telemetry.csv" || fail "the viewer's CSV differs from scenova-cli's telemetry.csv"

# ファイル → 表示中の画像をPNGで保存...: the paused frame at its own size.
menu p
save_as "$(winpath "$run/out/menu.png")"
wait_for 60 test -f "$run/out/menu.png" || fail "no menu.png"
wait_for 30 no_other || fail "the save dialog stayed"
[ "$(identify -format '%m %w %h' "$run/out/menu.png" 2>/dev/null)" = "PNG 640 480" ] || fail "menu.png: $(identify "$run/out/menu.png" 2>&1)"
spread=$(convert "$run/out/menu.png" -colorspace Gray -format '%[fx:standard_deviation]' info:)
awk -v s="$spread" 'BEGIN { exit !(s > 0.03) }' || fail "menu.png holds no picture (spread $spread)"
ls "$run/out" | grep -q partial && fail "a temporary file was left: $(ls "$run/out")"

# The keys move the position: what the window shows changes with each one and holds still
# while paused. The exports above left playback paused.
press() {  # press KEY FROM NAME: the key moves the picture away from FROM; NAME is where it stays
  xdotool windowfocus "$window" 2>/dev/null || true
  key "$window" "$1"
  wait_for 60 moved_from "$2" || fail "$1 did not move the picture"
  wait_for 60 settled "$3" || fail "the picture did not hold still after $1"
}
wait_for 60 settled paused || fail "the paused picture did not hold still"
press End paused last
press Home last first
press Right first second
press Left second back
xdotool windowfocus "$window" 2>/dev/null || true
key "$window" space
wait_for 60 moved_from back || fail "space did not play"
key "$window" space
# The record lasts 30 s from its first frame: holding still well before that is the pause.
wait_for 15 settled paused-again || fail "space did not pause"
differs back paused-again || fail "space paused on the first frame"
echo "e2e: AVI, CSV and PNG exported from the menu; Space, End, Home, Right and Left moved the picture"
