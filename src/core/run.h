#pragma once

#include <cstdint>
#include <limits>
#include <string>

#include "core/run_loop.h"
#include "core/sim_records.h"

// What a run driven from start to end in one call needs of its caller: a headless tool, a test, a benchmark.
class RunHost : public PlotSink {
public:
    // Shows the elapsed time: ElapsedLabel gets daysText, ElapsedUnitLabel "days".
    virtual void showElapsed(const std::string& daysText) = 0;
    virtual void sleepMs(std::int32_t ms) = 0;
    // Called after the given number of steps (at least 1) since the last call. Returns true when it ran
    // foreign code (the records are then read afresh: it may have changed them, or SimState to end the run).
    virtual bool pumpEvents(std::int32_t steps) = 0;
    // How many steps the run may take, beyond the next one, before it calls pumpEvents. 0 asks for a call
    // after every step; AnyNumberOfSteps leaves it to the plot points.
    virtual std::int32_t quietSteps() { return 0; }
    static constexpr std::int32_t AnyNumberOfSteps = std::numeric_limits<std::int32_t>::max();
    // The user's decimal separator for the elapsed text.
    virtual std::string decimalSeparator() const { return "."; }
};

// The integrator loop in one call, while records.SimState is Running: starts from records.CurState, returns
// the plot count (PlotCount at entry plus the plot points drawn). Delay: ms to sleep after each plot point.
// Count: 0 = live run, > 0 = replay of Count plot points. Throws FloatingPointError; CurState then holds the
// last completed step.
std::int32_t Run(SimRecords& records, RunHost& host, std::int32_t Delay, std::int32_t Count);
