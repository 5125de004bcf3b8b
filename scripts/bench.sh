#!/usr/bin/env bash
# Builds and runs the benchmarks under Wine on a virtual display; prints figures, judges nothing.
set -euo pipefail
cd "$(dirname "$0")/.."
B=${TS_BUILD:-build}
bash scripts/deps.sh
bash scripts/build.sh win
source scripts/wine-session.sh
wine "$B/win/win32_bench.exe"
