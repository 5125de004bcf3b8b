#!/usr/bin/env bash
# Runs every test: unit tests on the host, then the Win32 and end-to-end tests under Wine on a
# virtual display of their own. Ends with one line "N passed, N failed".
set -uo pipefail
cd "$(dirname "$0")/.."
B=${TS_BUILD:-build}  # build folder; a separate one lets two builds run side by side
bash scripts/deps.sh || exit 1
bash scripts/build.sh || { echo "0 passed, 1 failed"; exit 1; }

passed=0
failed=0
results="$B/test-results"
rm -rf "$results"
mkdir -p "$results"

count() {  # adds up a GoogleTest XML report
    local xml=$1
    if [ -f "$xml" ]; then
        local t f d s
        t=$(grep -o 'tests="[0-9]*"' "$xml" | head -1 | grep -o '[0-9]*')
        f=$(grep -o 'failures="[0-9]*"' "$xml" | head -1 | grep -o '[0-9]*')
        d=$(grep -o 'disabled="[0-9]*"' "$xml" | head -1 | grep -o '[0-9]*')
        s=$(grep -c 'result="skipped"' "$xml")  # tests that need another desk, say
        passed=$((passed + t - f - ${d:-0} - s))
        failed=$((failed + f))
    fi
}

run_suite() {  # name, command...
    local name=$1
    shift
    echo "=== $name"
    if ! "$@" --gtest_output="xml:$results/$name.xml"; then
        [ -f "$results/$name.xml" ] || failed=$((failed + 1))
        suite_failed=1
    fi
    count "$results/$name.xml"
}

suite_failed=0
ts_given_prefix=${WINEPREFIX:-}
run_suite unit "$B/host"/unit_tests

# Each fuzz target for a few seconds, one test each, its new inputs in a corpus thrown away after.
echo "=== fuzz"
fuzz_corpus=$(mktemp -d)
TS_FUZZ_CORPUS=$fuzz_corpus bash scripts/fuzz.sh 3 | tee "$results/fuzz.txt"
rm -rf "$fuzz_corpus"
passed=$((passed + $(grep -c ' ok, ' "$results/fuzz.txt")))
failed=$((failed + $(grep -c 'FAILED' "$results/fuzz.txt")))

source scripts/wine-session.sh
for exe in win32_tests e2e_tests; do
    if [ -f "$B/win/$exe.exe" ]; then
        # Wine writes its reports as Windows paths; Z: is the root of the Linux file system.
        run_suite "$exe" timeout 900 wine "$B/win/$exe.exe"
    fi
done
wine_stop

# The layout test again at 144 and 192 DPI, each in a prefix of its own set to that DPI (a DPI is
# a prefix setting, read when the prefix's server starts). TS_DPI_PREFIX=/tmp/wp-dpi keeps the
# prefixes /tmp/wp-dpi144 and /tmp/wp-dpi192 between runs; without it each run makes its own.
if [ -f "$B/win/win32_tests.exe" ]; then
    for dpi in 144 192; do
        export WINEPREFIX=${TS_DPI_PREFIX:+$TS_DPI_PREFIX$dpi}
        [ -n "$WINEPREFIX" ] || unset WINEPREFIX
        source scripts/wine-session.sh
        wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
            >/dev/null 2>&1
        wineserver -k >/dev/null 2>&1 || true
        run_suite "dpi$dpi" timeout 300 wine "$B/win/win32_tests.exe" --gtest_filter='DpiLayout.*'
        wine_stop
    done
fi

# A short group once more on a desk of two monitors, the smaller one left of the primary (at
# negative coordinates), on a display and prefix of its own.
if [ -f "$B/win/e2e_tests.exe" ]; then
    if [ -n "$ts_given_prefix" ]; then export WINEPREFIX="$ts_given_prefix-heads"; else unset WINEPREFIX; fi
    export TS_SCREEN=1824x768x24 TS_HEADS="1024x768+800+0,800x600+0+0"
    source scripts/wine-session.sh
    run_suite e2e_two_monitors timeout 300 wine "$B/win/e2e_tests.exe" --gtest_filter='TwoMonitors.*'
    wine_stop
fi

# Formatting and clang-tidy count as one test each.
for check in format tidy; do
    echo "=== $check"
    if bash scripts/lint.sh "$check"; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
done

echo
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$suite_failed" -eq 0 ]
