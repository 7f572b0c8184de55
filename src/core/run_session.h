#pragma once

#include <cstdint>
#include <exception>
#include <optional>
#include <string>

#include "core/plot_track.h"
#include "core/run_loop.h"
#include "core/sim_records.h"

// What one advance of the session ended on.
struct SessionSlice {
    enum Kind {
        Idle,       // no run or replay is under way: nothing was done
        Budget,     // the steps allowed were taken, between two plot points
        PlotPoint,  // a live run's plot point was drawn
        ReplayEnd,  // a replay drew its last plot point and the run is Paused
        Failed,     // a step or a cross failed; the run stands still
    };
    Kind kind = Idle;
    std::int64_t steps = 0;
    // PlotPoint: the elapsed days as the panel shows them.
    std::string daysText;
    // Failed: the error, to be reported as it was thrown, and its text.
    std::exception_ptr error;
    std::string failure;
};

// The run of the program: its state (Ready, Running, Paused), the integrator call under way, the plot count,
// the steps taken since the run's start, the plot points kept for the timeline and the zoom, and a request to
// end the program that waits for the run to stand still. It has no clock and no window: whoever drives it
// calls advance() in slices and shows what each slice reports, and every change of SimState, PlotCount and
// CurState at the run's moves is made here.
//
// A live run goes on until it is paused; a replay until it has drawn PlotCount plot points again. A failure
// ends the call where it happened: a live run stays Running (Pause then stops it) with PlotCount as it was
// when the call began, a replay is Paused.
class RunSession {
public:
    explicit RunSession(SimRecords& records);

    SimRecords& records() { return r_; }
    const SimRecords& records() const { return r_; }

    // The run's moves, each from the one state that allows it; false (and nothing changed) otherwise.
    // Ready -> Running, from CurSettings.
    bool start();
    // Running -> Paused, after the last complete step: PlotCount takes the call's count.
    bool pause();
    // Paused -> Running, from CurState: the entry marks, then cpT steps to the next plot point.
    bool resume();
    // Paused -> Ready.
    bool reset();
    // Paused: the run again from CurSettings up to its PlotCount plot points, at whatever scale CurSettings
    // has now. Running until advance reports its end, then Paused.
    bool replay();
    // Paused: the run stands at its last kept point, n = PlotCount, as a replay would leave it: the caller
    // has drawn the kept points. Only when keptPointsMatchReplay().
    void restoreFromKeptPoints();
    // Ready, whatever was before: the program's start.
    void makeReady();

    // Takes up to maxSteps steps of the run or replay under way, up to its next plot point, and draws the
    // crosses on sink. Code outside may change any record between two calls.
    SessionSlice advance(std::int64_t maxSteps, PlotSink& sink);
    // Whether a live run or a replay is under way: advance has work to do.
    bool active() const { return loop_.has_value(); }
    bool replaying() const { return loop_ && (loop_->replay() || marksOnly_); }

    // A request to end the program: carried out once nothing is under way.
    void requestExit() { exitRequested_ = true; }
    bool exitRequested() const { return exitRequested_; }
    bool exitDue() const { return exitRequested_ && !active(); }

    // The run's clock: steps taken since the run (or replay) started from runStart(), across pauses.
    std::int64_t stepsTaken() const { return stepsTaken_; }
    const TState& runStart() const { return trackStart_; }

    // The plot points of the current run, as computed; every replay rebuilds them.
    const PlotTrack& keptPoints() const { return track_; }
    // Whether the kept points are what a replay would compute now: the run's start values unchanged, no
    // point thinned out, no live run failed part-way, and every resume taken where a replay would have
    // stepped on.
    bool keptPointsMatchReplay() const;
    // Thinning starts after this many kept points, from the next run or replay.
    void setKeptPointCapacity(std::size_t n) { track_.setCapacity(n); }

    // The user's decimal separator for the elapsed days.
    void setDecimalSeparator(std::string separator) { separator_ = std::move(separator); }

private:
    class Tracking;
    void beginCall(std::int32_t count);
    void startTrack();

    SimRecords& r_;
    std::optional<RunLoop> loop_;
    std::string separator_ = ".";
    bool exitRequested_ = false;
    std::int64_t stepsTaken_ = 0;
    // Whether the last step of the run ended on a plot point: a resume then keeps the replay's rhythm.
    bool atPlotPoint_ = true;
    PlotTrack track_;
    TState trackStart_{};
    bool trackMatchesReplay_ = false;
    // A replay of no plot point: its first advance draws the start marks and ends it.
    bool marksOnly_ = false;
};
