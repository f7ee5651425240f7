#!/usr/bin/env bash
# End to end: on a copy of the sample card, 設定 → 本体設定 asks for the card through the real
# drive dialog, shows what the card's FIRMINFO.DAT reports, and OK writes DREC.INI. Driven with
# xdotool as a user would with the keyboard: 標準 first, then the detailed threshold typed as
# 0.50 and the event buzzer chosen as 大. scenova-cli then reads the card's DREC.INI: threshold
# 50 and event buzzer 1, and every other record as the dialog showed it from the card.
# Runs on a virtual display of its own (Xvfb). Needs SCENOVA_BUILD_DIR and SCENOVA_SOURCE_DIR.
source "$(dirname "$0")/lib.sh"
[ -f "$build/sample-card/FIRMINFO.DAT" ] || { echo "e2e: the sample card is not built" >&2; exit 1; }
e2e_begin settings

# The viewer runs from the card, where the card restore puts a copy of it: the drive dialog
# then starts on the card itself.
cp -r "$build/sample-card" "$run/card"
cp "$build/bin/SCENOVA.exe" "$run/card/"
settings() { "$top/scripts/wine" "$build/bin/scenova-cli.exe" settings "$(winpath "$run/card/DREC.INI")" 2>/dev/null | tr -d '\r'; }
before=$(settings)
start_viewer "$run/card/SCENOVA.exe"
found=""
found_named() { found=$(own_windows "$1" | head -n 1); [ -n "$found" ]; }

# 設定 → 本体設定...: the settings dialog, and over it the drive dialog.
open_menu alt+s
key "$window" s
wait_for 120 found_other 本体設定 || fail "the drive dialog did not appear"
browser=$other
wait_for 30 found_named '^本体設定$' || fail "the settings dialog is not up behind the drive dialog"
settings_dialog=$found
echo "e2e: drive dialog \"$(xdotool getwindowname "$browser")\" ($browser) over 本体設定 ($settings_dialog)"
# The card, where the program is, is selected.
wait_for 60 selected card || fail "the drive dialog did not select the card (${dialog:-no dialog})"
key "$browser" Return
browser_gone() { ! own_windows '.' | grep -qx "$browser"; }
wait_for 60 browser_gone || fail "the drive dialog did not close"
! found_named '^警告$' || fail "the card's FIRMINFO.DAT was not read"
import -window root "$shots/device-settings-opened.png"

# 標準 (0.45 G), then the threshold typed as 0.50 and the event buzzer set to 大 (標準, then one
# down). What they did is checked in DREC.INI below. Each key waits for what the one before it
# brought about: a key that reaches the dialog before its focus has moved goes to the control
# that had it.
step() {  # step WHAT CONDITION... KEY...: the keys, then the condition, which WHAT names
  local what=$1 condition=$2 argument=$3
  shift 3
  for k in "$@"; do key "$settings_dialog" "$k"; done
  wait_for 30 "$condition" "$argument" || fail "$what (the focus: ${focus:-none})"
}
step "標準 did not set 0.45 G" focus_text_is 0.45 alt+n alt+t
step "the threshold did not take 0.50" focus_text_is 0.50 ctrl+a 0 period 5 0
step "the event buzzer's list did not take the focus" focus_class_is ComboBox alt+e
step "Home did not choose 標準" focus_text_is 標準 Home
step "Down did not choose 大" focus_text_is 大 Down
import -window root "$shots/device-settings-changed.png"
key "$settings_dialog" Return

question=""
found_box() { question=$(own_windows "^$1\$" | head -n 1); [ -n "$question" ]; }
wait_for 60 found_box 確認 || fail "OK did not ask before writing"
key "$question" Return
wait_for 60 found_box 情報 || fail "writing did not report success"
key "$question" Return
dialog_gone() { [ -z "$(own_windows '^本体設定$')" ]; }
wait_for 60 dialog_gone || fail "the settings dialog did not close"

after=$(settings)
expected='{"records":[{"key":"0x0801","value":"0050FFFFFF"},{"key":"0x0802","value":"10FFFFFFFF"},{"key":"0x0803","value":"20FFFFFFFF"},{"key":"0x0804","value":"04FFFFFFFF"},{"key":"0x1801","value":"01FFFFFFFF"},{"key":"0x0301","value":"00FFFFFFFF"},{"key":"0x0304","value":"01FFFFFFFF"},{"key":"0x0811","value":"0012FFFFFF"},{"key":"0x0812","value":"0105FFFFFF"}],"threshold":50,"lateral":12,"angle":-5,"overwrite":1,"operationBuzzer":0,"eventBuzzer":1}'
if [ "$after" != "$expected" ]; then
  echo "e2e: DREC.INI before: $before" >&2
  fail "DREC.INI now reads $after"
fi
echo "e2e: DREC.INI before: $before"
echo "e2e: DREC.INI after:  $after"

[ "$(find "$run/card" -maxdepth 1 -type f | wc -l)" -eq 3 ] || fail "files left beside DREC.INI: $(ls "$run/card")"

# Nothing is loaded, so closing ends the program at once with exit code 0.
exit_viewer
echo "e2e: device settings written to the card"
