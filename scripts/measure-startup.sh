#!/usr/bin/env bash
# Start-up figures of TARVO2:
#   splash   ms from process start until the splash window's first complete
#            paint (logo and every text drawn)
#   welcome  ms from process start until the welcome window's first complete
#            paint (this includes the splash's fixed 800 ms pause)
#   peak RSS the process's peak memory at the welcome window's first paint
# The program reports its own times when TARVO_MEASURE_STARTUP is set and
# quits at the welcome window; measuring adds no work to the start. Each
# figure is the median of RUNS runs (10), after one warm-up run that is not
# counted.
#
# usage: scripts/measure-startup.sh <builddir> [offscreen|xvfb]
#   offscreen (default)  Qt's headless platform: the program's own work only
#   xvfb                 a real X server (Xvfb) with the openbox window
#                        manager, as scripts/run-desktop-test.sh starts them
#   RUNS=n               to change the count
set -euo pipefail

build=${1:-build}
mode=${2:-offscreen}
runs=${RUNS:-10}
program="$build/AppFolder/prjTARVO2"
if [ ! -x "$program" ]; then
  echo "measure-startup: $program not found; build first (make build)" >&2
  exit 1
fi

export QT_LOGGING_RULES="qt.qpa.*=false"
export TARVO_MEASURE_STARTUP=1
case "$mode" in
offscreen)
  export QT_QPA_PLATFORM=offscreen
  runner=()
  ;;
xvfb)
  runner=("$(dirname "$0")/run-desktop-test.sh")
  ;;
*)
  echo "measure-startup: unknown mode $mode (offscreen or xvfb)" >&2
  exit 2
  ;;
esac

gnu_time=""
if [ -x /usr/bin/time ] && /usr/bin/time -v true >/dev/null 2>&1; then
  gnu_time=/usr/bin/time
fi

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# One run: prints "splash welcome rss" (rss from GNU time when present, else
# from the program's own VmHWM report).
run_once() {
  local out="$tmp/out" err="$tmp/err"
  if [ -n "$gnu_time" ]; then
    timeout 60 ${runner[@]+"${runner[@]}"} "$gnu_time" -v "$program" >"$out" 2>"$err" || true
  else
    timeout 60 ${runner[@]+"${runner[@]}"} "$program" >"$out" 2>"$err" || true
  fi
  local splash welcome rss
  splash=$(awk '$1 == "splash-painted" { print $2 }' "$out")
  welcome=$(awk '$1 == "welcome-painted" { print $2 }' "$out")
  rss=$(awk -F: '/Maximum resident set size/ { gsub(/ /, "", $2); print $2 }' "$err")
  [ -n "$rss" ] || rss=$(awk '$1 == "peak-rss-kb" { print $2 }' "$out")
  if [ -z "$splash" ] || [ -z "$welcome" ]; then
    echo "measure-startup: the program did not report its start-up (a message box waiting?)" >&2
    cat "$out" "$err" >&2
    return 1
  fi
  echo "$splash $welcome ${rss:-0}"
}

median() { # column number; reads the results file
  awk -v c="$1" '{ print $c }' "$tmp/results" | sort -n |
    awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else printf "%g\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
minmax() {
  awk -v c="$1" '{ print $c }' "$tmp/results" | sort -n | awk 'NR == 1 { lo = $1 } { hi = $1 } END { print lo "-" hi }'
}

run_once >/dev/null # warm-up: file cache, font cache
: >"$tmp/results"
for i in $(seq 1 "$runs"); do
  r=$(run_once)
  echo "run $i: splash ${r%% *} ms, welcome $(echo "$r" | cut -d' ' -f2) ms, peak RSS ${r##* } kB"
  echo "$r" >>"$tmp/results"
done

echo
echo "TARVO2 start-up, median of $runs runs ($mode, $(nproc 2>/dev/null || echo '?') cores)"
printf '  %-36s %8s ms   (range %s)\n' "process start -> splash painted" "$(median 1)" "$(minmax 1)"
printf '  %-36s %8s ms   (range %s)\n' "process start -> welcome painted" "$(median 2)" "$(minmax 2)"
printf '  %-36s %8s kB   (range %s)%s\n' "peak RSS at the welcome hand-over" "$(median 3)" "$(minmax 3)" \
  "$([ -n "$gnu_time" ] && echo ', GNU time' || echo ', VmHWM')"
