#!/usr/bin/env bash
# Results benchmark: opening a results screen of 32,500 and of 1,000,000
# results (offscreen, until the list is first painted), printing a listing of
# 32,500 results to PDF, and the memory gatetally-search needs for a file
# without line ends.
#
#   bench/results.sh [BUILD_DIR] [WORK_DIR]
#
# BUILD_DIR defaults to build/; WORK_DIR (default: a fresh temporary folder)
# receives the PDF and the file without line ends. GATETALLY_SEARCH names
# another gatetally-search to measure (an older build, say). Needs
# /usr/bin/time.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
work=${2:-$(mktemp -d)}
mkdir -p "$work"
bin=$build/bin
runs=3
export QT_QPA_PLATFORM=offscreen

command -v /usr/bin/time >/dev/null || { echo "missing: /usr/bin/time" >&2; exit 1; }

. "$root/bench/lib.sh"

# Median of $runs runs of field $1 (a number in ms) printed by the command.
field_median() {
  local field=$1; shift
  for _ in $(seq "$runs"); do "$@" 2>/dev/null | awk -v f="$field" '{print $f}'; done | median
}

echo "== results screen, median of $runs runs (ms to the first paint)"
for n in 32500 1000000; do
  printf '%-28s %6s ms\n' "open $n results" "$(field_median 4 "$bin/gatetally-resultsbench" --open "$n")"
  printf '%-28s %6s ms\n' "open $n results, names" "$(field_median 4 "$bin/gatetally-resultsbench" --open "$n" --names)"
done

echo "== printed listing, median of $runs runs"
pdf=$work/listing-32500.pdf
printf '%-28s %6s ms\n' "build the 32500-line listing" \
  "$(field_median 4 "$bin/gatetally-resultsbench" --print 32500 --pdf "$pdf")"
printf '%-28s %6s ms\n' "render it to PDF" \
  "$(field_median 10 "$bin/gatetally-resultsbench" --print 32500 --pdf "$pdf")"
printf '%-28s %6s pages, %s bytes\n' "" "$(grep -c '/Type /Page\b' "$pdf" || true)" "$(stat -c %s "$pdf")"

echo "== gatetally-search over a file without line ends (peak resident memory)"
flat=$work/no-line-ends.txt
[ -f "$flat" ] || head -c $((256 * 1024 * 1024)) /dev/zero | tr '\0' 'x' >"$flat"
search=${GATETALLY_SEARCH:-$bin/gatetally-search}
/usr/bin/time -v -o "$work/time.txt" "$search" --card 1 "$flat" >/dev/null
printf '%-28s %6s KiB\n' "256 MiB, no line end" "$(awk -F': ' '/Maximum resident set size/ {print $2}' "$work/time.txt")"
