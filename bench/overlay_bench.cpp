#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include <QSlider>

#include "app/orbit_readout_wiring.h"
#include "core/run.h"
#include "test_main_window.h"
#include "ui/common/platform_dialogs.h"
#include "ui/initial_state/initial_state_dialog.h"
#include "ui/main_window/main_window.h"
#include "ui/orbit_readout/orbit_readout_window.h"
#include "ui/plot/plot_overlay.h"
#include "ui/plot/view_aids.h"
#include "window_runs.h"

namespace {

// Ten simulated years at the default plot interval: 3,650 plot points, 146,000 steps.
constexpr std::int32_t TenYears = 3650;

// The whole exact path of the default start, sampled and drawn into a fresh layer, as a zoom or a
// re-centring redraws it. Arguments: zoom-ins from the default scale, and the run's length in days.
void BM_ExactPathDraw(benchmark::State& state) {
    OverlayFrame frame;
    frame.start = defaultSettings();
    frame.sf = 1e9L / static_cast<Extended>(1 << state.range(0));
    frame.elapsed = static_cast<Extended>(state.range(1)) * 86400;
    frame.colorA = Qt::yellow;
    frame.colorB = Qt::red;
    frame.background = Qt::blue;
    frame.size = QSize(1200, 800);
    OverlayOptions options;
    options.exactPath = true;
    QImage layer(frame.size, QImage::Format_ARGB32_Premultiplied);
    int samples = 0;
    for (auto _ : state) {
        // A fresh overlay each time: a kept one would keep its path and build nothing.
        PlotOverlay overlay;
        layer.fill(Qt::transparent);
        QPainter p(&layer);
        overlay.paint(p, options, frame, QLatin1Char('.'));
        samples = overlay.sampleCount();
    }
    state.counters["samples"] = samples;
}
BENCHMARK(BM_ExactPathDraw)
    ->ArgsProduct({{0, 1, 3}, {0, 3650}})
    ->ArgNames({"zoomIns", "days"})
    ->Unit(benchmark::kMillisecond);

// BM_Replay with all three view aids on: nothing is drawn per point, the overlay once at the end.
void BM_ReplayWithViewAids(benchmark::State& state) {
    SimRecords records;
    QtPlatformDialogs dialogs;
    TestMainWindow form(records, dialogs);
    form.resize(1200, 800);
    form.show();
    form.viewAids()->setExactPath(true);
    form.viewAids()->setScaleBar(true);
    form.viewAids()->setOffscreenMarkers(true);
    records.SimState = Paused;
    records.PlotCount = TenYears;
    for (auto _ : state) {
        replayToEnd(form);
        if (records.PlotCount != TenYears) state.SkipWithError("the replay did not reach its count");
    }
    state.SetItemsProcessed(state.iterations() * TenYears * 40);
}
BENCHMARK(BM_ReplayWithViewAids)->Unit(benchmark::kMillisecond);

// One step of the readout's timeline on a paused 1000-year run at the daily interval, with the exact path
// on: the readout shows the chosen point, the plot rings both bodies there, and the window repaints. The path
// was built once when the run paused; a step must not build it again.
void BM_TimelineStep(benchmark::State& state) {
    constexpr std::int32_t ThousandYears = 365250;
    SimRecords records;
    QtPlatformDialogs dialogs;
    TestMainWindow form(records, dialogs);
    InitialStateDialog dialog(
        records, [&form](const TVector& p, Body b) { form.drawBody(p, b); }, &form);
    OrbitReadoutWindow readout(records);
    wireOrbitReadout(form, dialog, readout);
    form.resize(1600, 1000);
    form.show();
    form.orbitReadoutAction->setChecked(true);
    form.viewAids()->setExactPath(true);
    records.SimState = Paused;
    records.PlotCount = ThousandYears;
    replayToEnd(form);
    QCoreApplication::processEvents();
    QSlider* timeline = readout.timeline();
    if (!timeline->isEnabled() || timeline->maximum() < 1000) {
        state.SkipWithError("the timeline has no points to walk");
        return;
    }
    const int builds = form.viewAids()->overlay().pathBuilds();
    int at = timeline->maximum();
    for (auto _ : state) {
        at = at > timeline->minimum() ? at - 1 : timeline->maximum();
        timeline->setValue(at);
        QCoreApplication::processEvents();
    }
    if (form.viewAids()->overlay().pathBuilds() != builds)
        state.SkipWithError("a timeline step built the path");
    state.counters["keptPoints"] = static_cast<double>(form.keptPoints().size());
}
BENCHMARK(BM_TimelineStep)->Unit(benchmark::kMicrosecond);

}  // namespace
