#!/usr/bin/env bash
# Builds the host unit tests (build/host) and the Windows programs (build/win).
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${JOBS:-2}
if [ "${1:-all}" != win ]; then
    cmake -S . -B build/host -DCMAKE_BUILD_TYPE=Debug >/dev/null
    cmake --build build/host -j"$jobs"
fi
if [ "${1:-all}" != host ]; then
    cmake -S . -B build/win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
        -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build build/win -j"$jobs"
fi
