#!/usr/bin/env bash
# Fast Download of a large file from a server on the loopback interface: the
# update checker's window against curl fetching the same file in the same run.
# The server hands the file to the kernel with sendfile, so it sends as fast as
# the connection takes it: far faster than a disk writes, which is what shows
# whether a downloader holds back or piles the body up in memory.
# Prints the median seconds of each, the ratio of throughputs (update / curl;
# the goal is at least 0.8) and the update checker's peak memory growth during
# the download (median and largest of the runs; the goal is under 16 MB: the
# body streams to the disk). The update checker's time includes making the
# file durable before it replaces the old one; curl's does not.
#
# usage: scripts/bench-update.sh <builddir>
#   BENCH_MB=n        size of the file in megabytes (200)
#   BENCH_RUNS=n      runs of each (5)
set -euo pipefail

build=${1:-build}
exe="$build/bench/bench_update_download"
mb=${BENCH_MB:-200}
runs=${BENCH_RUNS:-5}
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

# A file server that sends every file with sendfile(2) at full speed.
cat >"$tmp/serve.py" <<'PY'
import os, socket, sys, threading
root = sys.argv[1]
listener = socket.socket()
listener.bind(("127.0.0.1", 0))
listener.listen(16)
print(listener.getsockname()[1], flush=True)

def answer(conn):
    try:
        with conn:
            request = b""
            while b"\r\n\r\n" not in request:
                data = conn.recv(4096)
                if not data:
                    return
                request += data
            name = os.path.basename(request.split(b" ")[1].decode())
            path = os.path.join(root, name)
            if not os.path.isfile(path):
                conn.sendall(b"HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n"
                             b"Connection: close\r\n\r\n")
                return
            conn.sendall(b"HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\n"
                         b"Content-Length: %d\r\nConnection: close\r\n\r\n"
                         % os.path.getsize(path))
            with open(path, "rb") as f:
                conn.sendfile(f)
    except OSError:
        pass

while True:
    conn, _ = listener.accept()
    threading.Thread(target=answer, args=(conn,), daemon=True).start()
PY
python3 "$tmp/serve.py" "$tmp/www" >"$tmp/port" 2>/dev/null &
server_pid=$!
for _ in $(seq 50); do
  [ -s "$tmp/port" ] && break
  sleep 0.1
done
port=$(cat "$tmp/port")
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
g=$(printf '%s\n' "${growth[@]}" | median)
gmax=$(printf '%s\n' "${growth[@]}" | sort -g | tail -1)
echo "file: $mb MB, $runs runs each"
echo "curl:   median ${c} s ($(awk -v b="$bytes" -v s="$c" 'BEGIN {printf "%.0f", b/1e6/s}') MB/s)"
echo "update: median ${u} s ($(awk -v b="$bytes" -v s="$u" 'BEGIN {printf "%.0f", b/1e6/s}') MB/s)"
echo "throughput ratio update/curl: $(awk -v c="$c" -v u="$u" 'BEGIN {printf "%.2f", c/u}')"
echo "peak memory growth of update during the download: median $(awk -v k="$g" 'BEGIN {printf "%.1f", k/1024}') MB, largest $(awk -v k="$gmax" 'BEGIN {printf "%.1f", k/1024}') MB"
