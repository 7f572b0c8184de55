#pragma once

#include <cstdint>
#include <string>

#include "core/sim_records.h"
#include "core/step_frame.h"
#include "core/vector_math.h"

// Where a run's crosses go: the plot view, or nothing for a headless run.
class PlotSink {
public:
    virtual ~PlotSink() = default;
    // Draws body's cross at NewPos in metres; may throw the mapping's error.
    virtual void drawBody(const TVector& NewPos, Body body) = 0;
    // Told after each plot point's crosses with the call's plot counter, CurState holding the point.
    virtual void plotCounted(std::int32_t /*plotCounter*/) {}
};

// What one slice of a run ended on.
struct RunSlice {
    enum Kind {
        Budget,     // the steps allowed were taken, between two plot points
        PlotPoint,  // a plot point was reached and drawn
        ReplayEnd,  // a replay reached its last plot point
    };
    Kind kind = Budget;
    // Steps taken in the slice.
    std::int64_t steps = 0;
    // A live plot point's elapsed days, as the panel shows them.
    std::string daysText;
};

// One call of the integrator: the live run from a Run or a resume until it pauses or fails, or a replay of
// Count plot points. It starts from records.CurState, goes in slices of bounded length, and writes the
// records back at the end of each, so that code between two slices may read or change any of them; the next
// slice reads them afresh. The plot rhythm, the step counter's wrap at a million steps and the errors are
// those of one loop run from start to end.
class RunLoop {
public:
    static constexpr std::int32_t StepCounterWrap = 1000000;

    // Count: 0 for a live run, else the plot points of a replay. The plot counter starts at PlotCount.
    RunLoop(SimRecords& records, std::int32_t count, std::string decimalSeparator = ".");
    RunLoop(const RunLoop&) = delete;
    RunLoop& operator=(const RunLoop&) = delete;

    // Draws the entry marks at CurState and sets the step up: the first advance does it when not done before.
    // Throws as advance does.
    void enter(PlotSink& sink);
    // Takes steps until a plot point, the end of a replay, or maxSteps (at least 1). outsideCodeRan says that
    // code ran since the last slice (a handler, the window system): the records are then read afresh and the
    // flags it left cleared; without it, flags left since are the next step's own. Throws FloatingPointError
    // (or the sink's error); CurState then holds the last completed step and the loop must not be advanced
    // again.
    RunSlice advance(std::int64_t maxSteps, PlotSink& sink, bool outsideCodeRan = true);

    // The plot counter: PlotCount at the start plus the plot points drawn since.
    std::int32_t plotCounter() const { return plotCounter_; }
    // Whether the last step taken ended on a plot point (true before the first).
    bool atPlotPoint() const { return atPlotPoint_; }
    bool replay() const { return count_ > 0; }

private:
    void writeBack();

    SimRecords& r_;
    std::int32_t count_;
    std::string separator_;
    RunStep step_;  // the assembly, or the C++ definition in a reference build
    Extended dt_ = 0;
    int pendingFlags_ = 0;
    bool begun_ = false;
    bool nextIsCopy_ = false;
    bool atPlotPoint_ = true;
    std::int32_t stepCounter_ = 0;
    std::int32_t plotCounter_ = 0;
    std::int32_t cpTSeen_ = 0;    // the plot rhythm's cpT: never a valid divisor at first
    std::int64_t remainder_ = 0;  // steps since the last plot point, modulo |cpT|
};
