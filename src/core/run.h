#pragma once

#include <cstdint>
#include <limits>
#include <string>

#include "core/sim_records.h"

// What the run loop needs of the window.
class RunHost {
public:
    virtual ~RunHost() = default;
    // Draws body Body's cross (0 = A, other = B) at NewPos in metres.
    virtual void drawBody(const TVector& NewPos, std::int32_t Body) = 0;
    // Shows the elapsed time: ElapsedLabel gets daysText, ElapsedUnitLabel "days".
    virtual void showElapsed(const std::string& daysText) = 0;
    virtual void sleepMs(std::int32_t ms) = 0;
    // Serves pending window events after the given number of steps (at least 1) since the last call.
    // Returns true when it actually ran (the caller then clears the floating-point flags that foreign code
    // may have left, and reads the records afresh: only handlers served here may change them during a run).
    virtual bool pumpEvents(std::int32_t steps) = 0;
    // How many steps the run may take, beyond the next one, before it calls pumpEvents: the host needs
    // nothing after each of them. The run writes the records back and calls pumpEvents no later than that,
    // and earlier at a plot point. 0 asks for a call after every step; AnyNumberOfSteps, from a host without
    // events to serve, leaves it to the plot points.
    virtual std::int32_t quietSteps() { return 0; }
    static constexpr std::int32_t AnyNumberOfSteps = std::numeric_limits<std::int32_t>::max();
    // Told after each plot point with the call's plot counter, so the window knows the count of a run whose
    // loop has not yet returned it.
    virtual void plotCounted(std::int32_t /*plotCounter*/) {}
    // The user's decimal separator for the elapsed text.
    virtual std::string decimalSeparator() const { return "."; }
};

// The integrator loop. Starts from records.CurState, returns the plot count (PlotCount at entry plus the
// plot points drawn). Delay: ms to sleep after each plot point. Count: 0 = live run, > 0 = replay of Count
// plot points. Throws FloatingPointError; CurState then holds the last completed step.
std::int32_t Run(SimRecords& records, RunHost& host, std::int32_t Delay, std::int32_t Count);
