#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <cstdio>
#include <string>

#include "scripted_dialogs.h"
#include "test_main_window.h"
#include "ui/export/export_flow.h"
#include "ui/main_window/main_window.h"
#include "window_runs.h"

namespace {

// A paused run in a window of 1200 x 800, its plot points every dT seconds, and a folder for the exports.
struct PausedRun {
    SimRecords records;
    ScriptedDialogs dialogs;
    TestMainWindow window{records, dialogs};
    QTemporaryDir out;

    PausedRun(Extended dT, std::int32_t points) {
        window.resize(1200, 800);
        window.show();
        records.CurSettings.setDT(dT);
        // Run and Pause as the user clicks them, which offers the exports; then the replay to the length.
        window.controlRun(window.runButton);
        window.controlRun(window.pauseButton);
        records.PlotCount = points;
        replayToEnd(window);
    }
    // The file dialog's answer for the next export.
    void answer(const char* name) { dialogs.saveAnswers.push_back(out.filePath(QString::fromLatin1(name))); }
    void untilWritten() {
        while (window.exports()->writing())
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
};

// A kilobyte figure of /proc/self/status, such as VmRSS or VmHWM.
double statusMegabytes(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(static_cast<int>(std::char_traits<char>::length(field)) + 1)
                       .trimmed()
                       .split(' ')
                       .front()
                       .toDouble() /
                   1024;
    return 0;
}

// Export Picture as the window's thread pays for it: from the request (the file dialog answered at once)
// until the handler returns. Encoding and writing follow on the writer's thread, outside the timing.
void BM_ExportPictureRequest(benchmark::State& state) {
    PausedRun run(86400, 36525);
    for (auto _ : state) {
        run.answer("orbit.png");
        run.window.exportPicture();
        state.PauseTiming();
        run.untilWritten();
        state.ResumeTiming();
    }
    if (!QFile::exists(run.out.filePath(QStringLiteral("orbit.png"))))
        state.SkipWithError("no picture written");
}
BENCHMARK(BM_ExportPictureRequest)->Unit(benchmark::kMillisecond);

// Export Track of a hundred years of daily points, on the window's thread: the request until its progress
// box is up and the handler returns.
void BM_ExportTrackRequest(benchmark::State& state) {
    PausedRun run(86400, 36525);
    for (auto _ : state) {
        run.answer("track.csv");
        run.window.exportTrack();
        state.PauseTiming();
        run.untilWritten();
        state.ResumeTiming();
    }
    if (!QFile::exists(run.out.filePath(QStringLiteral("track.csv"))))
        state.SkipWithError("no table written");
    state.counters["kept MB"] = static_cast<double>(run.window.keptPoints().bytesUsed()) / 1e6;
}
BENCHMARK(BM_ExportTrackRequest)->Unit(benchmark::kMillisecond);

// The memory a whole track export takes beyond the kept points, on a hundred years of hourly points
// (876,600 of them, 70 MB kept): the peak resident size during the export less the size before it.
void BM_ExportTrackOfAnHourlyCentury(benchmark::State& state) {
    PausedRun run(3600, 876600);
    for (auto _ : state) {
        // Resets the peak the kernel keeps, so that the replay's own peak is not counted.
        if (FILE* f = std::fopen("/proc/self/clear_refs", "w")) {
            std::fputs("5", f);
            std::fclose(f);
        }
        const double before = statusMegabytes("VmRSS:");
        run.answer("track.csv");
        run.window.exportTrack();
        run.untilWritten();
        if (!QFile::exists(run.out.filePath(QStringLiteral("track.csv"))))
            state.SkipWithError("no table written");
        state.counters["export peak MB"] = statusMegabytes("VmHWM:") - before;
    }
    state.counters["kept MB"] = static_cast<double>(run.window.keptPoints().bytesUsed()) / 1e6;
}
BENCHMARK(BM_ExportTrackOfAnHourlyCentury)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
