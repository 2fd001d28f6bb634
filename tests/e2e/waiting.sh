# Waiting helpers of the end-to-end scripts (sourced). Tests wait for a
# condition, never for a fixed time, so a loaded machine only makes them
# slower.

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
