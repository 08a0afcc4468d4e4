#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (Qt on the offscreen platform), the
# check that an install of the build starts among them.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j"$(nproc)"
