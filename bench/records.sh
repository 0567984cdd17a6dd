#!/usr/bin/env bash
# Stored records benchmark: Open and Search of a 1,000,000-record file on the
# records management screen, as the operator runs them.
#
#   bench/records.sh [BUILD_DIR] [WORK_DIR]
#
# BUILD_DIR defaults to build/; WORK_DIR (default: a fresh temporary folder)
# receives the data folder with the generated file, kept for the next run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
work=${2:-$(mktemp -d)}
bin=$build/bin
runs=5
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}

. "$root/bench/lib.sh"

data=$work/data
big=$data/Records/records-1000000.txt
gen_records 1000000 2 "$big"
size=$(stat -c %s "$big")
cat "$big" >/dev/null # warm the page cache

echo "== $(basename "$big"): $size bytes, median of $runs runs (each run its own process)"
for mode in open search; do
  for _ in $(seq "$runs"); do
    "$bin/gatetally-recordsbench" "$mode" "$data" "$(basename "$big")" 2>/dev/null
  done | sort -n -k2 | sed -n "$(( (runs + 1) / 2 ))p" |
    awk -v size="$size" '{ printf "%-6s %5d ms  %8d lines  base %6.1f MiB  peak %6.1f MiB  growth %.2f x file\n",
                            $1, $2, $4, $6 / 1024, $9 / 1024, ($9 - $6) * 1024 / size }'
done
