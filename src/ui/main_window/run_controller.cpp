#include "ui/main_window/run_controller.h"

#include <QApplication>
#include <algorithm>
#include <cmath>

namespace {

// While a modal dialog is open, how often the run looks whether it has closed.
constexpr int ModalPollMs = 20;

double pointsPerSecond(RunSpeed speed) {
    switch (speed) {
        case RunSpeed::Ten:
            return 100;
        case RunSpeed::Hundred:
            return 1000;
        default:
            return 0;
    }
}

}  // namespace

RunController::RunController(RunSession& session, PlotSink& sink, QObject* parent)
    : QObject(parent), session_(session), sink_(sink) {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &RunController::tick);
    clock_.start();
}

void RunController::setSpeed(RunSpeed speed) {
    speed_ = speed;
    owed_ = 0;
    lastTickNs_ = clock_.nsecsElapsed();
    // A run waiting out the Classic interval goes on at the new pace at once.
    if (session_.active() && timer_.isActive()) scheduleNext(0);
}

void RunController::kick() {
    owed_ = 0;
    lastTickNs_ = clock_.nsecsElapsed();
    scheduleNext(0);
}

void RunController::scheduleNext(int ms) {
    timer_.start(ms);
}

bool RunController::sliceFor(qint64 ns, std::int64_t maxPoints, std::int64_t& points) {
    const qint64 end = clock_.nsecsElapsed() + ns;
    const bool stepwise = static_cast<bool>(afterStep_);
    const bool replay = session_.replaying();
    points = 0;
    while (session_.active()) {
        // Plot points come every few dozen steps as a rule; this many steps between two looks at the clock
        // stay far under a millisecond when they do not.
        const SessionSlice slice = session_.advance(stepwise ? 1 : 4096, sink_);
        switch (slice.kind) {
            case SessionSlice::Idle:
                return false;
            case SessionSlice::Failed:
                emit failed(slice.error);
                return false;
            case SessionSlice::ReplayEnd:
                emit replayFinished();
                return false;
            case SessionSlice::PlotPoint:
                // Only a live run shows its elapsed time: a replay says nothing per point.
                if (!replay) {
                    ++points;
                    emit plotPointShown(QString::fromStdString(slice.daysText));
                }
                break;
            case SessionSlice::Budget:
                break;
        }
        if (stepwise) {
            // The hook may pause the run, or post clicks that the window serves before the next step.
            afterStep_();
            return session_.active();
        }
        if (points >= maxPoints || clock_.nsecsElapsed() >= end) return true;
    }
    return false;
}

void RunController::tick() {
    if (!session_.active()) return;
    // Qt's timers fire inside a modal dialog's own loop too: the run waits for the dialog.
    if (QApplication::activeModalWidget()) {
        scheduleNext(ModalPollMs);
        lastTickNs_ = clock_.nsecsElapsed();
        return;
    }
    std::int64_t points = 0;
    if (session_.replaying() || !paced_ || speed_ == RunSpeed::Fastest) {
        if (sliceFor(SliceNs, INT64_MAX, points)) scheduleNext(0);
        return;
    }
    if (speed_ == RunSpeed::Classic) {
        // One plot point, then the classic wait in the event loop.
        const bool more = sliceFor(SliceNs, 1, points);
        if (more) scheduleNext(points > 0 ? ClassicIntervalMs : 0);
        return;
    }
    // 10x and 100x: as many plot points as the clock says are due, never more than one slice's worth behind.
    const double rate = pointsPerSecond(speed_);
    const qint64 now = clock_.nsecsElapsed();
    const double sliceWorth = std::max(1.0, rate * SliceNs / 1e9 * 2);
    owed_ = std::min(owed_ + static_cast<double>(now - lastTickNs_) * rate / 1e9, sliceWorth);
    lastTickNs_ = now;
    const auto due = static_cast<std::int64_t>(owed_);
    bool more = true;
    if (due > 0) {
        more = sliceFor(SliceNs, due, points);
        owed_ -= static_cast<double>(points);
    }
    if (!more) return;
    // The next point falls due in this many milliseconds.
    const double untilNext = (1.0 - std::max(0.0, owed_ - std::floor(owed_))) / rate * 1000;
    scheduleNext(points < due ? 0 : std::max(1, static_cast<int>(std::ceil(untilNext))));
}
