#!/usr/bin/env bash
# End to end: SCENOVA.exe opens the sample card's first event record, and its ファイル menu
# exports the record as an AVI file (the same bytes as scenova-cli's record.avi), the
# telemetry as a CSV file (scenova-cli's telemetry.csv) and the picture on screen as a PNG
# file, each through the system's save dialog driven with xdotool as a user would.
# Then End, Home, Right, Left and Space move the picture, or hold it still while paused.
# Runs on a virtual display of its own (Xvfb). Needs SCENOVA_BUILD_DIR and SCENOVA_SOURCE_DIR.
set -euo pipefail
build=${SCENOVA_BUILD_DIR:?}
top=${SCENOVA_SOURCE_DIR:?}
[ -d "$build/sample-card/EVENT/EVT00001" ] || { echo "e2e: the sample card is not built" >&2; exit 1; }

run=$(mktemp -d "$build/e2e-export.XXXXXX")
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
fail() { echo "e2e: $*" >&2; import -window root "$shots/export-failure.png" 2>/dev/null || true; exit 1; }
win() { echo "Z:$(echo "$1" | tr / '\\')"; }

# The folder dialog starts in the program's folder: the card goes beside the program, alone,
# and what the test writes goes elsewhere.
app="$run/app"
mkdir -p "$app" "$run/out"
cp "$build/bin/SCENOVA.exe" "$app/"
cp -r "$build/sample-card" "$app/"
"$top/scripts/wine" "$app/SCENOVA.exe" </dev/null >/dev/null 2>&1 &
viewer=$!

wait_for() {  # wait_for SECONDS COMMAND...: until the command succeeds
  local limit=$1; shift
  for _ in $(seq 1 $((limit * 5))); do
    "$@" && return 0
    sleep 0.2
  done
  return 1
}
own_windows() { xdotool search --all --onlyvisible --pid "$viewer" --name "$1" 2>/dev/null; }
window=""
found_main() { window=$(own_windows '^SCENOVA$' | head -n 1); [ -n "$window" ]; }
wait_for 60 found_main || fail "the main window did not appear"
sleep 2  # the window is mapped before it takes keys
key() { xdotool key --window "$1" "$2" 2>/dev/null; sleep 0.4; }
# The one visible window of the program that is neither the main window nor the IME's.
other=""
found_other() {
  other=$(own_windows '.' | while read -r w; do
    name=$(xdotool getwindowname "$w" 2>/dev/null || true)
    case "$name" in "Default IME"|"") ;; *) [ "$w" = "$window" ] || echo "$w" ;; esac
  done | head -n 1)
  [ -n "$other" ]
}
no_other() { ! found_other; }
program="$(win "$app/SCENOVA.exe")"
menu_open() { "$top/scripts/wine" "$build/bin/scenova-probe.exe" menu "$program" </dev/null >/dev/null 2>&1; }
# Opens ファイル (alt+f again until the menu shows, as the window may not take keys at first)
# and picks the item with letter $1; waits for the dialog it opens. The item's key goes only
# to an open menu and is never taken back with Escape: on a loaded machine the dialog can take
# many seconds to show, and an Escape meant for the menu would cancel it.
menu() {
  local attempt
  for attempt in 1 2 3 4 5 6; do
    xdotool windowfocus "$window" 2>/dev/null || true
    key "$window" alt+f
    if wait_for 30 menu_open; then
      key "$window" "$1"
      wait_for 120 found_other && return 0
      fail "ファイル → $1 opened no dialog"
    fi
  done
  fail "the file menu did not open"
}
# In the save dialog that menu opened, types a full path as the file name and saves. Typed
# through the keyboard focus: keys sent to a window directly lose their shift state ("Z:").
# On a loaded machine the typing can reach the dialog before its name box has the focus: the
# dialog then stays open, and the name is typed again.
save_as() {
  local dialog=$other
  for attempt in 1 2 3 4; do
    sleep 1
    xdotool windowfocus --sync "$dialog" 2>/dev/null || true
    key "$dialog" ctrl+a
    xdotool type --delay 20 "$1"
    sleep 0.4
    key "$dialog" Return
    wait_for 20 dialog_gone "$dialog" && return 0
  done
  fail "the save dialog did not take $1"
}
dialog_gone() { ! xdotool search --all --onlyvisible --pid "$viewer" --name '.' 2>/dev/null | grep -qx "$1"; }

# ファイル → 開く...: the folder dialog, then down its tree to sample-card\EVENT\EVT00001.
menu o
sleep 2
for k in shift+Tab shift+Tab shift+Tab Right Down Right Down Down Right Down; do key "$other" "$k"; done
key "$other" Return
expected="イベント記録表示モード $(win "$app/sample-card/EVENT/EVT00001") - SCENOVA"
caption_is_expected() { [ "$(xdotool getwindowname "$window" 2>/dev/null)" = "$expected" ]; }
wait_for 30 caption_is_expected || fail "caption is \"$(xdotool getwindowname "$window")\", not \"$expected\""
sleep 2  # let it play a little

# What the command line writes for the same record.
"$top/scripts/wine" "$build/bin/scenova-cli.exe" export "$(win "$app/sample-card/EVENT/EVT00001/Video.dvt")" \
  --out "$(win "$run/cli")" >/dev/null 2>&1 || fail "scenova-cli export failed"

# ファイル → AVIファイルに書き出す...
menu v
save_as "$(win "$run/out/menu.avi")"
# The file takes its name when complete; the progress dialog closes right after.
wait_for 180 test -f "$run/out/menu.avi" || fail "no menu.avi"
wait_for 30 no_other || fail "the progress dialog stayed"
cmp -s "$run/out/menu.avi" "$run/cli/record.avi" || fail "the viewer's AVI differs from scenova-cli's record.avi"

# ファイル → 走行データをCSVで書き出す...
menu t
save_as "$(win "$run/out/menu.csv")"
wait_for 120 test -f "$run/out/menu.csv" || fail "no menu.csv"
wait_for 30 no_other || fail "the progress dialog stayed"
cmp -s "$run/out/menu.csv" "$run/cli/telemetry.csv" || fail "the viewer's CSV differs from scenova-cli's telemetry.csv"

# ファイル → 表示中の画像をPNGで保存...: the paused frame at its own size.
menu p
save_as "$(win "$run/out/menu.png")"
wait_for 60 test -f "$run/out/menu.png" || fail "no menu.png"
wait_for 30 no_other || fail "the save dialog stayed"
[ "$(identify -format '%m %w %h' "$run/out/menu.png" 2>/dev/null)" = "PNG 640 480" ] || fail "menu.png: $(identify "$run/out/menu.png" 2>&1)"
spread=$(convert "$run/out/menu.png" -colorspace Gray -format '%[fx:standard_deviation]' info:)
awk -v s="$spread" 'BEGIN { exit !(s > 0.03) }' || fail "menu.png holds no picture (spread $spread)"
ls "$run/out" | grep -q partial && fail "a temporary file was left: $(ls "$run/out")"

# The keys move the position: what the window shows changes with each one and holds still
# while paused. The exports above left playback paused.
shot() { import -window "$window" "$run/$1.png" 2>/dev/null; }
differs() { [ "$(compare -metric AE "$run/$1.png" "$run/$2.png" null: 2>&1)" != "0" ]; }
settled() {  # settled NAME: two shots in a row alike, the last one kept as NAME
  shot "$1.a" && sleep 0.5 && shot "$1" && ! differs "$1.a" "$1"
}
moved_from() { shot now && differs "$1" now; }
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
