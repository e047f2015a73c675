#!/bin/bash
# Recordings from the command line on a private X server, checked with ffprobe:
# the listed compressors, refused requests that write nothing, a full-screen
# recording that keeps real time, an area with every compressor (exact pixels
# for the lossless ones), a still screen, the end by a signal, a kill -9 that
# leaves a playable file, names that never replace a file, and a recording
# whose folder is removed meanwhile reported as failed.
# Usage: test_record.sh /path/to/vistrel

source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_time_limit 200

VISTREL=${1:-}
[[ -x $VISTREL ]] || fail "usage: $0 /path/to/vistrel"
ANIMATOR=$(dirname "$VISTREL")/tests/bench/screen_animator
[[ -x $ANIMATOR ]] || fail "no screen animator at $ANIMATOR (build first)"
e2e_need_tools ffprobe
W=$E2E_TMP

e2e_start_xvfb 800x600x24
e2e_make_home
AVI=$VISTREL_HOME/Capture/AVI
number() { "$VISTREL" --print-settings | sed -n 's/.*"m_nAviNumber": \(-\?[0-9]*\).*/\1/p'; }
frames() { video_probe "$1" nb_frames; }
# near A B TOLERANCE: |A - B| <= TOLERANCE
near() { local d=$(($1 - $2)); ((d < 0)) && d=$((-d)); ((d <= $3)); }
decodes() { local out; out=$(ffmpeg -v error -nostdin -i "$1" -f null - 2>&1) && [[ -z $out ]]; }

check "--list-codecs: FourCC, a tab, the description; never DIVX or IV50"
"$VISTREL" --list-codecs >"$W/codecs" || fail "--list-codecs failed"
cat "$W/codecs" | sed 's/^/    /'
grep -qvP '^.{4}\t.+$' "$W/codecs" && fail "a line is not FOURCC<tab>description"
for code in MSVC XVID MJPG ZMBV FFV1 ULRG HFYU "DIB "; do
    grep -q "^$code"$'\t' "$W/codecs" || fail "$code is not listed"
done
grep -qE '^(DIVX|IV50)' "$W/codecs" && fail "DIVX or IV50 listed"
mapfile -t CODES < <(cut -f1 "$W/codecs")

check "refused requests exit 2 and write nothing"
for args in "fullscreen --codec NOPE" "fullscreen --codec DIVX" "fullscreen --rate 0" "fullscreen --rate 201" \
    "area 0 0 0 5" "area 10 10 5 -5" "area 800 0 10 10" "area -50 -50 20 20" "area 0 0 1x 5" \
    "fullscreen --seconds 0" "fullscreen --seconds nan" "fullscreen --quality 101" "window" \
    "area 0 0 10 10 --seconds 1 junk" "fullscreen --rate 5 0"; do
    # shellcheck disable=SC2086
    "$VISTREL" --record $args >"$W/out" 2>"$W/err"
    status=$?
    [[ $status == 2 ]] || fail "--record $args: status $status, expected 2"
    [[ -s $W/err && ! -s $W/out ]] || fail "--record $args: no message, or output"
done
"$VISTREL" --seconds 5 >/dev/null 2>&1 && fail "--seconds without --record accepted"
[[ $(ls "$AVI" 2>/dev/null | wc -l) == 0 ]] || fail "a refused request left a file: $(ls "$AVI")"
[[ $(number) == 0 ]] || fail "a refused request used up a number"

check "lossless compressors record the area's exact pixels (DIB bottom-up as a DIB is)"
convert -size 800x600 plasma:fractal -fill white -draw 'rectangle 40,40 120,90' -depth 8 "$W/screen.png"
show_picture "$W/screen.png"
xdotool mousemove 790 590
convert "$W/screen.png" -crop 101x75+30+20 +repage "$W/crop.png"
for code in "DIB " FFV1 ULRG HFYU ZMBV; do
    grep -q "^$code"$'\t' "$W/codecs" || continue
    path=$("$VISTREL" --record area 30 20 101 75 --seconds 0.3 --codec "$code") || fail "$code recording failed"
    ffmpeg -v error -nostdin -i "$path" -frames:v 1 -y "$W/frame.png" || fail "$code: cannot decode $path"
    [[ $(identify -format '%wx%h' "$W/frame.png") == 101x75 ]] || fail "$code frame is $(identify -format '%wx%h' "$W/frame.png")"
    same_picture "$W/frame.png" "$W/crop.png" || fail "$code: $(differing_pixels "$W/frame.png" "$W/crop.png") pixels differ"
done

check "a still screen is grabbed only every key-frame distance, and the file still keeps time"
VISTREL_TRACE=1 "$VISTREL" --record area 0 0 320 200 --seconds 3 >"$W/out" 2>"$W/trace" || fail "still recording failed"
path=$(cat "$W/out")
grep 'recording ' "$W/trace" | sed 's/^/    /'
n=$(frames "$path")
near "$n" 60 1 || fail "still recording: $n frames for 3 s"
grabs=$(sed -n 's/.* \([0-9]*\) grabs.*/\1/p' "$W/trace")
((grabs >= 3 && grabs <= 8)) || fail "still recording: $grabs grabs (expected one a second and the last)"
decodes "$path" || fail "still recording does not decode"

e2e_spawn "$ANIMATOR" 50 >"$W/animator.out"
e2e_wait_until 10 grep -q ready "$W/animator.out" || fail "the screen animator did not start"

