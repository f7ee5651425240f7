#!/usr/bin/env bash
# scenova-cli on the generated sample card, checked with ordinary tools: the JSON of info,
# and the exported WAV and JPEGs opened by sox, file and ImageMagick. Exit codes and the
# staging of the output folder on bad input.
source "$(dirname "$0")/lib.sh"
# Evaluates a Python expression over the JSON in $work/stdout (bound to d).
check_json() {
    python3 - "$work/stdout" "$1" "$2" <<'PY' || exit 1
import json, sys
d = json.load(open(sys.argv[1], encoding="utf-8"))
if not eval(sys.argv[2]):
    print("FAIL:", sys.argv[3], "--", sys.argv[2], file=sys.stderr)
    sys.exit(1)
PY
}

# --- info on each kind of file
expect_status 0 info "$(win "$card/EVENT/EVT00001/Video.dvt")"
check_json 'd["format"] == "event" and d["recordKind"] == 1 and d["eventIndex"] == 360' "auto event at slot 360"
check_json 'd["slotCount"] == 900 and len(d["slots"]) == 900 and all(s is not None for s in d["slots"])' "900 filled slots"
check_json 'd["slots"][360]["eventMark"] == 1 and sum(s["eventMark"] for s in d["slots"]) == 1' "one event mark"
check_json 'max(s["g"][1] for s in d["slots"]) > 0.6' "the hard brake shows in the G values"
check_json 'd["firstTime"] <= d["recordTime"] <= d["lastTime"] and d["firstTime"] > 0' "times in order"
check_json 'd["soundSamples"] == 330750 and d["protect"] is False' "30 s of sound, not protected"
check_json 'list(d.keys())[:3] == ["format", "recordKind", "eventIndex"]' "fields in the documented order"

expect_status 0 info "$(win "$card/EVENT/EVT00002/Video.dvt")"
check_json 'd["recordKind"] == 2 and d["eventIndex"] == 360' "manual event"
expect_status 0 info "$(win "$card/EVENT/EVT00003/Video.dvt")"
check_json 'd["recordKind"] == 1 and d["protect"] is True' "protected auto event"

expect_status 0 info "$(win "$card/CONTINUE/CNT00001/Video0001.dmv")"
check_json 'd["format"] == "chapter" and d["recordKind"] == 12 and d["eventIndex"] == -1' "chapter"
check_json 'd["slotCount"] == 600 and d["soundSamples"] == 661500' "one minute at 10 slots a second"
check_json 'all(b["timeStamp"] - a["timeStamp"] == 100 for a, b in zip(d["slots"], d["slots"][1:]))' "100 ms apart"

expect_status 0 info "$(win "$card/IMAGE/IMG00001/IMG00007.dpc")"
check_json 'd["format"] == "image" and d["recordKind"] == 11 and d["slotCount"] == 1' "image file"
check_json '"soundSamples" not in d and d["slots"][0]["dateTime"] > 0' "no sound field for images"

# --- info on several paths: one array in the order given; a damaged one holds its error
mkdir -p "$work/cut" && head -c 40 "$card/EVENT/EVT00002/Video.dvt" >"$work/cut/Video.dvt"
expect_status 2 info "$(win "$card/EVENT/EVT00001/Video.dvt")" "$(win "$work/cut/Video.dvt")" "$(win "$card/IMAGE/IMG00001")"
check_json 'len(d) == 3 and d[0]["eventIndex"] == 360 and d[2]["counts"]["image"] == 36' "good paths read around the damaged one"
check_json 'd[1]["path"].endswith("cut\\Video.dvt") and d[1]["error"] != ""' "the damaged path holds its error"

# --- info on folders
expect_status 0 info "$(win "$card/EVENT/EVT00001")"
check_json 'd == {"counts": {"event": 1, "image": 0, "continuous": 0}}' "event folder"
expect_status 0 info "$(win "$card/CONTINUE/CNT00001")"
check_json 'd["counts"]["continuous"] == 3 and d["chapters"] == ["Video0000.dmv", "Video0001.dmv", "Video0002.dmv"]' "chapters in play order"
check_json 'd["totalSlots"] == 1450 and d["chaptersTruncated"] is False and "images" not in d' "chapter totals"
expect_status 0 info "$(win "$card/IMAGE/IMG00001")"
check_json 'd["counts"]["image"] == 36 and len(d["images"]) == 36 and d["imagesTruncated"] is False' "36 images"
check_json '[i["dateTime"] for i in d["images"]] == sorted(i["dateTime"] for i in d["images"])' "images in date order"
check_json 'd["images"][0]["name"] == "IMG00001.dpc" and "chapters" not in d' "image names"
expect_status 0 info "$(win "$card")"
check_json 'd == {"counts": {"event": 0, "image": 0, "continuous": 0}}' "card root holds no records"

