#!/usr/bin/env bash
# Stored records benchmark: Open and a card Search of a 1,000,000-record file
# on the records management screen, as the operator runs them.
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

card=$(pick_card "$big")
echo "== $(basename "$big"): $size bytes, card $card, median of $runs runs (each run its own process)"
for mode in open search; do
  for _ in $(seq "$runs"); do
    "$bin/gatetally-recordsbench" "$mode" "$data" "$(basename "$big")" $([ "$mode" = search ] && echo "$card") 2>/dev/null
  done | sort -n -k2 | sed -n "$(( (runs + 1) / 2 ))p" |
    awk -v size="$size" '{ printf "%-6s %5d ms  (%5d ms indexed)  %8d lines  own memory grows %.3f x file  peak %6.1f MiB  event loop held %d ms\n",
                            $1, $2, $3, $4, ($6 - $5) * 1024 / size, $7 / 1024, $8 }'
done
