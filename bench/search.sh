#!/usr/bin/env bash
# Search benchmark: a full main display (32,500 records) searched in memory,
# and a 1,000,000-record file searched through gatetally-search, side by side
# with ripgrep and grep (card number) and mawk (date range), and as CSV.
#
#   bench/search.sh [BUILD_DIR] [WORK_DIR]
#
# BUILD_DIR defaults to build/; WORK_DIR (default: a fresh temporary folder)
# receives the generated records files. Needs rg, grep, mawk and /usr/bin/time.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
work=${2:-$(mktemp -d)}
mkdir -p "$work"
bin=$build/bin
runs=5

. "$root/bench/lib.sh"
need_tools rg grep mawk /usr/bin/time

display=$work/display-32500.txt
big=$work/records-1000000.txt
gen_records 32500 1 "$display"
gen_records 1000000 2 "$big"
size=$(stat -c %s "$big")

echo "== full display (32,500 records, in memory, median of 50 searches)"
"$bin/gatetally-searchbench" --rounds 50 "$display"
echo

out=$work/out.tmp
row() { printf '%-38s %8s ms %10s KiB %10s found\n' "$1" "$2" "$3" "$4"; }
median_ms() { median_ms_n "$runs" "$@"; }

cat "$big" >/dev/null # warm the page cache
card=$(pick_card "$big")
facility=107
from_date="3/20/2006"
to_date="3/22/2006"
awk_range=$(awk_range 20060320 20060322)

echo "== 1,000,000-record file: $(( size / 1024 / 1024 )) MiB ($size bytes), median of $runs runs"
gs=("$bin/gatetally-search")
row "gatetally-search --card $card" "$(median_ms "${gs[@]}" --card "$card" "$big")" \
    "$(peak_kib "${gs[@]}" --card "$card" "$big")" "$(report_count "${gs[@]}" --card "$card" "$big")"
row "rg -F -c $card" "$(median_ms rg -F -c "$card" "$big")" "$(peak_kib rg -F -c "$card" "$big")" \
    "$(rg -F -c "$card" "$big")"
row "grep -F -c $card" "$(median_ms grep -F -c "$card" "$big")" "$(peak_kib grep -F -c "$card" "$big")" \
    "$(grep -F -c "$card" "$big")"
row "gatetally-search --csv --card $card" "$(median_ms "${gs[@]}" --csv --card "$card" "$big")" \
    "$(peak_kib "${gs[@]}" --csv --card "$card" "$big")" "$(csv_count "${gs[@]}" --csv --card "$card" "$big")"
row "gatetally-search --facility $facility" "$(median_ms "${gs[@]}" --facility $facility "$big")" \
    "$(peak_kib "${gs[@]}" --facility $facility "$big")" "$(report_count "${gs[@]}" --facility $facility "$big")"
# Tens of thousands of rows: what writing CSV costs beside the report.
row "gatetally-search --csv --facility $facility" "$(median_ms "${gs[@]}" --csv --facility $facility "$big")" \
    "$(peak_kib "${gs[@]}" --csv --facility $facility "$big")" \
    "$(csv_count "${gs[@]}" --csv --facility $facility "$big")"
range=(--from "$from_date 9:00 AM" --to "$to_date 5:00 PM")
row "gatetally-search (3-day range)" "$(median_ms "${gs[@]}" "${range[@]}" "$big")" \
    "$(peak_kib "${gs[@]}" "${range[@]}" "$big")" "$(report_count "${gs[@]}" "${range[@]}" "$big")"
row "mawk (3-day range)" "$(median_ms mawk "$awk_range" "$big")" "$(peak_kib mawk "$awk_range" "$big")" \
    "$(mawk "$awk_range" "$big")"
