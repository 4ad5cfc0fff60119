# Sourced by the scripts that start servers around one test (an X server, a
# window manager, the accessibility bus): what starting, waiting for and
# stopping them has in common. Not a program of its own.

# The servers started, stopped in the reverse order when the script exits.
started_pids=()
test_pid=""

stop_started() {
    local i
    [ -n "$test_pid" ] && kill "$test_pid" 2>/dev/null && wait "$test_pid" 2>/dev/null
    for ((i = ${#started_pids[@]} - 1; i >= 0; i--)); do
        kill "${started_pids[i]}" 2>/dev/null && wait "${started_pids[i]}" 2>/dev/null
    done
}

# wait_for PID COMMAND [ARGUMENTS...]: runs the command (a program or a shell
# function) every 50 ms until it succeeds, for at most ten seconds; gives up
# at once when the server PID has ended. Fails when the command never did.
wait_for() {
    local pid=$1
    shift
    for _ in $(seq 1 200); do
        "$@" && return 0
        kill -0 "$pid" 2>/dev/null || return 1
        sleep 0.05
    done
    return 1
}

# did_not_start NAME LOG: says so with the server's log, and fails the script.
did_not_start() {
    echo "$(basename "$0" .sh): $1 did not start" >&2
    cat "$2" >&2
    exit 1
}

# run_test COMMAND [ARGUMENTS...]: runs the test in the background (so that a
# TERM reaches the traps at once) and exits with its exit code.
run_test() {
    local rc
    "$@" &
    test_pid=$!
    wait "$test_pid"
    rc=$?
    test_pid=""
    exit "$rc"
}
