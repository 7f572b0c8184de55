#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "core/orbit_readout.h"
#include "core/t_state.h"

// One run of the sweep: the start record at one plot interval of the Settings menu, its cpT kept.
struct ConvergenceRow {
    enum class State {
        Waiting,  // not yet run (or the sweep was cancelled before it)
        Done,
        Failed,  // the run stopped on an error: failure holds its text
        NotRun,  // too many plot points: failure says how many
    };

    Extended plotInterval = 0;       // dT, s
    Extended step = 0;               // dT / cpT, s
    std::int64_t plotPoints = 0;     // the plot point the row is measured at
    Extended endDay = 0;             // that point's day: plotPoints x dT / 86400
    bool inFit = false;              // measured at the common time of the fit
    std::int64_t expectedSteps = 0;  // plotPoints x |cpT|, for the progress

    State state = State::Waiting;
    // In English, as tulvane-trace prints it. A window says it in the user's language from the error (Failed)
    // or from plotPoints and MaxPlotPoints (NotRun).
    std::string failure;
    std::exception_ptr error;

    // Done: each body's distance from the exact orbit at the integrator's own time (none without an exact
    // orbit), the drifts since the start, and how many steps the closest approach takes.
    Quantity errorA, errorB;
    Quantity energyDrift, angularMomentumDrift;
    Quantity stepsAcrossClosestApproach;
    // What the error is measured against: below floorLevel it is rounding (the 80-bit floor), above
    // saturationLevel it says only that the run has lost the orbit.
    Extended floorLevel = 0, saturationLevel = 0;

    // log(e_i / e_i-1) / log(h_i / h_i-1) against the previous row of the fit, e the larger body error.
    Quantity observedOrder;
    bool usedInOrderFit = false;
};

// A sweep's rows with their orders filled in.
struct ConvergenceResult {
    std::vector<ConvergenceRow> rows;  // shortest interval first
    // The least-squares slope of log error against log step over the rows of the fit that are neither at the
    // floor nor saturated; none with fewer than two such rows.
    Quantity fittedOrder;
    Extended fitDay = 0;  // the common time of the fit, days
};

// How the error of the classic integrator falls as the step shrinks: the start record run at every plot
// interval of the Settings menu that reaches the end time with a plot point, each run compared with the exact
// orbit. Rows of the fit are all measured at one common time T* (a whole multiple of their intervals); longer
// intervals are measured at their last plot point not after it, and are not in the fit.
//
// The runs are independent: start() spreads them over worker threads, each run a task that stops between two
// slices when cancelled. A row's numbers do not depend on the number of workers or the order of the tasks.
class ConvergenceSweep {
public:
    // Rows needing more plot points than this are not run.
    static constexpr std::int64_t MaxPlotPoints = 5000000;
    // The common time may fall this far short of the end time: longer intervals join the fit only as long as
    // their least common multiple keeps T* above it.
    static constexpr Extended FitTimeShare = 0.95L;

    // until: the end time T in seconds, positive.
    ConvergenceSweep(const TState& start, Extended until);
    ~ConvergenceSweep();
    ConvergenceSweep(const ConvergenceSweep&) = delete;
    ConvergenceSweep& operator=(const ConvergenceSweep&) = delete;

    // One period for a bound orbit, else 365.25 days; in seconds.
    static Extended defaultUntil(const TState& start);

    // The rows as planned, before any run.
    const std::vector<ConvergenceRow>& plan() const { return plan_; }
    Extended fitDay() const { return fitDay_; }

    // Runs the rows on `workers` threads (at least 1) and returns at once. Call once.
    void start(unsigned workers);
    // Asks the runs to stop at their next slice.
    void cancel() { cancelled_.store(true, std::memory_order_relaxed); }
    // Waits for the workers.
    void wait();
    // start() and wait().
    ConvergenceResult run(unsigned workers);

    bool cancelled() const { return cancelled_.load(std::memory_order_relaxed); }
    bool finished() const { return finishedRows_.load(std::memory_order_acquire) == plan_.size(); }
    // Steps taken so far over all rows, and the steps of all rows that run.
    std::int64_t stepsDone() const { return stepsDone_.load(std::memory_order_relaxed); }
    std::int64_t stepsTotal() const { return stepsTotal_; }

    // The rows as they stand, the orders filled in from the rows done so far.
    ConvergenceResult snapshot() const;

    // Fills in the local orders and the fit from the rows' errors; the rows' states decide which take part.
    static Quantity fillOrders(std::vector<ConvergenceRow>& rows);

private:
    void work();
    void runRow(std::size_t index);

    TState start_;
    std::vector<ConvergenceRow> plan_;
    Extended fitDay_ = 0;
    std::int64_t stepsTotal_ = 0;
    // Rows in the order the workers take them: the longest runs first, one for each worker but one, then the
    // rest shortest-first, so that the short runs come in at once and the long ones do not end the sweep
    // late.
    std::vector<std::size_t> order_;

    mutable std::mutex mutex_;
    std::vector<ConvergenceRow> rows_;  // under mutex_
    std::atomic<std::size_t> nextTask_{0};
    std::atomic<std::size_t> finishedRows_{0};
    std::atomic<std::int64_t> stepsDone_{0};
    std::atomic<bool> cancelled_{false};
    std::vector<std::thread> workers_;
};

// The sweep as CSV, as tulvane-trace --convergence prints it: a header and one line per row, each ending in
// a line feed; a field without a value is empty.
std::string convergenceCsv(const ConvergenceResult& result);
