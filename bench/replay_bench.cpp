#include <benchmark/benchmark.h>

#include "app/orbit_readout_wiring.h"
#include "core/run.h"
#include "idle_host.h"
#include "test_main_window.h"
#include "ui/common/platform_dialogs.h"
#include "ui/main_window/main_window.h"
#include "ui/orbit_readout/orbit_readout_window.h"
#include "window_runs.h"

namespace {

// Ten simulated years at the default plot interval: 3,650 plot points, 146,000 steps.
constexpr std::int32_t TenYears = 3650;

void BM_BareIntegration(benchmark::State& state) {
    SimRecords records;
    IdleHost host;
    for (auto _ : state) {
        records.CurState = records.CurSettings;
        records.PlotCount = 0;
        records.SimState = Running;
        benchmark::DoNotOptimize(Run(records, host, 0, TenYears));
    }
    state.SetItemsProcessed(state.iterations() * TenYears * 40);
}
BENCHMARK(BM_BareIntegration)->Unit(benchmark::kMillisecond);

// The replay that a zoom or a re-centring click runs after a long paused run, in a real (offscreen) window:
// crosses into the backing image and the window's events between slices included, driven by the run
// controller.
void replayBench(benchmark::State& state, bool readoutOpen) {
    SimRecords records;
    QtPlatformDialogs dialogs;
    TestMainWindow form(records, dialogs);
    form.resize(1200, 800);
    form.show();
    OrbitReadoutWindow readout(records, &form);
    followTheRun(form, readout);
    if (readoutOpen) readout.show();
    records.SimState = Paused;
    records.PlotCount = TenYears;
    for (auto _ : state) {
        replayToEnd(form);
        if (records.PlotCount != TenYears) state.SkipWithError("the replay did not reach its count");
    }
    state.SetItemsProcessed(state.iterations() * TenYears * 40);
}

void BM_Replay(benchmark::State& state) {
    replayBench(state, false);
}
BENCHMARK(BM_Replay)->Unit(benchmark::kMillisecond);

// The same with the Orbit Readout open: it must not make a replay slower.
void BM_ReplayReadoutOpen(benchmark::State& state) {
    replayBench(state, true);
}
BENCHMARK(BM_ReplayReadoutOpen)->Unit(benchmark::kMillisecond);

}  // namespace
