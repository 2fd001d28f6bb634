# Shared part of the end-to-end scripts (sourced): a work directory whose
# programs are killed and which is removed on exit, the failure report, and
# waiting. Tests wait for a condition, never for a fixed time, so a loaded
# machine only makes them slower.

work=$(mktemp -d)
started=()
cleanup() {
    for pid in "${started[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

# fail MESSAGE: reports, with every program's standard error and a
# screenshot next to the work directory, and ends the case.
fail() {
    echo "FAILED: $*" >&2
    for log in "$work"/*.err; do
        [[ -s $log ]] && { echo "--- $log" >&2; cat "$log" >&2; }
    done
    "$X11PROBE" shot "$work/../e2e-failure-$$.png" 2>/dev/null && echo "screenshot: $work/../e2e-failure-$$.png" >&2
    exit 1
}

# now_ms: the wall clock in milliseconds.
now_ms() {
    local micros=${EPOCHREALTIME/[.,]/}
    echo $((micros / 1000))
}

# wait_for SECONDS COMMAND...: retries COMMAND every quarter second until it
# succeeds (status 0) or SECONDS have passed (status 1).
wait_for() {
    local deadline=$(($(now_ms) + $1 * 1000))
    shift
    while :; do
        "$@" && return 0
        (($(now_ms) < deadline)) || return 1
        sleep 0.25
    done
}
