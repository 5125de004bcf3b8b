#!/usr/bin/env bash
# The checks a tool can make: clang-format over the whole tree, clang-tidy over the product code
# (compiled as the MinGW build compiles it). Prints one line per check: "format: ok" or what failed.
# Usage: lint.sh [format|tidy]... (both when none is named). Exit status 1 when a check failed.
set -uo pipefail
cd "$(dirname "$0")/.."
B=${TS_BUILD:-build}
checks=("$@")
[ ${#checks[@]} -gt 0 ] || checks=(format tidy)
status=0

sources() { git ls-files "$@" 2>/dev/null || find "$@" -type f; }

for check in "${checks[@]}"; do
    case $check in
    format)
        if sources '*.cpp' '*.h' | xargs clang-format --dry-run -Werror; then
            echo "format: ok"
        else
            echo "format: files differ from .clang-format (clang-format -i fixes them)"
            status=1
        fi
        ;;
    tidy)
        # The compile commands of the Windows build; clang-tidy parses them for the MinGW target and
        # needs the cross compiler's C++ headers named, since clang looks for its own.
        db="$B/tidy"
        cmake -S . -B "$db" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
            -DCMAKE_BUILD_TYPE=Release -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null || exit 1
        extra=(--extra-arg=--target=x86_64-w64-mingw32)
        while read -r dir; do
            case $dir in */c++*) extra+=("--extra-arg=-isystem$dir") ;; esac
        done < <(echo | x86_64-w64-mingw32-g++-posix -xc++ -E -v - 2>&1 |
            sed -n '/search starts here/,/End of search/p' | sed -n 's/^ //p')
        findings=$(sources app win zoom hints capture hotkeys tray settings colors pick access | grep '\.cpp$' |
            xargs -P "${JOBS:-2}" -n 4 clang-tidy -p "$db" --quiet "${extra[@]}" 2>/dev/null |
            grep -E '(warning|error):' | sort -u)
        if [ -n "$findings" ]; then
            echo "$findings"
            echo "tidy: the findings above"
            status=1
        else
            echo "tidy: ok"
        fi
        ;;
    *) echo "lint.sh: unknown check $check" >&2; exit 2 ;;
    esac
done
exit $status
