#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QPixmap>

#include "core/run_session.h"
#include "ui/graphs/graphs_dock.h"

namespace {

class NoPlot : public PlotSink {
public:
    void drawBody(const TVector&, Body) override {}
};

// Opening the Graphs dock on a run of a hundred years, a plot point a day (36,525 kept points): the graphs
// computed from the kept points, the series set, and the dock painted once.
void BM_GraphsDockOpen(benchmark::State& state) {
    SimRecords records;
    RunSession session(records);
    session.start();
    NoPlot sink;
    for (int points = 0; points < 36525;)
        if (session.advance(1 << 20, sink).kind == SessionSlice::PlotPoint) ++points;
    session.pause();
    for (auto _ : state) {
        GraphsDock dock(nullptr);
        dock.keptPointsSource = [&session] { return &session.keptPoints(); };
        dock.keptPointsStartSource = [&session] { return session.runStart(); };
        dock.resize(420, 700);
        dock.show();
        benchmark::DoNotOptimize(dock.grab());
        state.PauseTiming();
        dock.hide();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["kept_points"] = static_cast<double>(session.keptPoints().size());
}
BENCHMARK(BM_GraphsDockOpen)->Unit(benchmark::kMillisecond);

}  // namespace
