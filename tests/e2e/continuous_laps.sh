#!/usr/bin/env bash
# End to end: SCENOVA.exe opens the sample card's continuous folder, plays it, and the user
# measures with the stopwatch: START, a lap, the next chapter, two more laps, STOP, LAP LIST
# (clicks through xdotool). The laps the LAP LIST shows must be ones the record's own rows
# give (read through scenova-cli info), one of them over the chapter change.
# Runs on a virtual display of its own. Needs SCENOVA_BUILD_DIR and SCENOVA_SOURCE_DIR (CTest).
source "$(dirname "$0")/lib.sh"
card="$build/sample-card/CONTINUE/CNT00001"
[ -d "$card" ] || { echo "e2e: the sample card is not built" >&2; exit 1; }
skin="$top/resources/skin"
reader() { /usr/bin/python3 "$top/tests/e2e/skin_screen.py" "$skin" "$@"; }
e2e_begin laps
shot="$run/shot.png"
snap() { import -window root "$shot"; }

# The folder dialog starts in the program's folder: with the program inside a copy of the
# continuous folder, OK opens that folder.
folder_dir="$run/CNT00001"
cp -r "$card" "$folder_dir"
cp "$build/bin/SCENOVA.exe" "$folder_dir/"
start_viewer "$folder_dir/SCENOVA.exe"

# ファイル → 開く..., then OK once the dialog has selected the folder it starts in.
open_folder_dialog CNT00001
key "$other" Return
expected="連続記録表示モード $(winpath "$folder_dir") - SCENOVA"
wait_for 60 caption_is "$expected" || fail "caption is \"$caption\", not \"$expected\""
echo "e2e: $expected"

# Where the panels are: found by their own pictures.
panels=""
found_panels() { snap && panels=$(reader "$shot" locate 2>/dev/null); }
wait_for 30 found_panels || fail "console and stopwatch not found on the screen"
read -r cx cy sx sy <<<"$panels"
click() { xdotool mousemove "$1" "$2" click 1; }
shows() { snap && reader "$shot" shows "$@"; }
button_x=$((sx + 45 + 46))
start_stop_y=$((sy + 203 + 11))
lap_y=$((sy + 238 + 11))
lap_list_y=$((sy + 273 + 11))
lines() { snap && reader "$shot" stopwatch "$sx" "$sy"; }
measuring() { [[ "$(lines | sed -n 1p)" =~ ^[0-9] ]]; }

wait_for 30 shows 106 $((sx + 45)) $((sy + 203)) || fail "START/STOP is not enabled while playing"
click "$button_x" "$start_stop_y"                       # START
wait_for 15 measuring || fail "START did not start a measurement"
sleep 1.5                                               # the first lap lasts a while
click "$button_x" "$lap_y"                              # LAP 1
click $((cx + 38 + 11)) $((cy + 4 + 11))                # next chapter, playing on
# The chapter has loaded when the previous-chapter button and LAP/RESET are enabled again.
wait_for 30 shows 10003 $((cx + 13)) $((cy + 4)) || fail "the next chapter did not load"
wait_for 30 shows 107 $((sx + 45)) $((sy + 238)) || fail "LAP/RESET stayed disabled after the chapter change"
sleep 1.2
click "$button_x" "$lap_y"                              # LAP 2, over the chapter change
sleep 0.8
click "$button_x" "$lap_y"                              # LAP 3
sleep 1.0
click "$button_x" "$start_stop_y"                       # STOP: the rest is lap 4
stopped() { [[ "$(lines | tail -n 1)" =~ [0-9] ]] && ! shows 106 $((sx + 45)) $((sy + 203)); }
wait_for 15 stopped || fail "STOP did not end the measurement"
readouts=$(lines)
echo "e2e: stopwatch shows:"; echo "$readouts" | sed 's/^/e2e:   /'
cp "$shot" "$shots/laps-stopwatch.png"

click "$button_x" "$lap_list_y"                         # LAP LIST
list_open() { [ -n "$(own_windows '^LAP LIST$')" ]; }
wait_for 15 list_open || fail "the LAP LIST did not open"
listed=""
read_list() { snap && listed=$(reader "$shot" laplist 2>/dev/null); }
wait_for 15 read_list || { reader "$shot" laplist || true; fail "the LAP LIST could not be read"; }
cp "$shot" "$shots/laps-lap-list.png"
echo "e2e: LAP LIST: $listed"
echo "$listed" >"$run/laps.json"
laps=$(/usr/bin/python3 -c 'import json,sys; print(len(json.load(open(sys.argv[1]))["laps"]))' "$run/laps.json")
[ "$laps" -eq 4 ] || fail "the LAP LIST shows $laps laps, not 4"

# The list's last lap and total are what the stopwatch shows.
last=$(/usr/bin/python3 - "$run/laps.json" <<'PY'
import json, sys
d = json.load(open(sys.argv[1]))
def text(t):
    return "%02d\u2032 %02d\u2033 %d" % (t // 600, t // 10 % 60, t % 10)
print(text(d["total"]["tenths"])); print(text(d["laps"][-1]["tenths"])); print("%3d" % d["laps"][-1]["speed"])
PY
)
[ "$last" = "$readouts" ] || fail "the stopwatch shows \"$readouts\", the list \"$last\""

# The record's own telemetry: which positions give these laps.
for chapter in Video0000 Video0001; do
  "$top/scripts/wine" "$build/bin/scenova-cli.exe" info "$(winpath "$folder_dir/$chapter.dmv")" \
    </dev/null >"$run/$chapter.json" 2>/dev/null || fail "scenova-cli info $chapter failed"
done
reader "$run/Video0000.json" "$run/Video0001.json" --check "$run/laps.json" | sed 's/^/e2e: /' ||
  fail "the laps shown are not the record's"

kill "$viewer" 2>/dev/null || true
wait "$viewer" 2>/dev/null || true
viewer=""
echo "e2e: laps measured over a chapter change agree with the record"
