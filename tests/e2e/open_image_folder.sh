#!/usr/bin/env bash
# End to end: SCENOVA.exe opens the sample card's image folder through the real folder dialog
# (driven with xdotool as a user would with the keyboard), fills the thumbnail strip and shows
# the earliest picture with the caption "画像記録表示モード <folder> - SCENOVA"; a click on a
# later thumbnail shows that picture instead, and the info panel and the speed meter change to
# that record's date, time and speed as scenova-cli info reads them from the folder.
source "$(dirname "$0")/lib.sh"
[ -d "$build/sample-card/IMAGE/IMG00001" ] || { echo "e2e: the sample card is not built" >&2; exit 1; }
e2e_begin image

# The folder dialog starts in the program's folder: the card goes beside the program.
cp "$build/bin/SCENOVA.exe" "$run/"
cp -r "$build/sample-card" "$run/"
folder="$run/sample-card/IMAGE/IMG00001"
start_viewer "$run/SCENOVA.exe"

# ファイル → 開く...: 画像記録 in the kind list, then down the tree: sample-card, IMAGE (after
# CONTINUE and EVENT), IMG00001.
open_folder_dialog "$(basename "$run")"
browser=$other
echo "e2e: folder dialog \"$(xdotool getwindowname "$browser")\" ($browser)"
choose_kind "$browser" 1
walk_folder_tree "$browser" "$(basename "$run")" "Right Down:sample-card" "Right Down Down Down:IMAGE" "Right Down:IMG00001"
import -window root "$shots/image-folder-dialog.png"
key "$browser" Return

expected="画像記録表示モード $(winpath "$folder") - SCENOVA"
# The caption names the folder once the strip is done and its first picture shown.
wait_for 60 caption_is "$expected" || fail "caption is \"$caption\", not \"$expected\""

# What the panels must show for the strip's item N, from the folder's images in date order as
# scenova-cli reads them: "DATE TIME" and "SPEED km/h" (the viewer's local time, as here).
"$top/scripts/wine" "$build/bin/scenova-cli.exe" info "$(winpath "$folder")" </dev/null >"$run/images.json" 2>/dev/null ||
  fail "scenova-cli info failed on the image folder"
record_texts() {
  env -u TZ /usr/bin/python3 - "$run/images.json" "$1" <<'PY'
import json, sys, time
image = json.load(open(sys.argv[1]))["images"][int(sys.argv[2])]
when = image["dateTime"]
print(time.strftime("%Y/%m/%d %H:%M:%S", time.localtime(when)) if when != 0 else "----/--/-- --:--:--")
print("%s km/h" % ("-" if image["speed"] < 0 else min(image["speed"], 999)))
PY
}
panels=""
panels_show() {  # panels_show N: the info panel and the speed meter show item N's record
  panels=$(probe panels "$program" | tr -d '\r')
  [ -n "$panels" ] || return 1
  local line
  while read -r line; do grep -qxF "$line" <<<"$panels" || return 1; done < <(record_texts "$1")
}
wait_for 30 panels_show 0 || fail "the panels show \"${panels//$'\n'/ | }\", not the first record's $(record_texts 0 | paste -sd '|')"

# Where things are on the screen: the client area is the window less its frame, caption and
# menu; the strip is its bottom 90 pixels, the list of thumbnails 644 pixels wide in its middle.
eval "$(xdotool getwindowgeometry --shell "$window")"
client_left=$((X + ${FRAME_LEFT:-5}))
client_bottom=$((Y + HEIGHT - ${FRAME_BOTTOM:-5}))
list_left=$((client_left + (WIDTH - 2 * ${FRAME_LEFT:-5}) / 2 - 322))
strip_top=$((client_bottom - 90))
picture_crop="400x250+$((X + WIDTH / 2 - 200))+$((Y + 120))"
strip_crop="600x60+$((list_left + 20))+$((strip_top + 6))"
spread() { convert "$1" -crop "$2" +repage -colorspace Gray -format '%[fx:standard_deviation]' info:; }
picture="" thumbs=""
# A picture in the picture area and thumbnails in the strip: neither is one plain colour.
shown() {
  import -window root "$shots/image-first.png"
  picture=$(spread "$shots/image-first.png" "$picture_crop")
  thumbs=$(spread "$shots/image-first.png" "$strip_crop")
  awk -v p="$picture" -v t="$thumbs" 'BEGIN { exit !(p > 0.03 && t > 0.03) }'
}
wait_for 30 shown || fail "no picture (spread $picture) or no thumbnails (spread $thumbs)"

# A click on the fourth thumbnail shows its picture, and the panels its record.
xdotool mousemove $((list_left + 3 * ${THUMB_PITCH:-114} + 56)) $((strip_top + 2 + 30)) click 1
changed() {
  import -window root "$shots/image-chosen.png"
  local d
  d=$(compare -metric AE -crop "$picture_crop" "$shots/image-first.png" "$shots/image-chosen.png" null: 2>&1 || true)
  awk -v d="$d" 'BEGIN { exit !(d > 1000) }'
}
wait_for 30 changed || fail "the picture did not change after a click on a later thumbnail"
wait_for 30 panels_show 3 || fail "the panels show \"${panels//$'\n'/ | }\", not the fourth record's $(record_texts 3 | paste -sd '|')"
echo "e2e: the panels show ${panels//$'\n'/ | }"
caption_is "$expected" || fail "the caption changed to \"$caption\""

# A folder is loaded, so closing asks; OK ends the program with exit code 0.
exit_viewer asks
echo "e2e: image folder opened, a later thumbnail chosen, closed"
