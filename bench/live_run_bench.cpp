#include <benchmark/benchmark.h>

#include <QAction>
#include <QPushButton>

#include "app/orbit_readout_wiring.h"
#include "core/run_session.h"
#include "test_main_window.h"
#include "ui/common/platform_dialogs.h"
#include "ui/main_window/main_window.h"
#include "ui/orbit_readout/orbit_readout_window.h"
#include "window_runs.h"

namespace {

// Enough plot points that the start and the pause are lost in the rate: 200 days, 8,000 steps, per run.
constexpr std::int32_t PointsPerRun = 20000;

struct NoCrosses : PlotSink {
    void drawBody(const TVector&, Body) override {}
};

// The bare rate of the session: its steps and plot points, no window, no clock, no event.
void BM_SessionAdvance(benchmark::State& state) {
    SimRecords records;
    NoCrosses sink;
    for (auto _ : state) {
        RunSession session(records);
        session.makeReady();
        session.start();
        std::int64_t points = 0;
        while (points < PointsPerRun)
            if (session.advance(4096, sink).kind == SessionSlice::PlotPoint) ++points;
        session.pause();
    }
    state.SetItemsProcessed(state.iterations() * PointsPerRun);
    state.SetLabel("plot points");
}
BENCHMARK(BM_SessionAdvance)->Unit(benchmark::kMillisecond);

// A live run at Fastest in a real (offscreen) window, as the user starts it: crosses into the plot, the
// elapsed days on the panel, and the window's events between slices. Items are plot points.
void liveRunFastest(benchmark::State& state, bool readoutOpen) {
    SimRecords records;
    QtPlatformDialogs dialogs;
    TestMainWindow form(records, dialogs);
    form.resize(1200, 800);
    form.show();
    // A window of its own, so the readout's repaints cost what they cost beside the plot.
    OrbitReadoutWindow readout(records);
    followTheRun(form, readout);
    if (readoutOpen) readout.show();
    form.runSpeedActions.back()->trigger();
    std::int32_t shown = 0;
    QObject::connect(&form, &MainWindow::plotPointDrawn, &form, [&](const QString&) {
        if (++shown == PointsPerRun) form.controlRun(form.pauseButton);
    });
    for (auto _ : state) {
        shown = 0;
        form.controlRun(form.runButton);
        untilStill(form);
        form.controlRun(form.resetButton);
        if (shown != PointsPerRun) state.SkipWithError("the run did not reach its count");
    }
    state.SetItemsProcessed(state.iterations() * PointsPerRun);
    state.SetLabel("plot points");
}

void BM_LiveRunFastest(benchmark::State& state) {
    liveRunFastest(state, false);
}
BENCHMARK(BM_LiveRunFastest)->Unit(benchmark::kMillisecond);

void BM_LiveRunFastestReadoutOpen(benchmark::State& state) {
    liveRunFastest(state, true);
}
BENCHMARK(BM_LiveRunFastestReadoutOpen)->Unit(benchmark::kMillisecond);

}  // namespace
