#!/usr/bin/env bash
# Idle benchmark: the whole program with its main screen shown, listening on a
# pseudo-terminal on which nothing arrives, for 10 seconds. Reports the share
# of one core it used (user + system CPU time over wall time) and its peak
# memory. A PC that logs doors all year should see this near 0%.
#
#   bench/idle.sh [BUILD_DIR] [SECONDS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
seconds=${2:-10}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
work=$(mktemp -d)
trap 'kill $panel $app 2>/dev/null || true; rm -rf "$work"' EXIT

# A panel that is connected but silent: one message an hour.
"$build/bin/gatetally-panel" --pty --link "$work/line" --interval 3600000 --count 1 >/dev/null &
panel=$!
for _ in $(seq 50); do [ -e "$work/line" ] && break; sleep 0.1; done
"$build/bin/gatetally" --data-dir "$work/data" --port "$work/line" 2>/dev/null &
app=$!
# The sign-on screen hands over to the main screen after two seconds.
sleep 4
ticks() { awk '{print $14 + $15}' "/proc/$app/stat"; }
hz=$(getconf CLK_TCK)
before=$(ticks)
sleep "$seconds"
after=$(ticks)
rss=$(awk '/VmHWM/ {print $2}' "/proc/$app/status")
awk -v t=$((after - before)) -v hz="$hz" -v s="$seconds" -v rss="$rss" 'BEGIN {
    printf "idle, main screen shown, %d s: %.2f%% of one core (%d ticks), peak memory %.1f MB\n",
           s, 100 * t / hz / s, t, rss / 1024 }'
