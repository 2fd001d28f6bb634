#!/usr/bin/env bash
# with_xvfb.sh COMMAND [ARGS...]: runs COMMAND against a fresh Xvfb of its
# own (1920 x 1080, 24 bits) on the first free display, so that tests run in
# parallel and need no X server of the machine; the server ends with it.
set -euo pipefail

work=$(mktemp -d)
xvfb=""
cleanup() {
    if [[ -n $xvfb ]]; then
        kill "$xvfb" 2>/dev/null || true
        wait "$xvfb" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

# -displayfd: the server picks a free display and writes its number once it
# accepts connections.
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 500); do
    [[ $(wc -l <"$work/display") -ge 1 ]] && break
    if ! kill -0 "$xvfb" 2>/dev/null; then
        echo "Xvfb did not start:" >&2
        cat "$work/xvfb.log" >&2
        exit 1
    fi
    sleep 0.01
done
if [[ $(wc -l <"$work/display") -lt 1 ]]; then
    echo "Xvfb did not report a display" >&2
    exit 1
fi
export DISPLAY=":$(head -n 1 "$work/display")"
"$@"
