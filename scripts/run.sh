#!/usr/bin/env bash
# Installs what is missing, builds, and starts codecbench on the emulated board.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build.sh
export BOARDHID_BACKEND=emulator
exec ./build/bin/codecbench
