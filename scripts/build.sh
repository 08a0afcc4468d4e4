#!/usr/bin/env bash
# Configures and builds codecbench into ./build (BUILD_TYPE=Release by default), with JOBS
# parallel jobs (default: the number of processors).
set -euo pipefail
cd "$(dirname "$0")/.."
. ./scripts/jobs.sh
./scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-Release}"
cmake --build build -j"$JOBS"
