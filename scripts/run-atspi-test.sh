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

. "$(dirname "$0")/services.sh"
tmp=$(mktemp -d "${TMPDIR:-/tmp}/tarvo-atspi.XXXXXX")
trap 'stop_started; rm -rf "$tmp"' EXIT
trap 'exit 143' TERM INT

# The accessibility bus puts its socket in the runtime folder (else in one
# place per user): a folder of its own keeps runs side by side apart.
export XDG_RUNTIME_DIR="$tmp/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"

DISPLAY= "$launcher" --launch-immediately >"$tmp/launcher.log" 2>&1 &
started_pids+=($!)
address=""
bus_address_known() {
    # Asked only once the launcher owns its name: asking earlier would start
    # a second one through D-Bus activation.
    dbus-send --session --print-reply=literal --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus 2>/dev/null | grep -q true &&
        address=$(dbus-send --session --print-reply=literal --dest=org.a11y.Bus /org/a11y/bus \
        org.a11y.Bus.GetAddress 2>/dev/null | tr -d ' ')
    [ -n "$address" ]
}
wait_for "${started_pids[-1]}" bus_address_known ||
    did_not_start "the accessibility bus" "$tmp/launcher.log"

AT_SPI_BUS_ADDRESS="$address" "$registryd" >"$tmp/registry.log" 2>&1 &
started_pids+=($!)
registry_answers() {
    dbus-send --bus="$address" --print-reply --dest=org.a11y.atspi.Registry \
        /org/a11y/atspi/accessible/root org.freedesktop.DBus.Peer.Ping >/dev/null 2>&1
}
wait_for "${started_pids[-1]}" registry_answers ||
    did_not_start "the AT-SPI registry" "$tmp/registry.log"

export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
run_test "$@"
