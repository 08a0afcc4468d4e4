#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (Qt on the offscreen platform), the
# check that an install of the build starts among them. JOBS sets how many build jobs and tests
# run at once (default: the number of processors).
set -euo pipefail
cd "$(dirname "$0")/.."
. ./scripts/jobs.sh
./scripts/build.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j"$JOBS"
