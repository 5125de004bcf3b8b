// Runs the benchmarks and prints their figures; nothing here passes or fails.
#include <cstdio>

#include "win/Application.h"

void RunZoomBenchmarks();
void RunTickBenchmarks();
void RunSaveBenchmarks();
void RunColorsBenchmarks();

int main() {
    auto& app = win::Application();
    app.SetTitle(L"Tintsnatch 4");
    app.SetName(L"Tintsnatch4");
    app.Initialize();
    RunZoomBenchmarks();
    RunTickBenchmarks();
    RunSaveBenchmarks();
    RunColorsBenchmarks();
    std::fflush(stdout);
    return 0;
}
