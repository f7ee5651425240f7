#!/usr/bin/env bash
# scenova-cli's record.avi on the generated sample card, checked with ffprobe, ffmpeg and
# sox as a player would meet it: streams, frame counts and duration, a clean decode, the
# event chime in step with the event frame, every good frame of a cut record, the joined
# video of a continuous folder, the refused non-continuous folder and the overlay.
source "$(dirname "$0")/lib.sh"
probe() { ffprobe -v error -count_packets -of default=nw=1 "$@"; }
# Checks one video: codec, rate, frame count and duration (within one frame), sound stream.
check_video() {
    local avi="$1" rate="$2" frames="$3"
    [ "$(probe -select_streams v -show_entries stream=codec_name,r_frame_rate,nb_read_packets "$avi" | tr '\n' ' ')" \
        = "codec_name=mjpeg r_frame_rate=$rate/1 nb_read_packets=$frames " ] \
        || fail "$avi video: $(probe -select_streams v -show_entries stream=codec_name,r_frame_rate,nb_read_packets "$avi")"
    [ "$(probe -select_streams a -show_entries stream=codec_name,sample_rate,channels "$avi" | tr '\n' ' ')" \
        = "codec_name=pcm_u8 sample_rate=11025 channels=1 " ] || fail "$avi sound stream"
    [ "$(ffprobe -v error -show_entries stream=index -of csv=p=0 "$avi" | wc -l)" = 2 ] || fail "$avi: not two streams"
    local duration samples
    duration=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$avi")
    samples=$(ffmpeg -v error -i "$avi" -map 0:a -f u8 - | wc -c)
    python3 -c "import sys; d, s, n, r = map(float, sys.argv[1:]); sys.exit(not (abs(d - n / r) <= 1 / r and abs(s / 11025 - n / r) <= 1 / r))" \
        "$duration" "$samples" "$frames" "$rate" || fail "$avi lasts $duration s with $samples samples for $frames frames at $rate"
    ffmpeg -v error -i "$avi" -f null - >"$work/decode" 2>&1 || fail "$avi does not decode"
    [ ! -s "$work/decode" ] || fail "$avi decodes with messages: $(head -3 "$work/decode")"
}

# --- an event record: 900 slots at 30 a second
expect_status 0 info "$(win "$card/EVENT/EVT00001/Video.dvt")"
event_index=$(python3 -c 'import json,sys; print(json.load(open(sys.argv[1]))["eventIndex"])' "$work/stdout")
expect_status 0 export "$(win "$card/EVENT/EVT00001/Video.dvt")" --out "$(win "$work/event")"
check_video "$work/event/record.avi" 30 900
cmp -s <(ffmpeg -v error -i "$work/event/record.avi" -map 0:a -f u8 -) <(tail -c +45 "$work/event/sound.wav") \
    || fail "the video's sound is not the record's"

