#!/usr/bin/env bash
# Builds the host unit tests ($B/host) and the Windows programs ($B/win); B is TS_BUILD or build.
set -euo pipefail
cd "$(dirname "$0")/.."
B=${TS_BUILD:-build}  # build folder; a separate one lets two builds run side by side
jobs=${JOBS:-2}
if [ "${1:-all}" != win ]; then
    cmake -S . -B "$B/host" -DCMAKE_BUILD_TYPE=Debug >/dev/null
    cmake --build "$B/host" -j"$jobs"
fi
if [ "${1:-all}" != host ]; then
    cmake -S . -B "$B/win" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
        -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$B/win" -j"$jobs"
fi
