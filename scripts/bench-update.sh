#!/usr/bin/env bash
# Fast Download of a large file from a server on the loopback interface: the
# update checker's window against curl fetching the same file in the same run.
# Prints the median seconds of each, the ratio of throughputs (update / curl;
# the goal is at least 0.8) and the update checker's peak memory growth during
# the download (the goal is under 16 MB: the body streams to the disk).
# The update checker's time includes making the file durable before it
# replaces the old one; curl's does not.
#
# usage: scripts/bench-update.sh <builddir>
#   BENCH_MB=n        size of the file in megabytes (200)
#   BENCH_RUNS=n      runs of each (3)
set -euo pipefail

build=${1:-build}
exe="$build/bench/bench_update_download"
mb=${BENCH_MB:-200}
runs=${BENCH_RUNS:-3}
export QT_QPA_PLATFORM=offscreen
export QT_LOGGING_RULES="qt.qpa.*=false"

if [ ! -x "$exe" ]; then
  echo "bench-update: $exe not found; build the target bench_update_download" >&2
  exit 1
fi

tmp=$(mktemp -d)
server_pid=
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null || true
  rm -rf "$tmp"
}
trap cleanup EXIT

mkdir -p "$tmp/www"
head -c "$((mb * 1024 * 1024))" /dev/urandom >"$tmp/www/pack.bin"
bytes=$(stat -c %s "$tmp/www/pack.bin")
cat >"$tmp/www/updates.ini" <<INI
[title]
t0=Benchmark pack
[ProgramName]
iniProgram0=benchpack
[version]
iniVersion0=1.0
[DownloadNow]
iniDownloadNow0=True
[DownloadFrom]
iniDownloadFrom0=pack.bin
[SaveTo]
iniSaveTo0=\\Data\\pack.bin
INI

port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
python3 -m http.server "$port" --bind 127.0.0.1 --directory "$tmp/www" >/dev/null 2>&1 &
server_pid=$!
for _ in $(seq 50); do
  curl -s -o /dev/null "http://127.0.0.1:$port/updates.ini" && break
  sleep 0.1
done

median() { sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

# One untimed round first: the first pages a fresh machine hands out cost far
# more than later ones, and that would fall on whichever program ran first.
curl -s -o "$tmp/curl.bin" "http://127.0.0.1:$port/pack.bin"
"$exe" "http://127.0.0.1:$port/updates.ini" "$bytes" >/dev/null

# Each run starts with the disk idle, so that neither program pays for
# writing out what the other one left behind.
curl_times=()
update_times=()
growth=()
for _ in $(seq "$runs"); do
  rm -f "$tmp/curl.bin"
  sync
  curl_times+=("$(curl -s -o "$tmp/curl.bin" -w '%{time_total}' "http://127.0.0.1:$port/pack.bin")")
  sync
  out=$("$exe" "http://127.0.0.1:$port/updates.ini" "$bytes")
  update_times+=("$(awk '/^seconds/ {print $2}' <<<"$out")")
  growth+=("$(awk '/^peak_growth_kb/ {print $2}' <<<"$out")")
done

c=$(printf '%s\n' "${curl_times[@]}" | median)
u=$(printf '%s\n' "${update_times[@]}" | median)
g=$(printf '%s\n' "${growth[@]}" | sort -g | tail -1)
echo "file: $mb MB, $runs runs each"
echo "curl:   median ${c} s ($(awk -v b="$bytes" -v s="$c" 'BEGIN {printf "%.0f", b/1e6/s}') MB/s)"
echo "update: median ${u} s ($(awk -v b="$bytes" -v s="$u" 'BEGIN {printf "%.0f", b/1e6/s}') MB/s)"
echo "throughput ratio update/curl: $(awk -v c="$c" -v u="$u" 'BEGIN {printf "%.2f", c/u}')"
echo "peak memory growth of update during the download (largest of the runs): $(awk -v k="$g" 'BEGIN {printf "%.1f", k/1024}') MB"
