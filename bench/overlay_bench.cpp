#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include "core/run.h"
#include "test_main_window.h"
#include "ui/common/platform_dialogs.h"
#include "ui/main_window/main_window.h"
#include "ui/plot/plot_overlay.h"
#include "ui/plot/view_aids.h"
#include "window_runs.h"

namespace {

// Ten simulated years at the default plot interval: 3,650 plot points, 146,000 steps.
constexpr std::int32_t TenYears = 3650;

// The whole exact path of the default start, sampled and drawn into a fresh layer, as a zoom or a
// re-centring redraws it. Arguments: zoom-ins from the default scale, and the run's length in days.
void BM_ExactPathDraw(benchmark::State& state) {
    PlotOverlay overlay;
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
    for (auto _ : state) {
        layer.fill(Qt::transparent);
        QPainter p(&layer);
        overlay.paint(p, options, frame, QLatin1Char('.'));
    }
    state.counters["samples"] = overlay.sampleCount();
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

}  // namespace
