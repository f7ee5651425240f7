#!/usr/bin/env bash
# End to end: on a copy of the sample card, 設定 → 本体設定 asks for the card through the real
# drive dialog, shows what the card's FIRMINFO.DAT reports, and OK writes DREC.INI. Driven with
# xdotool as a user would with the keyboard: 標準 first, then the detailed threshold typed as
# 0.50 and the event buzzer chosen as 大. scenova-cli then reads the card's DREC.INI: threshold
# 50 and event buzzer 1, and every other record as the dialog showed it from the card.
# Runs on a virtual display of its own (Xvfb). Needs SCENOVA_BUILD_DIR and SCENOVA_SOURCE_DIR.
set -euo pipefail
build=${SCENOVA_BUILD_DIR:?}
top=${SCENOVA_SOURCE_DIR:?}
[ -f "$build/sample-card/FIRMINFO.DAT" ] || { echo "e2e: the sample card is not built" >&2; exit 1; }

run=$(mktemp -d "$build/e2e-run.XXXXXX")
shots="$build/e2e-screenshots"
mkdir -p "$shots"
viewer=""
xvfb=""
cleanup() {
  [ -n "$viewer" ] && kill "$viewer" 2>/dev/null || true
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  chmod -R u+w "$run" 2>/dev/null || true
  rm -rf "$run"
}
trap cleanup EXIT

Xvfb -displayfd 9 -screen 0 1280x800x24 -nolisten tcp 9>"$run/display" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 1 50); do [ -s "$run/display" ] && break; sleep 0.1; done
[ -s "$run/display" ] || { echo "e2e: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n 1 "$run/display")"
fail() { echo "e2e: $*" >&2; import -window root "$shots/settings-failure.png" 2>/dev/null || true; exit 1; }

# The viewer runs from the card, where the card restore puts a copy of it: the drive dialog
# then starts on the card itself.
cp -r "$build/sample-card" "$run/card"
cp "$build/bin/SCENOVA.exe" "$run/card/"
settings() { "$top/scripts/wine" "$build/bin/scenova-cli.exe" settings "Z:$(echo "$run/card/DREC.INI" | tr / '\\')" 2>/dev/null | tr -d '\r'; }
before=$(settings)

"$top/scripts/wine" "$run/card/SCENOVA.exe" </dev/null >/dev/null 2>&1 &
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
found=""
found_named() { found=$(own_windows "$1" | head -n 1); [ -n "$found" ]; }
wait_for 60 found_named '^SCENOVA$' || fail "the main window did not appear"
window=$found
sleep 2  # the window is mapped before it takes keys
key() { xdotool key --window "$1" "$2" 2>/dev/null; sleep 0.4; }

browser=""
found_browser() {
  browser=$(own_windows '.' | while read -r w; do
    name=$(xdotool getwindowname "$w" 2>/dev/null || true)
    case "$name" in SCENOVA|本体設定|"Default IME"|"") ;; *) echo "$w" ;; esac
  done | head -n 1)
  [ -n "$browser" ]
}
# 設定 → 本体設定... (again if the window was not yet taking keys)
for attempt in 1 2 3 4; do
  key "$window" alt+s
  key "$window" s
  wait_for 10 found_browser && break
  key "$window" Escape
  [ "$attempt" -lt 4 ] || fail "the drive dialog did not appear"
done
wait_for 10 found_named '^本体設定$' || fail "the settings dialog is not up behind the drive dialog"
dialog=$found
echo "e2e: drive dialog \"$(xdotool getwindowname "$browser")\" ($browser) over 本体設定 ($dialog)"
# The card, where the program is, is selected.
key "$browser" Return
browser_gone() { ! own_windows '.' | grep -qx "$browser"; }
wait_for 15 browser_gone || fail "the drive dialog did not close"
! found_named '^警告$' || fail "the card's FIRMINFO.DAT was not read"
import -window root "$shots/device-settings-opened.png"

# 標準 (0.45 G), then the threshold typed as 0.50 and the event buzzer set to 大 (標準, then one down).
key "$dialog" alt+n
key "$dialog" alt+t
key "$dialog" ctrl+a
for k in 0 period 5 0; do key "$dialog" "$k"; done
key "$dialog" alt+e
key "$dialog" Home
key "$dialog" Down
import -window root "$shots/device-settings-changed.png"
key "$dialog" Return

question=""
found_box() { question=$(own_windows "^$1\$" | head -n 1); [ -n "$question" ]; }
wait_for 15 found_box 確認 || fail "OK did not ask before writing"
key "$question" Return
wait_for 15 found_box 情報 || fail "writing did not report success"
key "$question" Return
dialog_gone() { [ -z "$(own_windows '^本体設定$')" ]; }
wait_for 15 dialog_gone || fail "the settings dialog did not close"

after=$(settings)
expected='{"records":[{"key":"0x0801","value":"0050FFFFFF"},{"key":"0x0802","value":"10FFFFFFFF"},{"key":"0x0803","value":"20FFFFFFFF"},{"key":"0x0804","value":"04FFFFFFFF"},{"key":"0x1801","value":"01FFFFFFFF"},{"key":"0x0301","value":"00FFFFFFFF"},{"key":"0x0304","value":"01FFFFFFFF"},{"key":"0x0811","value":"0012FFFFFF"},{"key":"0x0812","value":"0105FFFFFF"}],"threshold":50,"lateral":12,"angle":-5,"overwrite":1,"operationBuzzer":0,"eventBuzzer":1}'
if [ "$after" != "$expected" ]; then
  echo "e2e: DREC.INI before: $before" >&2
  fail "DREC.INI now reads $after"
fi
echo "e2e: DREC.INI before: $before"
echo "e2e: DREC.INI after:  $after"

[ "$(find "$run/card" -maxdepth 1 -type f | wc -l)" -eq 3 ] || fail "files left beside DREC.INI: $(ls "$run/card")"

# ファイル → 終了: nothing is loaded, so the program ends at once with exit code 0.
key "$window" alt+f
key "$window" x
code=0
wait "$viewer" || code=$?
viewer=""
[ "$code" -eq 0 ] || fail "SCENOVA.exe ended with exit code $code"
echo "e2e: device settings written to the card"
