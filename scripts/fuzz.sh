#!/usr/bin/env bash
# Builds the fuzz targets of tests/fuzz (clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for the given seconds (60 when none are given),
# printing per target the inputs run and the coverage libFuzzer reached, or FAILED with where the
# input that broke it is kept. New inputs go to $TS_FUZZ_CORPUS/<target> ($B/fuzz/corpus unless
# set); the seeds beside the targets are only read. Exit status 1 when a target failed.
# Usage: fuzz.sh [seconds]
set -uo pipefail
cd "$(dirname "$0")/.."
B=${TS_BUILD:-build}
seconds=${1:-60}
corpus=${TS_FUZZ_CORPUS:-$B/fuzz/corpus}
out="$B/fuzz"
mkdir -p "$out"
if ! { cmake -S tests/fuzz -B "$out" -DCMAKE_CXX_COMPILER=clang++ \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null &&
        cmake --build "$out" -j"${JOBS:-2}" >"$out/build.log" 2>&1; }; then
    cat "$out/build.log"
    echo "fuzz targets: build FAILED"
    exit 1
fi

status=0
for src in tests/fuzz/*.cpp; do
    name=$(basename "$src" .cpp)
    mkdir -p "$corpus/$name" "$out/crashes/$name"
    seeds=()
    [ -d "tests/fuzz/seeds/$name" ] && seeds=("tests/fuzz/seeds/$name")
    log="$out/$name.log"
    # A hang counts as a failure: -timeout bounds each input, as -max_total_time bounds the run.
    "$out/$name" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$out/crashes/$name/" "$corpus/$name" "${seeds[@]}" >"$log" 2>&1
    rc=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
    if [ $rc -eq 0 ]; then
        printf '%-18s ok, %9s runs, cov %s\n' "$name:" "${runs:-?}" "${cov:-?}"
    else
        printf '%-18s FAILED after %s runs: %s\n' "$name:" "${runs:-?}" \
            "$(grep -m1 -E 'does not hold|SUMMARY|ERROR' "$log")"
        echo "    log $log, input kept in $out/crashes/$name/"
        status=1
    fi
done
exit $status
