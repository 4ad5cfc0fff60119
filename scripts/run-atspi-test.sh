#!/usr/bin/env bash
# Runs one pyatspi script where a screen reader listens: a private session
# bus, the accessibility bus beside it (at-spi-bus-launcher) and the AT-SPI
# registry (at-spi2-registryd), stopped again afterwards; programs started by
# the script have Qt's accessibility on. Put it inside
# scripts/run-desktop-test.sh for an X server and a window manager. Skipped
# with exit code 77 when the bus tools or the system python's pyatspi are
# missing (Debian packages dbus, dbus-x11, at-spi2-core, python3-pyatspi).
#
# usage: scripts/run-atspi-test.sh <script.py> [arguments...]
set -u

skip() {
    echo "run-atspi-test: skipped: $*"
    exit 77
}

launcher=/usr/libexec/at-spi-bus-launcher
registryd=/usr/libexec/at-spi2-registryd

if [ "${1:-}" != "--inside-session" ]; then
    [ $# -ge 1 ] || { echo "usage: $0 <script.py> [arguments...]" >&2; exit 2; }
    command -v dbus-run-session >/dev/null 2>&1 || skip "dbus-run-session is not installed (Debian package dbus)"
    command -v dbus-send >/dev/null 2>&1 || skip "dbus-send is not installed (Debian package dbus)"
    [ -x "$launcher" ] || skip "$launcher is not installed (Debian package at-spi2-core)"
    [ -x "$registryd" ] || skip "$registryd is not installed (Debian package at-spi2-core)"
    # The system's python, where Debian installs pyatspi, comes before any
    # other python3 on the PATH.
    python=""
    for candidate in /usr/bin/python3 python3; do
        if "$candidate" -c 'import pyatspi' >/dev/null 2>&1; then
            python=$(command -v "$candidate")
            break
        fi
    done
    [ -n "$python" ] || skip "python3's pyatspi is missing (Debian package python3-pyatspi)"
    exec dbus-run-session -- "$0" --inside-session "$python" "$@"
fi
shift

tmp=$(mktemp -d "${TMPDIR:-/tmp}/tarvo-atspi.XXXXXX")
launcher_pid=""
registry_pid=""
test_pid=""
stop_all() {
    for pid in $test_pid $registry_pid $launcher_pid; do
        kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
    done
    rm -rf "$tmp"
}
trap 'stop_all' EXIT
trap 'exit 143' TERM INT

# The accessibility bus puts its socket in the runtime folder (else in one
# place per user): a folder of its own keeps runs side by side apart.
export XDG_RUNTIME_DIR="$tmp/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"

DISPLAY= "$launcher" --launch-immediately >"$tmp/launcher.log" 2>&1 &
launcher_pid=$!
address=""
for _ in $(seq 1 200); do
    # Asked only once the launcher owns its name: asking earlier would start
    # a second one through D-Bus activation.
    dbus-send --session --print-reply=literal --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus 2>/dev/null | grep -q true &&
        address=$(dbus-send --session --print-reply=literal --dest=org.a11y.Bus /org/a11y/bus \
        org.a11y.Bus.GetAddress 2>/dev/null | tr -d ' ')
    [ -n "$address" ] && break
    kill -0 "$launcher_pid" 2>/dev/null || break
    sleep 0.05
done
if [ -z "$address" ]; then
    echo "run-atspi-test: the accessibility bus did not start" >&2
    cat "$tmp/launcher.log" >&2
    exit 1
fi
AT_SPI_BUS_ADDRESS="$address" "$registryd" >"$tmp/registry.log" 2>&1 &
registry_pid=$!
ready=""
for _ in $(seq 1 200); do
    if dbus-send --bus="$address" --print-reply --dest=org.a11y.atspi.Registry \
        /org/a11y/atspi/accessible/root org.freedesktop.DBus.Peer.Ping >/dev/null 2>&1; then
        ready=1
        break
    fi
    kill -0 "$registry_pid" 2>/dev/null || break
    sleep 0.05
done
if [ -z "$ready" ]; then
    echo "run-atspi-test: the AT-SPI registry did not start" >&2
    cat "$tmp/registry.log" >&2
    exit 1
fi

export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
"$@" &
test_pid=$!
wait "$test_pid"
rc=$?
test_pid=""
exit "$rc"