# --- export of an event: WAV, JPEGs and CSV open in ordinary tools
out="$work/event"
expect_status 0 export "$(win "$card/EVENT/EVT00001/Video.dvt")" --out "$(win "$out")"
file -b "$out/sound.wav" | grep -q 'WAVE audio, Microsoft PCM, 8 bit, mono 11025 Hz' || fail "sound.wav: $(file -b "$out/sound.wav")"
[ "$(sox --i -s "$out/sound.wav")" = 330750 ] || fail "sound.wav holds $(sox --i -s "$out/sound.wav") samples"
sox "$out/sound.wav" -n stat 2>&1 | awk '/RMS +amplitude/ { exit !($3 > 0.02) }' || fail "sound.wav is silent"
[ "$(ls "$out/frames" | wc -l)" = 900 ] || fail "$(ls "$out/frames" | wc -l) frames exported"
for frame in 0000 0360 0899; do
    file -b "$out/frames/$frame.jpg" | grep -q 'JPEG image data.*640x480' || fail "frame $frame: $(file -b "$out/frames/$frame.jpg")"
    convert -regard-warnings "$out/frames/$frame.jpg" null: 2>"$work/convert" || fail "frame $frame does not decode: $(cat "$work/convert")"
done
cmp -s "$out/frames/0000.jpg" "$out/frames/0001.jpg" && fail "consecutive frames are identical"
[ "$(wc -l <"$out/telemetry.csv")" = 901 ] || fail "telemetry.csv has $(wc -l <"$out/telemetry.csv") lines"
head -1 "$out/telemetry.csv" | grep -q '^slot,seconds,dateTime,speed,gFirst,gSecond,gMagnitude,eventMark' || fail "CSV header"
grep -q '^360,12.000,[0-9]\{4\}-[0-9][0-9]-[0-9][0-9]T[0-9:]\{8\},[0-9]*,[-0-9.]*,[-0-9.]*,[0-9.]*,1' "$out/telemetry.csv" \
    || fail "event row: $(sed -n 362p "$out/telemetry.csv")"
ls -d "$work"/event.partial-* >/dev/null 2>&1 && fail "staging folder left behind"

# --- export of an image: one frame, no sound
out="$work/image"
expect_status 0 export --out "$(win "$out")" "$(win "$card/IMAGE/IMG00001/IMG00003.dpc")"
[ -f "$out/frames/0000.jpg" ] && [ ! -e "$out/sound.wav" ] || fail "image export: $(ls -R "$out")"
[ "$(wc -l <"$out/telemetry.csv")" = 2 ] || fail "image telemetry"

# --- bad arguments and unreadable input
expect_status 64 info
expect_status 64 export "$(win "$card/EVENT/EVT00001/Video.dvt")"
expect_status 64 export "$(win "$card/EVENT/EVT00001/Video.dvt")" --out
expect_status 64 info "$(win "$card/DREC.INI")"
grep -q usage "$work/stderr" || fail "no usage text"

mkdir -p "$work/broken"
head -c 20 "$card/EVENT/EVT00001/Video.dvt" >"$work/broken/Video.dvt"
expect_status 2 info "$(win "$work/broken/Video.dvt")"
grep -q '該当データを読み込めません。' "$work/stderr" || fail "message of an unreadable file: $(cat "$work/stderr")"
expect_status 2 export "$(win "$work/broken/Video.dvt")" --out "$(win "$work/broken-out")"
[ ! -e "$work/broken-out" ] || fail "a failed export left its folder"
ls -d "$work"/broken-out.partial-* >/dev/null 2>&1 && fail "a failed export left its staging folder"
expect_status 2 info "$(win "$work/missing/Video0001.dmv")"

# An occupied output folder is never overwritten.
mkdir -p "$work/occupied" && echo keep >"$work/occupied/notes.txt"
expect_status 64 export "$(win "$card/EVENT/EVT00002/Video.dvt")" --out "$(win "$work/occupied")"
[ "$(ls "$work/occupied")" = notes.txt ] || fail "the occupied folder was changed"

# A path beyond the 260-character limit is refused, not cut short.
long="$work/$(printf 'd%.0s' $(seq 1 250))"
mkdir -p "$long" && cp "$card/EVENT/EVT00001/Video.dvt" "$long/"
expect_status 2 info "$(win "$long/Video.dvt")"
echo "scenova-cli on the sample card: all checks passed"
