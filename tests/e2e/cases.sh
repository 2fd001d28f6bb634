#!/usr/bin/env bash
# cases.sh CASE: one end-to-end case, run by with_xvfb.sh against a fresh
# Xvfb. Needs LUMIVORTEX, FILL_APP and X11PROBE (paths of the programs).
set -euo pipefail

# shellcheck source=e2e_common.sh
source "$(dirname "${BASH_SOURCE[0]}")/e2e_common.sh"

# start NAME COMMAND...: runs COMMAND in the background, output in NAME.out/.err.
start() {
    local name=$1
    shift
    "$@" >"$work/$name.out" 2>"$work/$name.err" &
    last_pid=$!
    started+=("$last_pid")
}


# ended PID [COMMAND...]: the process is no longer running. While it runs,
# COMMAND (typing its key) is repeated: a key release that lands between a
# frame's key test and its clearing of the input flags is dropped by design.
ended() {
    kill -0 "$1" 2>/dev/null && { (($# == 1)) || "${@:2}" || true; return 1; }
    return 0
}

# expect_exit PID SECONDS [COMMAND...]: the process ends within SECONDS with
# exit code 0 (repeating COMMAND until it does).
expect_exit() {
    local pid=$1 seconds=$2
    wait_for "$seconds" ended "$pid" "${@:3}" || fail "process $pid still running after $seconds s"
    local code=0
    wait "$pid" || code=$?
    [[ $code -eq 0 ]] || fail "process $pid ended with exit code $code"
}

# Id of the top-level window whose title is exactly $1 (xwininfo prints
# UTF-8 titles, which xdotool's name search does not read).
window_titled() {
    xwininfo -root -tree | awk -v title="\"$1\":" 'index($0, title) { print $1; exit }'
}

window_found() { [[ -n $(window_titled "$1") ]]; }

# press_return_in TITLE: focuses the window (it may not be mapped yet) and
# types Return.
press_return_in() {
    local window
    window=$(window_titled "$1")
    [[ -n $window ]] && xdotool windowfocus "$window" 2>/dev/null
    xdotool key Return
}

# ends_silently ARGS...: the program ends at once, code 0, printing nothing.
ends_silently() {
    start lumivortex "$LUMIVORTEX" "$@"
    expect_exit "$last_pid" 5
    [[ ! -s $work/lumivortex.out && ! -s $work/lumivortex.err ]] || fail "output on a silent path"
}

help_box_closes_with_enter() {
    start lumivortex "$LUMIVORTEX" /c
    local pid=$last_pid
    wait_for 30 window_found "    Lumivortex" || fail "no help box"
    expect_exit "$pid" 5 press_return_in "    Lumivortex"
    grep -q "Exit - key Esc" "$work/lumivortex.err" || fail "help text not on standard error"
}

preview_with_zero_handle_exits_silently() { ends_silently /p 0; }
preview_with_text_handle_exits_silently() { ends_silently /p abc; }
# A window id the server never handed out.
preview_with_missing_window_exits_silently() { ends_silently /p 29999999; }

# The preview host's window: 152 x 112 at (200, 150) on white.
open_preview_host() {
    start host "$X11PROBE" window 152 112 200 150
    host_pid=$last_pid
    wait_for 30 test -s "$work/host.out" || fail "no preview host window"
    host_window=$(cat "$work/host.out")
}

preview_paints_icons_and_ends_with_its_parent() {
    open_preview_host
    start lumivortex "$LUMIVORTEX" /p "$host_window"
    local pid=$last_pid
    # Screen = (200, 150) + preview position. Black background and corners,
    # the lit ball (tiles 1-4) with its dark ring and bright inner spot, the
    # title strip's "L" stroke (tile 5) and its faded mirror image.
    "$X11PROBE" expect 30000 -t 6 \
        205,155=000000 351,261=000000 201,257=000000 \
        276,189=efefef 250,200=dcdcdc 264,177=fefefe 273,178=292929 \
        217,229=b5b5b5 217,243=313131 \
        >"$work/pixels.out" || { cat "$work/pixels.out" >&2; fail "preview picture"; }
    kill "$host_pid"  # destroying the parent destroys the child
    expect_exit "$pid" 5
    [[ ! -s $work/lumivortex.err ]] || fail "output on the preview path"
}

# The fill application covers the screen with 0x3c8c5a and hides the cursor.
start_fill_app() {
    start fill "$FILL_APP"
    fill_pid=$last_pid
    "$X11PROBE" expect 30000 0,0=3c8c5a 1919,0=3c8c5a 960,540=3c8c5a 0,1079=3c8c5a 1919,1079=3c8c5a \
        >"$work/pixels.out" || { cat "$work/pixels.out" >&2; fail "fill colour not on screen"; }
}

fill_app_shows_colour_without_cursor_and_closes() {
    start_fill_app
    [[ $("$X11PROBE" cursor) == hidden ]] || fail "cursor visible"
    local window
    window=$(window_titled "Lumivortex fill test")
    [[ -n $window ]] || fail "fill window not found"
    "$X11PROBE" close "$window"
    expect_exit "$fill_pid" 5
}

fill_app_timer_reaches_the_process() {
    start fill "$FILL_APP" /s timer
    fill_pid=$last_pid
    "$X11PROBE" expect 30000 960,540=5a3c8c >"$work/pixels.out" || { cat "$work/pixels.out" >&2; fail "timer colour"; }
    "$X11PROBE" close "$(window_titled "Lumivortex fill test")"
    expect_exit "$fill_pid" 5
}

# A fatal error on the worker while the window is shown: one box, shown by
# the window thread, and the program ends with 0 once it is dismissed.
fill_app_fatal_error_shows_one_box_and_ends() {
    start fill "$FILL_APP" /s fatal
    fill_pid=$last_pid
    wait_for 30 window_found "Process Runtime Error" || fail "no fatal error box"
    expect_exit "$fill_pid" 5 press_return_in "Process Runtime Error"
    grep -q "e2e fatal error" "$work/fill.err" || fail "fatal text not on standard error"
    [[ $(grep -c "Process Runtime Error" "$work/fill.err") -eq 1 ]] || fail "more than one box"
}

# Run without an X server: the program says so and ends with 0.
no_display_is_reported() {
    unset DISPLAY WAYLAND_DISPLAY
    start lumivortex "$LUMIVORTEX" /s
    expect_exit "$last_pid" 5
    grep -q "No display available" "$work/lumivortex.err" || fail "no word about the missing display"
}

fill_app_ends_on_escape() {
    start_fill_app
    expect_exit "$fill_pid" 5 xdotool key Escape
}

"$1"
