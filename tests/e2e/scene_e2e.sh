#!/usr/bin/env bash
# scene_e2e.sh CASE: the real animation under Xvfb (run by with_xvfb.sh,
# 1920 x 1080). Needs LUMIVORTEX and X11PROBE (paths of the programs).
# Screen regions are read with "x11probe shot FILE X Y W H 1" and judged by
# region_stats below, since the picture itself is random.
set -euo pipefail

work=$(mktemp -d)
started=()
cleanup() {
    for pid in "${started[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAILED: $*" >&2
    [[ -s $work/lumivortex.err ]] && { echo "--- stderr" >&2; cat "$work/lumivortex.err" >&2; }
    "$X11PROBE" shot "$work/../scene-e2e-failure-$$.png" 2>/dev/null &&
        echo "screenshot: $work/../scene-e2e-failure-$$.png" >&2
    exit 1
}

start_animation() {
    "$LUMIVORTEX" "$@" >"$work/lumivortex.out" 2>"$work/lumivortex.err" &
    pid=$!
    started+=("$pid")
}

# expect_exit SECONDS: the program ends within SECONDS with exit code 0.
expect_exit() {
    local limit=$(($1 * 50))
    for _ in $(seq "$limit"); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.02
    done
    kill -0 "$pid" 2>/dev/null && fail "still running after $1 s"
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

# After about two seconds: a bright centre, many colours around it, the
# legend at the bottom left (its grey 0x7E added to the dark background),
# the cursor hidden.
expect_animation() {
    sleep 2
    kill -0 "$pid" 2>/dev/null || fail "the animation ended by itself"
    local max distinct mode
    read -r max distinct mode < <(region_stats 660 240 600 600)
    ((max >= 150)) || fail "centre not bright (max $max)"
    ((distinct >= 200)) || fail "too few colours in the centre ($distinct)"
    local background changed
    read -r max _ _ background changed < <(region_stats 0 1059 400 13 24 155)
    ((max >= 0x7e && changed >= legend_share)) ||
        fail "no legend at the bottom left (max $max, $changed % unlike the background $background)"
    [[ $("$X11PROBE" cursor) == hidden ]] || fail "cursor visible"
}

animation_runs_and_escape_release_ends_it() {
    start_animation
    expect_animation
    xdotool keydown Escape
    sleep 0.5
    kill -0 "$pid" 2>/dev/null || fail "ended on the key press, before the release"
    xdotool keyup Escape
    expect_exit 1
}

enter_pins_grey_background() {
    start_animation /s
    sleep 2
    xdotool key Return
    sleep 0.5
    local max distinct mode
    read -r max distinct mode < <(region_stats 0 0 1920 120)
    [[ $mode == 303030 ]] || fail "background $mode after Enter, expected 303030"
    xdotool key Escape
    expect_exit 1
}

legend_gone_after_ten_seconds() {
    start_animation
    sleep 12
    # The legend is no longer drawn: its area is background like the rows
    # beside it (particles may pass, but do not fill it).
    local background changed
    read -r _ _ _ background changed < <(region_stats 0 1059 400 13 24 155)
    ((changed < legend_share / 2)) || fail "legend area $changed % unlike the background $background"
    xdotool key Escape
    expect_exit 1
}

window_close_ends_it() {
    start_animation
    sleep 2
    local window
    window=$(window_id)
    [[ -n $window ]] || fail "no Lumivortex window"
    "$X11PROBE" close "$window"
    expect_exit 2
}

"$1"
