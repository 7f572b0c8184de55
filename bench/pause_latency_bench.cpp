#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTimer>
#include <algorithm>
#include <vector>

#include "posted_click.h"
#include "test_main_window.h"
#include "ui/common/platform_dialogs.h"
#include "ui/main_window/main_window.h"
#include "window_runs.h"

namespace {

// From a click on Pause to the panel saying "Paused", at random phases of a Classic run's 100 ms rhythm: the
// wait a user feels. Run under Xvfb with QT_QPA_PLATFORM=xcb for the real window system's share.
void BM_PauseLatency(benchmark::State& state) {
    SimRecords records;
    QtPlatformDialogs dialogs;
    TestMainWindow form(records, dialogs);
    form.resize(1200, 800);
    form.show();
    form.runSpeedActions.front()->trigger();
    std::vector<double> ms;
    for (auto _ : state) {
        form.controlRun(form.runButton);
        QElapsedTimer clock;
        bool clicked = false;
        QTimer::singleShot(300 + QRandomGenerator::global()->bounded(100), &form, [&] {
            clock.start();
            clicked = true;
            postClick(form.pauseButton);
        });
        while (!clicked || form.runStateLabel->text() != QLatin1String("Paused"))
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        const double took = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        ms.push_back(took);
        state.SetIterationTime(took / 1000);
        form.controlRun(form.resetButton);
    }
    std::sort(ms.begin(), ms.end());
    state.counters["median_ms"] = ms[ms.size() / 2];
    state.counters["worst_ms"] = ms.back();
}
BENCHMARK(BM_PauseLatency)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);

}  // namespace
