#!/usr/bin/env bash
# Runs one desktop test on a real (virtual) desktop: starts Xvfb on a free
# display and the openbox window manager on it, waits until both are ready,
# runs the test with the xcb platform, stops both and passes on the test's
# exit code. When Xvfb, openbox or xprop is missing the test is skipped with
# exit code 77 (CTest's SKIP_RETURN_CODE for this tier).
#
# usage: scripts/run-desktop-test.sh <test executable> [arguments...]
#   DESKTOP_SIZE=WxH   the screen (default 1280x1024)
set -u

skip() {
    echo "run-desktop-test: skipped: $*"
    exit 77
}

[ $# -ge 1 ] || { echo "usage: $0 <test executable> [arguments...]" >&2; exit 2; }
command -v Xvfb >/dev/null 2>&1 || skip "Xvfb is not installed (Debian package xvfb)"
command -v openbox >/dev/null 2>&1 || skip "openbox is not installed (Debian package openbox)"
command -v xprop >/dev/null 2>&1 || skip "xprop is not installed (Debian package x11-utils)"

. "$(dirname "$0")/services.sh"
tmp=$(mktemp -d "${TMPDIR:-/tmp}/tarvo-desktop.XXXXXX")
trap 'stop_started; rm -rf "$tmp"' EXIT
trap 'exit 143' TERM INT

# Xvfb picks a free display itself and writes its number once it accepts
# connections.
Xvfb -displayfd 3 -screen 0 "${DESKTOP_SIZE:-1280x1024}x24" -nolisten tcp -noreset \
    3>"$tmp/display" >"$tmp/xvfb.log" 2>&1 &
started_pids+=($!)
display=""
display_written() {
    display=$(head -n1 "$tmp/display" 2>/dev/null)
    [ -n "$display" ]
}
wait_for "${started_pids[-1]}" display_written || did_not_start Xvfb "$tmp/xvfb.log"
export DISPLAY=":$display"

# openbox is ready once it names itself on the root window.
openbox --sm-disable >"$tmp/openbox.log" 2>&1 &
started_pids+=($!)
wm_named() {
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'
}
wait_for "${started_pids[-1]}" wm_named || did_not_start openbox "$tmp/openbox.log"

export QT_QPA_PLATFORM=xcb
export QT_LOGGING_RULES="${QT_LOGGING_RULES:-qt.qpa.*=false}"
unset WAYLAND_DISPLAY
run_test "$@"
