#!/usr/bin/env bash
# Installs what is missing, builds, and starts codecbench on the emulated board.
set -euo pipefail
cd "$(dirname "$0")/.."
# The program needs a screen: say so before installing and building, rather than let Qt fail.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "run.sh: no display (DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM are unset); start it on a desktop, or headless with: xvfb-run ./scripts/run.sh" >&2
  exit 1
fi
./scripts/build.sh
export BOARDHID_BACKEND=emulator
exec ./build/bin/codecbench
