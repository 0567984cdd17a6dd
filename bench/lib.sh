# Shared pieces of the benchmark scripts: sourced by bench/run and by the
# single-topic scripts beside it, so that every one of them times, counts and
# generates its data the same way. Callers set $bin (the build's bin folder)
# and $out (a scratch file for the output of timed commands).

# The median of the numbers on standard input, one a line.
median() { sort -n | awk '{ v[NR] = $1 } END { if (NR) print v[int((NR + 1) / 2)] }'; }

# Wall time in milliseconds of one run of a command, its output to $out (not
# to /dev/null: grep notices /dev/null and stops at the first match).
wall_ms() {
  local t TIMEFORMAT=%3R
  t=$( { time "$@" >"$out" 2>/dev/null; } 2>&1 )
  awk -v t="$t" 'BEGIN { printf "%d\n", t * 1000 + 0.5 }'
}

# Median wall time in milliseconds of $1 runs of the command that follows.
median_ms_n() {
  local n=$1; shift
  for _ in $(seq "$n"); do wall_ms "$@"; done | median
}

# Peak resident memory in KiB of one run of a command.
peak_kib() {
  /usr/bin/time -f %M -o "$out.time" "$@" >"$out" 2>/dev/null
  tail -n 1 "$out.time"
}

# Writes FILE with N records the way autosave lays them out (10,000 a day),
# unless it is already there: gen_records N SEED FILE
gen_records() {
  mkdir -p "$(dirname "$3")"
  [ -f "$3" ] || "$bin/gatetally-genrecords" --records "$1" --per-day 10000 --seed "$2" "$3" >/dev/null
}

# A card number that the file holds: the one of its middle line.
pick_card() {
  local lines card
  lines=$(wc -l <"$1")
  card=$(sed -n "$((lines / 2))p" "$1" | tr -d '\r' | cut -c54-59)
  [ -n "${card// /}" ] || card=$(sed -n "$((lines / 2 + 1))p" "$1" | tr -d '\r' | cut -c54-59)
  echo "$card"
}

# Record lines of a search-results report (they start with a date).
report_count() { "$@" | grep -c '^ *[0-9]\{1,2\}/[0-9]\{1,2\}/[0-9]\{4\} ' || true; }

# Rows of a CSV listing (the header row is not one).
csv_count() { "$@" | tail -n +2 | wc -l; }

# A mawk program that applies gatetally-search's --from "$1 9:00 AM" --to
# "$2 5:00 PM" to the same lines (59 characters, not the column header) and
# counts them; dates as YYYYMMDD: awk_range 20060320 20060322
awk_range() {
  cat <<AWK
{ sub(/\r\$/, "") }
length(\$0) == 59 && substr(\$0, 54, 6) != "NUMBER" {
  n = split(substr(\$0, 1, 10), d, "/"); if (n != 3) next
  key = d[3] * 10000 + d[1] * 100 + d[2]
  t = substr(\$0, 14, 11); sub(/^ +/, "", t)
  split(t, p, /[: ]/); h = p[1] % 12; if (p[4] == "PM") h += 12
  s = h * 3600 + p[2] * 60 + p[3]
  if ((key > $1 && key < $2) || (key == $1 && s >= 32400) || (key == $2 && s <= 61200)) c++
}
END { print c + 0 }
AWK
}

# Fails unless every tool named is there.
need_tools() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null || { echo "missing: $tool" >&2; return 1; }
  done
}
