#pragma once
// Timing helpers of the benchmarks: wall-clock microseconds per call, subject against baseline.
#include <algorithm>
#include <cstdio>
#include <functional>

#include "win/Platform.h"

namespace bench {

// Wall-clock microseconds per call of f over about 40 ms. Under Wine much of a screen read
// happens in the X server, outside this process's CPU time, so wall time it is.
inline double OneRun(const std::function<void()>& f) {
    LARGE_INTEGER freq, start, now;
    QueryPerformanceFrequency(&freq);
    QueryPerformanceCounter(&start);
    long long calls = 0;
    double elapsed = 0;
    do {
        for (int i = 0; i < 10; ++i) f();
        calls += 10;
        QueryPerformanceCounter(&now);
        elapsed = double(now.QuadPart - start.QuadPart) * 1e6 / double(freq.QuadPart);
    } while (elapsed < 40'000);
    return elapsed / double(calls);
}

struct Pair {
    double subject, baseline;
};

// The subject and its baseline in alternating runs, the best run of each: other processes share
// the machine, and alternating keeps a busy spell from landing on one side only.
inline Pair Compare(const std::function<void()>& subject, const std::function<void()>& baseline) {
    for (int i = 0; i < 20; ++i) {
        subject();
        baseline();
    }
    Pair best{OneRun(subject), OneRun(baseline)};
    for (int round = 1; round < 9; ++round) {
        best.subject = std::min(best.subject, OneRun(subject));
        best.baseline = std::min(best.baseline, OneRun(baseline));
    }
    return best;
}

inline void Row(const char* what, const Pair& p, const char* baseName) {
    std::printf("  %-38s %8.2f us/call   %-37s %8.2f us   ratio %.2f\n", what, p.subject, baseName,
                p.baseline, p.subject / p.baseline);
}

}  // namespace bench
