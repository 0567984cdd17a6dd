#!/usr/bin/env bash
# Receive benchmark: 32,500 messages from gatetally-panel --burst into the
# running receiver (real QSerialPort on a pseudo-terminal, autosave on), with
# and without the main screen; a steady stream onto a nearly full display;
# and the receive path alone through an in-memory line; each once more without
# fdatasync of the autosave file, to show what syncing costs.
#
#   bench/receive.sh [BUILD_DIR]
#
# BUILD_DIR defaults to build/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} exec "$build/bin/gatetally-receivebench"
