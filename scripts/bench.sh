#!/usr/bin/env bash
# Runs every benchmark built in <builddir>/bench. For bench_ini it prints the
# table and then how our ReadIniValue compares with inih and QSettings on the
# 40- and 2000-line files (ratios of CPU time per read, medians of the
# repetitions; below 1 means ours is faster).
#
# usage: scripts/bench.sh <builddir>
#   BENCH_REPETITIONS=n   repetitions of each benchmark (5)
#   BENCH_ARGS="..."      further Google Benchmark options, e.g.
#                         --benchmark_filter=Read
set -uo pipefail

build=${1:-build}
dir="$build/bench"
reps=${BENCH_REPETITIONS:-5}
export QT_QPA_PLATFORM=offscreen
export QT_LOGGING_RULES="qt.qpa.*=false"

if [ ! -d "$dir" ]; then
  echo "bench: $dir not found. The benchmarks build when Google Benchmark is installed" >&2
  echo "       (Debian: libbenchmark-dev; inih comparison: libinih-dev); then make build." >&2
  exit 1
fi

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Google Benchmark JSON -> "name cpu_time_ns" per line, for the medians when
# there are repetitions, else for the single runs.
json_times() {
  if command -v python3 >/dev/null 2>&1; then
    python3 - "$1" <<'EOF'
import json, sys
scale = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}
runs = json.load(open(sys.argv[1]))["benchmarks"]
medians = [b for b in runs if b.get("aggregate_name") == "median"]
for b in medians or [b for b in runs if b.get("run_type", "iteration") == "iteration"]:
    name = b.get("run_name", b["name"])
    print(name, b["cpu_time"] * scale.get(b.get("time_unit", "ns"), 1.0))
EOF
  else
    # One field per line in the JSON the library writes.
    awk '
      /"name":/ { n = $0; sub(/.*"name": *"/, "", n); sub(/".*/, "", n) }
      /"aggregate_name":/ { a = $0; sub(/.*"aggregate_name": *"/, "", a); sub(/".*/, "", a) }
      /"cpu_time":/ { c = $0; sub(/.*"cpu_time": */, "", c); sub(/,.*/, "", c) }
      /"time_unit":/ {
        u = $0; sub(/.*"time_unit": *"/, "", u); sub(/".*/, "", u)
        f = (u == "us") ? 1e3 : (u == "ms") ? 1e6 : (u == "s") ? 1e9 : 1
        if (a == "median") { sub(/_median$/, "", n); med[n] = c * f; have = 1 }
        else if (a == "") plain[n] = c * f
        a = ""
      }
      END { if (have) for (k in med) print k, med[k]; else for (k in plain) print k, plain[k] }
    ' "$1"
  fi
}

ratio_table() {
  local times="$1"
  awk '
    { t[$1] = $2 }
    function r(a, b) { return (a in t && b in t && t[b] > 0) ? sprintf("%.2f", t[a] / t[b]) : "n/a" }
    END {
      printf "\nReadIniValue compared (CPU time per read; < 1: ours is faster)\n"
      printf "  %-8s %12s %12s %12s %12s %14s\n", "lines", "ours (ns)", "inih (ns)", "QSettings", "ours/inih", "ours/QSettings"
      for (i = 0; i < 2; i++) {
        n = (i == 0) ? 40 : 2000
        o = "BM_ReadIniValue/" n; h = "BM_Inih/" n; q = "BM_QSettings/" n
        printf "  %-8s %12s %12s %12s %12s %14s\n", n,
          (o in t) ? sprintf("%.0f", t[o]) : "n/a", (h in t) ? sprintf("%.0f", t[h]) : "n/a",
          (q in t) ? sprintf("%.0f", t[q]) : "n/a", r(o, h), r(o, q)
      }
      if (!("BM_Inih/40" in t)) print "  (inih not built in: install libinih-dev and reconfigure)"
    }
  ' "$times"
}

status=0
found=0
for exe in "$dir"/*; do
  if [ ! -f "$exe" ] || [ ! -x "$exe" ]; then continue; fi
  name=$(basename "$exe")
  found=1
  echo "=== $name"
  # shellcheck disable=SC2086
  if [ "$name" = bench_ini ]; then
    if ! "$exe" --benchmark_repetitions="$reps" --benchmark_report_aggregates_only=true \
      --benchmark_out="$tmp/ini.json" --benchmark_out_format=json ${BENCH_ARGS:-}; then
      echo "bench: $name failed" >&2
      status=1
      continue
    fi
    json_times "$tmp/ini.json" >"$tmp/ini.times"
    ratio_table "$tmp/ini.times"
  else
    if ! "$exe" ${BENCH_ARGS:-}; then
      echo "bench: $name failed" >&2
      status=1
    fi
  fi
  echo
done

for expected in bench_ini bench_wizard bench_profile bench_print bench_export bench_html bench_assistant bench_optimiser bench_planner bench_gamefiles; do
  [ -x "$dir/$expected" ] || echo "($expected not built; skipped)"
done
[ "$found" = 1 ] || { echo "bench: no benchmark executables in $dir" >&2; exit 1; }
exit $status
