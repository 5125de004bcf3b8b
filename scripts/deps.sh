#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only when something is missing.
# `deps.sh release`: only what scripts/package.sh needs (the Windows build, git, python3).
set -euo pipefail
need=()
have() { command -v "$1" >/dev/null 2>&1; }
install() {  # "" or --no-install-recommends, then the packages
    local recommends=$1
    shift
    echo "Installing: $*"
    export DEBIAN_FRONTEND=noninteractive
    [ -n "${updated:-}" ] || apt-get update -qq
    updated=1
    apt-get install -y -qq $recommends "$@" >/dev/null
}
have cmake || need+=(cmake)
have x86_64-w64-mingw32-g++-posix || need+=(g++-mingw-w64-x86-64-posix mingw-w64)
have python3 || need+=(python3)
if [ "${1:-}" = release ]; then
    have git || need+=(git)
    [ ${#need[@]} -eq 0 ] || install --no-install-recommends "${need[@]}"
    exit 0
fi
have g++ || need+=(g++)
have wine || need+=(wine wine64)
[ -x /usr/lib/wine/wine64 ] || [ -x /usr/bin/wine64 ] || need+=(wine64)
have Xvfb || need+=(xvfb)
have xdpyinfo || need+=(x11-utils)
[ -f /usr/src/googletest/googletest/CMakeLists.txt ] || need+=(googletest)
[ -f /usr/include/gtest/gtest.h ] || need+=(libgtest-dev)
# By its package: a `convert` elsewhere on the PATH may be something else.
dpkg -s imagemagick >/dev/null 2>&1 || need+=(imagemagick)
dpkg -s fonts-wine >/dev/null 2>&1 || need+=(fonts-wine)
dpkg -s fonts-liberation >/dev/null 2>&1 || need+=(fonts-liberation)
have clang-format || need+=(clang-format)
have clang-tidy || need+=(clang-tidy)
# The fuzz targets (scripts/fuzz.sh): clang and its libFuzzer runtime.
{ have clang++ && [ -f "$(clang++ -print-runtime-dir)/libclang_rt.fuzzer-x86_64.a" ]; } ||
    need+=(clang libclang-rt-dev)
# With recommends: Wine's X11 driver uses the X extension libraries they bring.
[ ${#need[@]} -eq 0 ] || install "" "${need[@]}"
# The print test: a PDF printer (CUPS and its PDF back end, set up by printer-session.sh), the
# CUPS library through which Wine finds printers, and pdftoppm to render the printed pages.
# Without recommends: no printer discovery or colour daemons.
print_need=()
dpkg -s libcups2 >/dev/null 2>&1 || print_need+=(libcups2)
[ -x /usr/sbin/cupsd ] || print_need+=(cups)
[ -x /usr/lib/cups/backend/cups-pdf ] || print_need+=(printer-driver-cups-pdf)
have pdftoppm || print_need+=(poppler-utils)
[ ${#print_need[@]} -eq 0 ] || install --no-install-recommends "${print_need[@]}"
