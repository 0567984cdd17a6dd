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

for tool in rg grep mawk /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "missing: $tool" >&2; exit 1; }
done

display=$work/display-32500.txt
big=$work/records-1000000.txt
[ -f "$display" ] || "$bin/gatetally-genrecords" --records 32500 --per-day 10000 --seed 1 "$display"
[ -f "$big" ] || "$bin/gatetally-genrecords" --records 1000000 --per-day 10000 --seed 2 "$big"
size=$(stat -c %s "$big")

echo "== full display (32,500 records, in memory, median of 50 searches)"
"$bin/gatetally-searchbench" --rounds 50 "$display"
echo

# Output goes to a file, not to /dev/null: grep notices /dev/null and stops
# at the first match.
out=$work/out.tmp

# Median wall time in milliseconds of $runs runs of a command.
median_ms() {
  local times=() t TIMEFORMAT=%3R
  for _ in $(seq "$runs"); do
    t=$( { time "$@" >"$out"; } 2>&1 )
    times+=("$(awk -v t="$t" 'BEGIN { printf "%d", t * 1000 + 0.5 }')")
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n "$(( (runs + 1) / 2 ))p"
}

# Peak resident memory in KiB of one run.
peak_kib() {
  /usr/bin/time -v -o "$out.time" "$@" >"$out"
  awk -F': ' '/Maximum resident set size/ {print $2}' "$out.time"
}

# Lines of a search-results report that are records (they start with a date).
report_count() { "$@" | grep -c '^ *[0-9]\{1,2\}/[0-9]\{1,2\}/[0-9]\{4\} ' || true; }

# Rows of a CSV listing (the header row is not one).
csv_count() { "$@" | tail -n +2 | wc -l; }

row() { printf '%-38s %8s ms %10s KiB %10s found\n' "$1" "$2" "$3" "$4"; }

cat "$big" >/dev/null # warm the page cache
card=$(sed -n '500000p' "$big" | cut -c54-59)
if [ -z "${card// /}" ]; then card=$(sed -n '500001p' "$big" | cut -c54-59); fi
facility=107
from_date="3/20/2006"
to_date="3/22/2006"

# The same date range as gatetally-search's --from 3/20/2006 9:00 AM --to 3/22/2006 5:00 PM,
# over the same lines (59 characters, not the column header).
awk_range='
{ sub(/\r$/, "") }
length($0) == 59 && substr($0, 54, 6) != "NUMBER" {
  n = split(substr($0, 1, 10), d, "/"); if (n != 3) next
  key = d[3] * 10000 + d[1] * 100 + d[2]
  t = substr($0, 14, 11); sub(/^ +/, "", t)
  split(t, p, /[: ]/); h = p[1] % 12; if (p[4] == "PM") h += 12
  s = h * 3600 + p[2] * 60 + p[3]
  if ((key > 20060320 && key < 20060322) || (key == 20060320 && s >= 32400) || (key == 20060322 && s <= 61200)) c++
}
END { print c + 0 }'

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
