#include <benchmark/benchmark.h>

#include <QPushButton>

#include "test_main_window.h"
#include "ui/common/platform_dialogs.h"
#include "ui/main_window/main_window.h"
#include "window_runs.h"

namespace {

// A hundred simulated years at the default plot interval, paused: 36,525 plot points, 1.46 million steps.
constexpr std::int32_t HundredYears = 36525;

struct PausedHundredYearRun {
    SimRecords records;
    QtPlatformDialogs dialogs;
    TestMainWindow window{records, dialogs};

    PausedHundredYearRun() {
        window.resize(1200, 800);
        window.show();
        records.SimState = Paused;
        records.PlotCount = HundredYears;
        replayToEnd(window);
    }
};

// A zoom that recomputes the run: what every zoom did before the points were kept.
void BM_ZoomByReplay(benchmark::State& state) {
    PausedHundredYearRun run;
    bool in = true;
    for (auto _ : state) {
        run.records.CurSettings.setSf(in ? run.records.CurSettings.sf() / 2
                                         : run.records.CurSettings.sf() * 2);
        in = !in;
        run.window.clearPlot();
        replayToEnd(run.window);
    }
    if (run.records.PlotCount != HundredYears) state.SkipWithError("the replay did not reach its count");
}
BENCHMARK(BM_ZoomByReplay)->Unit(benchmark::kMillisecond);

// The same zoom redrawn from the kept plot points.
void BM_ZoomFromKeptPoints(benchmark::State& state) {
    PausedHundredYearRun run;
    bool in = true;
    for (auto _ : state) {
        run.window.zoom(in ? run.window.zoomInButton : run.window.zoomOutButton);
        in = !in;
        if (!run.window.lastZoomUsedKeptPoints()) state.SkipWithError("the zoom recomputed the run");
    }
    state.counters["kept MB"] = static_cast<double>(run.window.keptPoints().bytesUsed()) / 1e6;
}
BENCHMARK(BM_ZoomFromKeptPoints)->Unit(benchmark::kMillisecond);

}  // namespace
