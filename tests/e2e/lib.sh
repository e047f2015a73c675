# Shared helpers for the end-to-end tests; source it from tests/e2e/*.sh.
#
# Each test gets a private Xvfb display, our own openbox configuration, private
# XDG folders and program folder, and a cleanup on exit that stops only the
# processes the test itself started and removes only its own temporary folder.
# Every wait has a time limit; a test also stops itself before CTest would kill
# it, so the cleanup always gets to run.
#
# Helpers that start processes must run in the test's main shell (not inside
# $(...)), or the process would not be recorded for the cleanup.

set -u -o pipefail

E2E_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
E2E_TMP=$(mktemp -d "${TMPDIR:-/tmp}/vistrel-e2e.XXXXXX") || {
    echo "FAIL: cannot create a temporary folder" >&2
    exit 1
}
E2E_PIDS=()       # processes started by this test, oldest first
E2E_LAST_PID=     # the one e2e_spawn started last
E2E_XVFB_PID=     # the latest Xvfb of this test
E2E_WM_PID=       # and its openbox
E2E_REMOVE=()     # files outside E2E_TMP that the cleanup removes

# Private XDG folders: the program under test must not touch the user's real
# autostart entry, settings or single-instance lock, and parallel tests must not
# see each other's lock.
export XDG_CONFIG_HOME="$E2E_TMP/config" XDG_CACHE_HOME="$E2E_TMP/cache"
export XDG_DATA_HOME="$E2E_TMP/data" XDG_RUNTIME_DIR="$E2E_TMP/runtime"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME" "$XDG_DATA_HOME"
mkdir -m 0700 "$XDG_RUNTIME_DIR"

# ---- reporting ---------------------------------------------------------------

check() { printf 'CHECK: %s\n' "$*"; }
note() { printf '  %s\n' "$*"; }
fail() {
    printf 'FAIL: %s\n' "$*" >&2
    exit 1
}
# skip: the test cannot run on this machine (CTest counts status 77 as skipped).
skip() {
    printf 'SKIP: %s\n' "$*" >&2
    exit 77
}

# ---- time --------------------------------------------------------------------

_e2e_now_ms() {
    local t=${EPOCHREALTIME/[.,]/}
    echo $((t / 1000))
}

# e2e_wait_until TIMEOUT_S COMMAND...: true once COMMAND succeeds, false when the
# time is up. TIMEOUT_S may have a fraction ("2.5").
e2e_wait_until() {
    local timeout=$1
    shift
    local deadline=$(($(_e2e_now_ms) + $(_e2e_seconds_to_ms "$timeout")))
    while :; do
        "$@" && return 0
        (($(_e2e_now_ms) >= deadline)) && return 1
        sleep 0.05
    done
}

# median NUMBER...: the middle value (the mean of the middle two for an even count).
median() {
    printf '%s\n' "$@" | sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'
}

