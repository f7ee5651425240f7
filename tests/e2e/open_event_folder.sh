#!/usr/bin/env bash
# End to end: SCENOVA.exe opens the sample card's first event record through the real folder
# dialog (driven with xdotool as a user would with the keyboard), plays it, and shows a moving
# picture and the caption "イベント記録表示モード <folder> - SCENOVA"; closing asks first and
# ends the program with exit code 0.
# Every key is followed by a wait for what it must bring about (scenova-probe reads the
# folder dialog's selection and focus), so a slow machine only makes it slower.
source "$(dirname "$0")/lib.sh"
[ -d "$build/sample-card/EVENT/EVT00001" ] || { echo "e2e: the sample card is not built" >&2; exit 1; }
e2e_begin event

# The folder dialog starts in the program's folder: the card goes beside the program.
cp "$build/bin/SCENOVA.exe" "$run/"
cp -r "$build/sample-card" "$run/"
start_viewer "$run/SCENOVA.exe"

# ファイル → 開く...
open_folder_dialog "$(basename "$run")"
browser=$other
echo "e2e: folder dialog \"$(xdotool getwindowname "$browser")\" ($browser)"
walk_folder_tree "$browser" "$(basename "$run")" "Right Down:sample-card" "Right Down Down:EVENT" "Right Down:EVT00001"
import -window root "$shots/folder-dialog.png"
key "$browser" Return

expected="イベント記録表示モード $(winpath "$run/sample-card/EVENT/EVT00001") - SCENOVA"
wait_for 30 caption_is "$expected" || fail "caption is \"$caption\", not \"$expected\""

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

# A record is loaded, so closing asks; OK ends the program with exit code 0.
exit_viewer asks
echo "e2e: event folder opened, played and closed"
