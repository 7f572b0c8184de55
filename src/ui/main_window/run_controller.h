#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <exception>
#include <functional>

#include "core/run_session.h"

// How fast a live run is shown. Only the pacing changes: every speed computes the same steps, plot points and
// crosses.
enum class RunSpeed {
    Classic,  // one plot point every 100 ms, as the program always ran
    Ten,      // 100 plot points a second
    Hundred,  // 1,000 plot points a second
    Fastest,  // as fast as the window can show them
};

// Drives the run session from the event loop: a timer starts each slice, a slice computes for at most a few
// milliseconds, and between slices, and during the wait between plot points, the window serves its events at
// once. No handler ever runs inside a run. While a modal dialog is open the run stands still, as the user
// expects of a dialog that asks something; it goes on when the dialog closes.
class RunController : public QObject {
    Q_OBJECT
public:
    RunController(RunSession& session, PlotSink& sink, QObject* parent = nullptr);

    void setSpeed(RunSpeed speed);
    RunSpeed speed() const { return speed_; }

    // The session has a run or replay under way: drive it.
    void kick();

    // Milliseconds between two plot points of a Classic run.
    static constexpr int ClassicIntervalMs = 100;
    // The longest a slice computes before the window serves its events.
    static constexpr qint64 SliceNs = 8'000'000;

signals:
    // A live run's plot point was drawn; the text is its elapsed days.
    void plotPointShown(const QString& daysText);
    // A replay drew its last plot point; the run is Paused.
    void replayFinished();
    // The run or replay failed; the run stands still where the session left it.
    void failed(std::exception_ptr error);

private:
    void tick();
    // Runs slices until a plot point, the end, a failure or the slice's time is up; true to go on at once.
    bool sliceFor(qint64 ns, std::int64_t maxPoints, std::int64_t& points);
    void scheduleNext(int ms);

    RunSession& session_;
    PlotSink& sink_;
    QTimer timer_;
    QElapsedTimer clock_;
    RunSpeed speed_ = RunSpeed::Classic;
    // Tests run it step by step through RunControllerSeams: without pacing a live run goes on at once after a
    // plot point; with a step hook every slice is a single step and the hook is called after it, so a test
    // can act on any step.
    friend struct RunControllerSeams;
    bool paced_ = true;
    std::function<void()> afterStep_;
    // Plot points owed to the user at 10x and 100x, and when they were last counted.
    double owed_ = 0;
    qint64 lastTickNs_ = 0;
};