check "a 5-second full-screen recording: 800x600, the default compressor, 20 frames a second, 100 frames"
before=$(number)
path=$(VISTREL_TRACE=1 "$VISTREL" --record fullscreen --seconds 5 2>"$W/trace") || fail "recording failed: $(cat "$W/trace")"
grep 'recording ' "$W/trace" | sed 's/^/    /'
[[ $path == "$AVI/$(printf 'Clip%03d.avi' "$before")" ]] || fail "the recording is '$path'"
[[ $(number) == $((before + 1)) ]] || fail "the stored number did not move"
[[ $(video_probe "$path" width),$(video_probe "$path" height) == 800,600 ]] ||
    fail "size $(video_probe "$path" width)x$(video_probe "$path" height)"
[[ $(video_probe "$path" codec_name) == mpeg4 && $(video_probe "$path" codec_tag_string) == XVID ]] ||
    fail "codec $(video_probe "$path" codec_name)"
[[ $(video_probe "$path" r_frame_rate) == 20/1 ]] || fail "rate $(video_probe "$path" r_frame_rate)"
n=$(frames "$path")
near "$n" 100 1 || fail "$n frames for 5 s at 20 frames a second"
decodes "$path" || fail "the recording does not decode"

check "an area with every listed compressor: its codec, size (rounded where it must be), 20 frames a second"
declare -A CODEC=([MSVC]=msvideo1 [XVID]=mpeg4 [MJPG]=mjpeg [H264]=h264 [ZMBV]=zmbv [FFV1]=ffv1 [ULRG]=utvideo
    [HFYU]=huffyuv ["DIB "]=rawvideo)
for code in "${CODES[@]}"; do
    path=$("$VISTREL" --record area 10 10 101 75 --seconds 2 --codec "$code" 2>"$W/err") ||
        fail "$code: $(cat "$W/err")"
    size=$(video_probe "$path" width)x$(video_probe "$path" height)
    name=$(video_probe "$path" codec_name)
    n=$(frames "$path")
    note "$code: $name $size, $n frames, $(stat -c %s "$path") bytes"
    [[ $name == "${CODEC[$code]}" ]] || fail "$code wrote $name"
    [[ $code == "DIB " || $(video_probe "$path" codec_tag_string) == "$code" ]] ||
        fail "$code: tag $(video_probe "$path" codec_tag_string)"
    case $code in
    MSVC) [[ $size == 104x76 ]] || fail "MSVC takes multiples of 4 only, yet the size is $size" ;;
    *) [[ $size == 101x75 || $size == 102x76 ]] || fail "$code: size $size" ;;
    esac
    near "$n" 40 1 || fail "$code: $n frames for 2 s"
    [[ $(video_probe "$path" r_frame_rate) == 20/1 ]] || fail "$code: rate"
    decodes "$path" || fail "$code: does not decode"
done

check "SIGINT and SIGTERM end a recording cleanly, with its path printed"
for signal in INT TERM; do
    e2e_spawn "$VISTREL" --record area 0 0 200 150 >"$W/out.$signal" 2>"$W/err"
    pid=$E2E_LAST_PID
    sleep 2
    kill -"$signal" "$pid"
    wait_for_exit "$pid" 5
    status=$?
    [[ $status == 0 ]] || fail "SIG$signal: status $status: $(cat "$W/err")"
    path=$(cat "$W/out.$signal")
    [[ -s $path ]] || fail "SIG$signal: no path printed"
    n=$(frames "$path")
    near "$n" 40 4 || fail "SIG$signal: $n frames after about 2 s"
    decodes "$path" || fail "SIG$signal: does not decode"
done

check "kill -9 in the middle leaves a file that decodes up to its last second"
e2e_spawn "$VISTREL" --record fullscreen --codec MJPG >/dev/null 2>&1
pid=$E2E_LAST_PID
sleep 3.5
kill -KILL "$pid"
wait "$pid" 2>/dev/null
path=$(ls -t "$AVI"/*.avi | head -n 1)
decodes "$path" || fail "the killed recording does not decode"
last=$(ffprobe -v error -select_streams v:0 -show_entries packet=pts_time -of csv=p=0 "$path" | tail -n 1)
duration=$(video_probe "$path" duration)
note "killed after 3.5 s: last frame at $last s, header says $duration s"
(($(echo "$last >= 2.4" | bc -l))) || fail "the killed recording ends at $last s"
(($(echo "$duration >= 2.4" | bc -l))) || fail "the killed recording's header says $duration s"

check "a taken name is skipped and the file there kept as it was"
n=$(number)
next="$AVI/$(printf 'Clip%03d.avi' "$n")"
echo "keep me" >"$next"
path=$("$VISTREL" --record area 0 0 64 64 --seconds 0.2) || fail "recording failed"
[[ $path == "$AVI/$(printf 'Clip%03d.avi' $((n + 1)))" ]] || fail "recorded into '$path'"
[[ $(cat "$next") == "keep me" ]] || fail "the file under the taken name was changed"

check "an AVI folder removed while recording: status 1, the reason, no path printed"
"$VISTREL" --set "m_strAviPath=$W/gone" || fail "--set m_strAviPath failed"
mkdir -p "$W/gone"
e2e_spawn "$VISTREL" --record area 0 0 64 64 >"$W/out.gone" 2>"$W/err.gone"
pid=$E2E_LAST_PID
e2e_wait_until 10 eval '[[ -n $(find "$W/gone" -name "*.avi" -size +0) ]]' || fail "the recording did not start"
rm -rf "$W/gone"
kill -INT "$pid"
wait_for_exit "$pid" 10
status=$?
[[ $status == 1 ]] || fail "status $status: $(cat "$W/err.gone")"
[[ ! -s $W/out.gone ]] || fail "printed '$(cat "$W/out.gone")'"
grep -q "is gone" "$W/err.gone" || fail "no reason given: $(cat "$W/err.gone")"

echo "PASS"
