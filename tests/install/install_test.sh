#!/usr/bin/env bash
# Installs the build into a temporary prefix and runs the installed programs:
# they must start from there, and the desktop entry and icon must be where a
# Linux desktop looks for them.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

version=$("$prefix/bin/gatetally" --version)
[ "$version" = "Gatetally 2.1.0" ] || { echo "installed gatetally --version said: $version"; exit 1; }
"$prefix/bin/gatetally-search" --help | grep -q -- "--card" || { echo "installed gatetally-search --help lacks --card"; exit 1; }
for f in share/applications/gatetally.desktop share/icons/hicolor/scalable/apps/gatetally.svg share/gatetally/helpmain.txt; do
  [ -s "$prefix/$f" ] || { echo "missing $f"; exit 1; }
done
grep -qx "Exec=gatetally" "$prefix/share/applications/gatetally.desktop"

# The systemd user unit an administrator may enable: the installed program by
# its full path, started again after a crash, with the graphical session.
unit="$prefix/lib/systemd/user/gatetally.service"
[ -s "$unit" ] || { echo "missing lib/systemd/user/gatetally.service"; exit 1; }
for line in "ExecStart=$prefix/bin/gatetally" "Restart=on-failure" "After=graphical-session.target" \
            "PartOf=graphical-session.target" "WantedBy=graphical-session.target"; do
  grep -qxF "$line" "$unit" || { echo "gatetally.service lacks the line $line"; cat "$unit"; exit 1; }
done
[ "$(awk '/^\[/{s=$0} /^ExecStart=/{print s}' "$unit")" = "[Service]" ] || { echo "ExecStart outside [Service]"; exit 1; }
[ "$(awk '/^\[/{s=$0} /^WantedBy=/{print s}' "$unit")" = "[Install]" ] || { echo "WantedBy outside [Install]"; exit 1; }

# The installed program keeps its data in the user's folder, not beside itself.
export HOME="$prefix/home" XDG_DATA_HOME="$prefix/home/.local/share" QT_QPA_PLATFORM=offscreen
timeout 10 "$prefix/bin/gatetally" --port /dev/null-gatetally-none >/dev/null 2>&1 &
pid=$!
for _ in $(seq 50); do
  [ -e "$XDG_DATA_HOME/Quorvel/Gatetally/setup.txt" ] && break
  sleep 0.1
done
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
[ -e "$XDG_DATA_HOME/Quorvel/Gatetally/setup.txt" ] || { echo "no setup.txt in the per-user data folder"; ls -R "$prefix" | head -40; exit 1; }
[ ! -e "$prefix/bin/setup.txt" ] || { echo "setup.txt written beside the installed program"; exit 1; }
echo "installed programs run"