_e2e_seconds_to_ms() {
    local whole=${1%%.*} fraction=
    [[ $1 == *.* ]] && fraction=${1#*.}
    fraction=${fraction}000
    echo $((10#${whole:-0} * 1000 + 10#${fraction:0:3}))
}

# ---- processes ---------------------------------------------------------------

# e2e_spawn COMMAND...: starts COMMAND in the background and records it for the
# cleanup; its pid is in E2E_LAST_PID. It also gets SIGTERM when this shell dies,
# should the shell be killed too hard to run its cleanup.
e2e_spawn() {
    if command -v setpriv >/dev/null; then
        setpriv --pdeathsig TERM -- "$@" &
    else
        "$@" &
    fi
    E2E_LAST_PID=$!
    E2E_PIDS+=("$E2E_LAST_PID")
}

# True while pid is a live child of this shell (and so not someone else's process
# that happens to have inherited a recycled pid).
_e2e_is_our_child() {
    local stat
    stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 1
    stat=${stat##*) }                       # skip "pid (name) "
    local fields=($stat)
    [[ ${fields[0]} != Z && ${fields[1]} == "$$" ]]
}

# e2e_stop PID [TIMEOUT_S]: SIGTERM, then SIGKILL after the time limit (default 3).
e2e_stop() {
    local pid=$1 timeout=${2:-3}
    _e2e_is_our_child "$pid" || return 0
    kill -TERM "$pid" 2>/dev/null
    if ! e2e_wait_until "$timeout" eval '! _e2e_is_our_child '"$pid"; then
        kill -KILL "$pid" 2>/dev/null
    fi
    wait "$pid" 2>/dev/null
    return 0
}

# wait_for_exit PID TIMEOUT_S: the process's exit status, or 124 when it is still
# running after the time limit (it is left running).
wait_for_exit() {
    local pid=$1 timeout=$2
    if ! e2e_wait_until "$timeout" eval '! _e2e_is_our_child '"$pid"; then
        return 124
    fi
    wait "$pid" 2>/dev/null
}

_e2e_cleanup() {
    local status=$?
    trap - EXIT INT TERM
    local i
    for ((i = ${#E2E_PIDS[@]} - 1; i >= 0; i--)); do
        e2e_stop "${E2E_PIDS[i]}" 2
    done
    rm -rf -- "$E2E_TMP"
    ((${#E2E_REMOVE[@]} == 0)) || rm -f -- "${E2E_REMOVE[@]}"
    exit "$status"
}
trap _e2e_cleanup EXIT
trap 'exit 130' INT
trap 'echo "FAIL: stopped (time limit or signal)" >&2; exit 143' TERM

# e2e_time_limit SECONDS: ends the test (with cleanup) when it runs this long.
# Called once by the test; keep it below the test's CTest TIMEOUT.
e2e_time_limit() {
    # The trap takes the sleep along when the watchdog itself is stopped.
    e2e_spawn bash -c 'trap "kill \$! 2>/dev/null; wait; exit 0" TERM
        sleep "$1" & wait $! && kill -TERM "$2"' watchdog "$1" "$$"
}

# ---- the X server and the window manager ------------------------------------

# e2e_start_xvfb [WxHxD] [Xvfb options...]: starts a private X server on a free
# display (default 1280x800x24) and points DISPLAY at it. Options such as
# "-extension MIT-SHM" are passed on. Fails the test if it does not come up.
e2e_start_xvfb() {
    local size=${1:-1280x800x24}
    [[ $# -gt 0 ]] && shift
    local fdfile="$E2E_TMP/xvfb-display.$RANDOM"
    : >"$fdfile"
    # -displayfd lets the server pick a free display and say which one when ready.
    e2e_spawn Xvfb -displayfd 3 -screen 0 "$size" -nolisten tcp -noreset "$@" \
        3>"$fdfile" 2>"$E2E_TMP/xvfb.log"
    E2E_XVFB_PID=$E2E_LAST_PID
    if ! e2e_wait_until 10 test -s "$fdfile"; then
        cat "$E2E_TMP/xvfb.log" >&2
        fail "Xvfb ($size $*) did not start within 10 s"
    fi
    local number
    number=$(tr -dc '0-9' <"$fdfile")
    [[ -n $number ]] || fail "Xvfb reported no display number"
    export DISPLAY=":$number"
    note "Xvfb $size $* on $DISPLAY"
}

# The script that starts an X server with two monitors (see e2e_start_two_monitors).
# The shared tools sit beside the checkout.
_e2e_shared_tool=$(cd "$E2E_DIR/../../.." && pwd)/shared/tools/two-monitor-display
[[ -r $_e2e_shared_tool ]] || _e2e_shared_tool=/work/shared/tools/two-monitor-display
E2E_TWO_MONITOR_DISPLAY=${E2E_TWO_MONITOR_DISPLAY:-$_e2e_shared_tool}

# e2e_start_two_monitors: instead of Xvfb, a real X server (Xorg with the dummy
# video driver, started by $E2E_TWO_MONITOR_DISPLAY) whose 3200x1080 screen RandR
# splits into two monitors side by side: 1920x1080 at (0,0) and 1280x1024 at
# (1920,0). Points DISPLAY at it; the cleanup and e2e_stop_xvfb stop it as they
# stop Xvfb. Needs the packages xserver-xorg-core and xserver-xorg-video-dummy
# (scripts/deps.sh --test); skips the test when not root or without that script.
e2e_start_two_monitors() {
    [[ -r $E2E_TWO_MONITOR_DISPLAY ]] || skip "no $E2E_TWO_MONITOR_DISPLAY (E2E_TWO_MONITOR_DISPLAY names it)"
    [[ $(id -u) -eq 0 ]] || skip "Xorg with the dummy driver needs root"
    e2e_need_tools Xorg xrandr xdpyinfo
    # shellcheck source=/dev/null
    source "$E2E_TWO_MONITOR_DISPLAY" >"$E2E_TMP/two-monitors.log" 2>&1
    [[ -n ${TWO_MONITOR_XORG_PID:-} ]] || fail "$E2E_TWO_MONITOR_DISPLAY started no X server"
    E2E_PIDS+=("$TWO_MONITOR_XORG_PID")
    E2E_XVFB_PID=$TWO_MONITOR_XORG_PID
    # Xorg keeps the file it finds there as .old.
    [[ -n ${_tm_log:-} ]] && E2E_REMOVE+=("$_tm_log" "$_tm_log.old")
    local monitors
    monitors=$(xrandr --listmonitors 2>&1)
    [[ $monitors == "Monitors: 2"* ]] ||
        fail "no two monitors on $DISPLAY: $monitors $(cat "$E2E_TMP/two-monitors.log")"
    note "Xorg with two monitors on $DISPLAY"
}

# monitor_geometry NAME: the RandR monitor's "X Y WIDTH HEIGHT" on $DISPLAY.
monitor_geometry() {
    local monitors
    monitors=$(xrandr --listmonitors)
    sed -n 's|^ *[0-9]*: [+*]*'"$1"' \([0-9]*\)/[0-9]*x\([0-9]*\)/[0-9]*+\([0-9]*\)+\([0-9]*\).*|\3 \4 \1 \2|p' <<<"$monitors"
}

# e2e_stop_xvfb: stops the latest Xvfb and its openbox; other programs on it
# lose their display.
e2e_stop_xvfb() {
    [[ -n $E2E_WM_PID ]] && e2e_stop "$E2E_WM_PID"
    [[ -n $E2E_XVFB_PID ]] && e2e_stop "$E2E_XVFB_PID"
    E2E_WM_PID= E2E_XVFB_PID=
}

_e2e_wm_running() {
    grep -q 'window id' <<<"$(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null)"
}

# e2e_start_openbox: openbox with tests/e2e/openbox-rc.xml on $DISPLAY.
e2e_start_openbox() {
    e2e_spawn openbox --config-file "$E2E_DIR/openbox-rc.xml" >"$E2E_TMP/openbox.log" 2>&1
    E2E_WM_PID=$E2E_LAST_PID
    e2e_wait_until 10 _e2e_wm_running || fail "openbox did not start within 10 s"
}

# ---- waiting for things ------------------------------------------------------

_e2e_find_window() {
    xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1
}

# window_shown NAME: true while a visible window's title matches NAME (a regular
# expression).
window_shown() { [[ -n $(_e2e_find_window "$1") ]]; }

# wait_for_window NAME TIMEOUT_S: prints the id of a visible window whose title
# matches NAME (a regular expression); fails the test after the time limit.
wait_for_window() {
    e2e_wait_until "$2" window_shown "$1" || fail "no window named '$1' within $2 s"
    _e2e_find_window "$1"
}

# wait_for_file PATH TIMEOUT_S: true once PATH exists and is not empty.
wait_for_file() {
    e2e_wait_until "$2" test -s "$1"
}

# trace_lines LOG PATTERN: how many lines of the program's trace match PATTERN.
trace_lines() { grep -c -- "$2" "$1"; }

_e2e_trace_reached() { (($(trace_lines "$1" "$2") >= $3)); }

# wait_for_trace LOG PATTERN COUNT TIMEOUT_S: true once COUNT lines of LOG match
# PATTERN. A check that something did not happen waits on such a line, which
# proves the program got past the point where it would have happened.
wait_for_trace() {
    e2e_wait_until "$4" _e2e_trace_reached "$1" "$2" "$3"
}

# hotkeys_caught_up LOG KEY ID: presses KEY, a hotkey of the program whose
# trace line is "hotkey ID", and waits for that line. X hands the program its
# key events in order, so every key pressed before has been dealt with by then;
# a check that such a key did nothing may follow. The caller undoes what KEY
# starts.
hotkeys_caught_up() {
    local before
    before=$(trace_lines "$1" "hotkey $3$")
    xdotool key "$2"
    wait_for_trace "$1" "hotkey $3$" $((before + 1)) 5 ||
        fail "the program did not answer $2 (trace: $(tail -n 3 "$1"))"
}

# ---- the program under test --------------------------------------------------

# e2e_need_tools TOOL...: fails the test unless every TOOL is installed.
e2e_need_tools() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null || fail "$tool is not installed (scripts/deps.sh --test)"
    done
}

# e2e_make_home: a fresh, empty program folder in VISTREL_HOME.
e2e_make_home() {
    VISTREL_HOME=$(mktemp -d "$E2E_TMP/home.XXXXXX") || fail "cannot create a program folder"
    export VISTREL_HOME
}

# ---- pictures ----------------------------------------------------------------

# show_picture FILE: makes FILE the root window's background, which is what the
# screen shows where no window is. Exact for 24-bit displays.
show_picture() {
    [[ -s $1 ]] || fail "show_picture: no picture '$1'"
    # display(1) exits once the background is set; its exit status is not reliable.
    timeout 20 display -window root "$1" >/dev/null 2>&1
    [[ $? -ne 124 ]] || fail "show_picture: display did not finish within 20 s"
}

# same_picture A B: true when the two images have no differing pixel.
same_picture() {
    local differing
    differing=$(compare -metric AE "$1" "$2" null: 2>&1)
    [[ $differing == 0 ]]
}

# pixel FILE X Y: the pixel's "R,G,B", 0 to 255 each.
pixel() {
    convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:
}

# differing_pixels A B [FUZZ%]: the number of pixels that differ (by more than FUZZ).
differing_pixels() {
    compare -metric AE ${3:+-fuzz "$3"} "$1" "$2" null: 2>&1
}

# ---- recordings --------------------------------------------------------------

# video_probe FILE ENTRIES: ffprobe's value(s) of the first video stream's
# ENTRIES ("width", "width,height", ...), one a line.
video_probe() {
    ffprobe -v error -select_streams v:0 -show_entries "stream=$2" -of default=nw=1:nk=1 "$1"
}