# The chime in step: the first 1/30 s window whose sound above 1.2 kHz (the bell; the
# engine stays below) is eight times the record's median is the event frame, give or take one.
ffmpeg -v error -i "$work/event/record.avi" -map 0:a -f wav "$work/event-sound.wav"
sox "$work/event-sound.wav" -t f32 -c 1 "$work/bell.f32" highpass 1200 highpass 1200
chime=$(python3 - "$work/bell.f32" <<'PY'
import math, statistics, struct, sys
data = open(sys.argv[1], "rb").read()
x = struct.unpack("<%df" % (len(data) // 4), data)
per_frame = 11025 / 30
rms = [math.sqrt(sum(v * v for v in x[int(i * per_frame):int((i + 1) * per_frame)]) / per_frame)
       for i in range(int(len(x) / per_frame))]
floor = statistics.median(rms)
print(next(i for i, r in enumerate(rms) if r > 8 * floor))
PY
)
[ $((chime - event_index)) -ge -1 ] && [ $((chime - event_index)) -le 1 ] \
    || fail "the chime starts at frame $chime, the event frame is $event_index"

# --- a cut record: every frame that still decodes is in the video, in its own slot
mkdir -p "$work/cut"
size=$(stat -c %s "$card/EVENT/EVT00002/Video.dvt")
head -c $((size * 6 / 10)) "$card/EVENT/EVT00002/Video.dvt" >"$work/cut/Video.dvt"
expect_status 0 info "$(win "$work/cut/Video.dvt")"
slots=$(python3 -c 'import json,sys; print(json.load(open(sys.argv[1]))["slotCount"])' "$work/stdout")
[ "$slots" -gt 100 ] && [ "$slots" -lt 900 ] || fail "the cut record has $slots slots"
expect_status 0 export "$(win "$work/cut/Video.dvt")" --out "$(win "$work/cut-out")"
check_video "$work/cut-out/record.avi" 30 "$slots"
mkdir -p "$work/packets"
ffmpeg -v error -i "$work/cut-out/record.avi" -map 0:v -c copy -f image2 "$work/packets/%04d.jpg"
diff <(md5sum "$work"/packets/*.jpg | cut -d' ' -f1 | sort -u) <(md5sum "$work"/cut-out/frames/*.jpg | cut -d' ' -f1 | sort -u) \
    >/dev/null || fail "the video's frames are not the record's good frames"

# --- a continuous folder: each chapter on its own, and all of them joined
expect_status 0 export "$(win "$card/CONTINUE/CNT00001")" --out "$(win "$work/drive")"
check_video "$work/drive/record.avi" 10 1450
for chapter in Video0000 Video0001 Video0002; do
    for f in sound.wav telemetry.csv record.avi frames/0000.jpg; do
        [ -f "$work/drive/$chapter/$f" ] || fail "$chapter/$f missing"
    done
done
check_video "$work/drive/Video0002/record.avi" 10 250
[ "$(wc -l <"$work/drive/telemetry.csv")" = 1451 ] || fail "joined telemetry.csv has $(wc -l <"$work/drive/telemetry.csv") lines"
grep -q '^1449,144.900,' "$work/drive/telemetry.csv" || fail "joined telemetry rows are not numbered on"
ls -d "$work"/drive.partial-* >/dev/null 2>&1 && fail "staging folder left behind"

# --- a folder that is not a continuous folder is refused
expect_status 2 export "$(win "$card/EVENT/EVT00001")" --out "$(win "$work/refused")"
grep -q 'not a continuous record folder' "$work/stderr" || fail "no clear message: $(cat "$work/stderr")"
[ ! -e "$work/refused" ] || fail "a refused export left a folder"
mkdir -p "$work/unreadable"
head -c 20 "$card/CONTINUE/CNT00001/Video0000.dmv" >"$work/unreadable/Video0000.dmv"
expect_status 2 export "$(win "$work/unreadable")" --out "$(win "$work/unreadable-out")"
grep -q '該当データを読み込めません。' "$work/stderr" || fail "no chapter readable: $(cat "$work/stderr")"
[ ! -e "$work/unreadable-out" ] || fail "an export of nothing left a folder"

# --- the overlay: the same timeline, the picture kept above the band
expect_status 0 export "$(win "$card/EVENT/EVT00001/Video.dvt")" --out "$(win "$work/overlay")" --overlay
check_video "$work/overlay/record.avi" 30 900
for video in event overlay; do
    ffmpeg -v error -i "$work/$video/record.avi" -vf "select=eq(n\,360)" -frames:v 1 "$work/$video-360.png"
done
# PSNR of one region of frame 360 with and without the overlay.
psnr() {
    convert "$work/event-360.png" -crop "$1" +repage "$work/plain-region.png"
    convert "$work/overlay-360.png" -crop "$1" +repage "$work/overlay-region.png"
    compare -metric PSNR "$work/plain-region.png" "$work/overlay-region.png" null: 2>&1 || true
}
above=$(psnr 640x440+0+0)
band=$(psnr 640x30+0+450)
python3 -c "import sys; sys.exit(not (float(sys.argv[1]) > 33 and float(sys.argv[2]) < 20))" "$above" "$band" \
    || fail "overlay: PSNR above the band $above dB, in the band $band dB"
echo "record.avi on the sample card: all checks passed"
