#!/usr/bin/env bash
# scene_e2e.sh CASE: the real animation under Xvfb (run by with_xvfb.sh,
# 1920 x 1080). Needs LUMIVORTEX and X11PROBE (paths of the programs).
# Screen regions are read with "x11probe shot FILE X Y W H 1" and judged by
# region_stats below, since the picture itself is random.
set -euo pipefail

# shellcheck source=e2e_common.sh
source "$(dirname "${BASH_SOURCE[0]}")/e2e_common.sh"

start_animation() {
    "$LUMIVORTEX" "$@" >"$work/lumivortex.out" 2>"$work/lumivortex.err" &
    pid=$!
    started+=("$pid")
}


# ended [KEY]: the program is no longer running. While it runs, KEY is typed
# again: a release that lands between the frame's key test and its clearing
# of the input flags is dropped by design.
ended() {
    kill -0 "$pid" 2>/dev/null || return 0
    [[ $# -eq 0 ]] || xdotool key "$1"
    return 1
}

# expect_exit SECONDS [KEY]: the program ends within SECONDS with exit code 0
# (typing KEY until it does).
expect_exit() {
    wait_for "$1" ended "${@:2}" || fail "still running after $1 s"
    local code=0
    wait "$pid" || code=$?
    [[ $code -eq 0 ]] || fail "exit code $code"
}

# Least share (percent) of the legend's 155 x 13 pixels that are not black.
legend_share=15  # the bitmap: about 20 %

window_id() {
    xwininfo -root -tree | awk 'index($0, "\"Lumivortex\":") { print $1; exit }'
}

# region_stats X Y W H [COLUMN WIDTH]: prints "max distinct mode" of the
# region: the brightest channel value, the number of distinct colours and
# the most common colour (RRGGBB); with COLUMN and WIDTH also the most
# common colour of those columns (relative to X) and of the rest, taken
# from the same screenshot.
region_stats() {
    "$X11PROBE" shot "$work/region.png" "$1" "$2" "$3" "$4" 1 || fail "screenshot"
    python3 - "$work/region.png" "${5:--1}" "${6:-0}" <<'PY'
import struct, sys, zlib
from collections import Counter
data = open(sys.argv[1], 'rb').read()
pos, idat = 8, b''
while pos < len(data):
    n, kind = struct.unpack('>I4s', data[pos:pos + 8])
    chunk = data[pos + 8:pos + 8 + n]
    pos += 12 + n
    if kind == b'IHDR':
        w, h, depth, ctype = struct.unpack('>IIBB', chunk[:10])
    elif kind == b'IDAT':
        idat += chunk
bpp = {2: 3, 6: 4}[ctype]
raw, stride, prev, pixels, i = zlib.decompress(idat), w * bpp, bytearray(w * bpp), [], 0
for _ in range(h):
    f, line = raw[i], bytearray(raw[i + 1:i + 1 + stride])
    i += 1 + stride
    for x in range(stride):
        a = line[x - bpp] if x >= bpp else 0
        b, c = prev[x], (prev[x - bpp] if x >= bpp else 0)
        if f == 1: line[x] = (line[x] + a) & 255
        elif f == 2: line[x] = (line[x] + b) & 255
        elif f == 3: line[x] = (line[x] + (a + b) // 2) & 255
        elif f == 4:
            p = a + b - c
            pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
            line[x] = (line[x] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
    pixels += [tuple(line[x:x + 3]) for x in range(0, stride, bpp)]
    prev = line
hexcolour = lambda counter: '%02x%02x%02x' % counter.most_common(1)[0][0]
counts = Counter(pixels)
line = [max(max(p) for p in pixels), len(counts), hexcolour(counts)]
first, width = int(sys.argv[2]), int(sys.argv[3])
if first >= 0:
    inside = lambda k: first <= k % w < first + width
    outside = Counter(p for k, p in enumerate(pixels) if not inside(k)).most_common(1)[0][0]
    area = [p for k, p in enumerate(pixels) if inside(k)]
    differs = lambda p: max(abs(a - b) for a, b in zip(p, outside)) >= 0x3E
    line += ['%02x%02x%02x' % outside, 100 * sum(map(differs, area)) // len(area)]
print(*line)
PY
}

# Results of the last look at the screen, for the failure messages.
max=0 distinct=0 mode="" background="" changed=0 why=""

legend_shown() {
    read -r max _ _ background changed < <(region_stats 0 1059 400 13 24 155)
    ((max >= 0x7e && changed >= legend_share))
}

# The legend is no longer drawn: its area is background like the rows beside
# it (particles may pass, but do not fill it).
legend_gone() {
    read -r _ _ _ background changed < <(region_stats 0 1059 400 13 24 155)
    ((changed < legend_share / 2))
}

background_is() {
    read -r max distinct mode < <(region_stats 0 0 1920 120)
    [[ $mode == "$1" ]]
}

# A bright centre and many colours around it.
centre_lively() {
    kill -0 "$pid" 2>/dev/null || fail "the animation ended by itself"
    read -r max distinct mode < <(region_stats 660 240 600 600)
    ((max >= 150)) || { why="centre not bright (max $max)"; return 1; }
    ((distinct >= 200)) || { why="too few colours in the centre ($distinct)"; return 1; }
}

cursor_hidden() { [[ $("$X11PROBE" cursor) == hidden ]]; }

# The legend at the bottom left (its grey 0x7E added to the dark background),
# looked for first since it shows for the first ten seconds only; then a
# lively centre and the cursor hidden.
expect_animation() {
    wait_for 30 legend_shown ||
        fail "no legend at the bottom left (max $max, $changed % unlike the background $background)"
    wait_for 30 centre_lively || fail "$why"
    wait_for 30 cursor_hidden || fail "cursor visible"
}

# alive_for SECONDS: the program keeps running for SECONDS.
alive_for() {
    ! wait_for "$1" ended
}

animation_runs_and_escape_release_ends_it() {
    start_animation
    expect_animation
    xdotool keydown Escape
    alive_for 1 || fail "ended on the key press, before the release"
    xdotool keyup Escape
    expect_exit 5 Escape
}

# The first counted Enter release pins palette entry 0, whose background is
# 303030. A dropped release leaves the gliding colour, so Enter is typed
# again only when the pinned colour has not come for a while: a second
# counted release would move on to entry 1.
enter_pins_grey_background() {
    start_animation /s
    expect_animation
    local try
    for try in 1 2 3; do
        xdotool key Return
        wait_for 5 background_is 303030 && break
        ((try < 3)) || fail "background $mode after Enter, expected 303030"
    done
    expect_exit 5 Escape
}

# The legend is drawn from the first frames and hidden by a ten-second timer
# started after launch, so it cannot be gone earlier than that.
legend_gone_after_ten_seconds() {
    local launched
    launched=$(now_ms)
    start_animation
    wait_for 30 legend_shown ||
        fail "no legend at the bottom left (max $max, $changed % unlike the background $background)"
    wait_for 30 legend_gone || fail "legend area $changed % unlike the background $background"
    local elapsed=$(($(now_ms) - launched))
    ((elapsed >= 9000)) || fail "legend gone after only $elapsed ms"
    expect_exit 5 Escape
}

window_close_ends_it() {
    start_animation
    expect_animation
    local window
    window=$(window_id)
    [[ -n $window ]] || fail "no Lumivortex window"
    "$X11PROBE" close "$window"
    expect_exit 5
}

"$1"
