#include "core/convergence_sweep.h"

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <limits>
#include <numeric>

#include "core/integration_error.h"
#include "core/kepler_propagation.h"
#include "core/orbit_drift.h"
#include "core/orbit_fp_guard.h"
#include "core/plot_intervals.h"
#include "core/run_loop.h"
#include "core/track_csv.h"

namespace {

constexpr Extended SecondsPerDay = 86400;
constexpr Extended DaysPerYear = 365.25L;
// Steps a run takes between two looks at the cancel flag, at most (a plot point ends a slice anyway).
constexpr std::int64_t SliceSteps = 65536;
// The error has lost the orbit once it is this share of the bodies' separation.
constexpr Extended SaturationShare = 0.1L;
// The x87 control word a task starts from: 64-bit significand, to nearest, every exception masked.
constexpr std::uint16_t CleanControlWord = 0x037F;

// A sink for runs that draw nothing.
class NoPlot : public PlotSink {
public:
    void drawBody(const TVector&, Body) override {}
};

// plotPoints x dT / 86400, rounded as the panel's elapsed days are.
Extended daysAt(std::int64_t plotPoints, Extended dT) {
    Extended days = static_cast<Extended>(plotPoints) * dT;
    return days / SecondsPerDay;
}

// n as a count, saturated at the largest int64 (n >= 0).
std::int64_t countOf(Extended n) {
    constexpr Extended Largest = static_cast<Extended>(std::numeric_limits<std::int64_t>::max());
    return n >= Largest ? std::numeric_limits<std::int64_t>::max() : static_cast<std::int64_t>(n);
}

Extended largerError(const ConvergenceRow& r) {
    return std::max(*r.errorA, *r.errorB);
}

bool hasErrors(const ConvergenceRow& r) {
    return r.state == ConvergenceRow::State::Done && r.errorA && r.errorB;
}

void appendField(std::string& line, const Quantity& q) {
    line += ',';
    if (q) line += exactText(*q);
}

}  // namespace

ConvergenceSweep::ConvergenceSweep(const TState& start, Extended until) : start_(start) {
    OrbitFpGuard guard;
    const Extended cpT = start.cpT();
    const std::int64_t stepsPerPoint = std::llabs(static_cast<long long>(start.cpT()));
    if (!(until > 0) || !isFiniteValue(until)) return;

    // The rows the end time allows, and which of them can be run at all.
    for (const PlotIntervalItem& item : PlotIntervals) {
        const Extended needed = std::floor(until / item.seconds);
        if (needed < 1) continue;
        ConvergenceRow row;
        row.plotInterval = item.seconds;
        row.step = item.seconds / cpT;
        row.plotPoints = countOf(needed);
        if (needed > MaxPlotPoints) {
            row.state = ConvergenceRow::State::NotRun;
            row.failure = "needs " + std::to_string(row.plotPoints) + " plot points; runs of more than " +
                          std::to_string(MaxPlotPoints) + " are not made";
        }
        plan_.push_back(row);
    }

    // The fit's common time: the least common multiple of its intervals, as many whole times as fit in the
    // end time. Each longer interval joins while that keeps the common time near the end time.
    std::uint64_t lcm = 0;
    Extended fitTime = 0;
    for (ConvergenceRow& row : plan_) {
        if (row.state == ConvergenceRow::State::NotRun) continue;
        const auto interval = static_cast<std::uint64_t>(row.plotInterval);
        const std::uint64_t joined = lcm == 0 ? interval : std::lcm(lcm, interval);
        const Extended common = std::floor(until / joined) * joined;
        if (lcm != 0 && common < FitTimeShare * until) break;
        lcm = joined;
        fitTime = common;
        row.inFit = true;
    }
    fitDay_ = fitTime / SecondsPerDay;

    for (ConvergenceRow& row : plan_) {
        if (row.state == ConvergenceRow::State::NotRun) continue;
        // Longer rows end at their last plot point not after the common time, or, when they have none by
        // then, at their last one not after the end time.
        if (fitTime > 0) {
            const Extended n = std::floor(fitTime / row.plotInterval);
            if (n >= 1) row.plotPoints = countOf(n);
        }
        row.expectedSteps = row.plotPoints * stepsPerPoint;
        stepsTotal_ += row.expectedSteps;
    }
    for (ConvergenceRow& row : plan_) row.endDay = daysAt(row.plotPoints, row.plotInterval);
    rows_ = plan_;
    finishedRows_ =
        static_cast<std::size_t>(std::count_if(plan_.begin(), plan_.end(), [](const ConvergenceRow& r) {
            return r.state != ConvergenceRow::State::Waiting;
        }));
}

ConvergenceSweep::~ConvergenceSweep() {
    cancel();
    wait();
}

Extended ConvergenceSweep::defaultUntil(const TState& start) {
    const KeplerPropagation exact(start);
    if (const auto period = exact.period()) return *period;
    return DaysPerYear * SecondsPerDay;
}

void ConvergenceSweep::start(unsigned workers) {
    std::vector<std::size_t> toRun;
    for (std::size_t i = 0; i < plan_.size(); ++i)
        if (plan_[i].state == ConvergenceRow::State::Waiting) toRun.push_back(i);
    const std::size_t threads = std::clamp<std::size_t>(workers, 1, std::max<std::size_t>(1, toRun.size()));

    // The longest runs first, one per worker but one; the rest coarse first, for the last worker.
    std::vector<std::size_t> byCost = toRun;
    // Ties keep the menu's order. (std::sort with the index, not std::stable_sort, whose temporary buffer
    // AddressSanitizer reports as taken with new and given back with free under GCC 12.)
    std::sort(byCost.begin(), byCost.end(), [this](std::size_t a, std::size_t b) {
        const std::int64_t ca = plan_[a].expectedSteps, cb = plan_[b].expectedSteps;
        return ca != cb ? ca > cb : a < b;
    });
    const std::size_t early = std::min(threads - 1, byCost.size());
    order_.assign(byCost.begin(), byCost.begin() + static_cast<std::ptrdiff_t>(early));
    for (auto it = toRun.rbegin(); it != toRun.rend(); ++it)
        if (std::find(order_.begin(), order_.end(), *it) == order_.end()) order_.push_back(*it);

    for (std::size_t i = 0; i < threads; ++i) workers_.emplace_back([this] { work(); });
}

void ConvergenceSweep::wait() {
    for (std::thread& t : workers_)
        if (t.joinable()) t.join();
    workers_.clear();
}

ConvergenceResult ConvergenceSweep::run(unsigned workers) {
    start(workers);
    wait();
    return snapshot();
}

void ConvergenceSweep::work() {
    for (;;) {
        const std::size_t task = nextTask_.fetch_add(1);
        if (task >= order_.size() || cancelled()) return;
        runRow(order_[task]);
    }
}

void ConvergenceSweep::runRow(std::size_t index) {
    // A task starts clean, whatever the thread ran before: no flag left over, the run's own control word.
    std::feclearexcept(FE_ALL_EXCEPT);
    std::uint16_t control;
    asm volatile("fnstcw %0" : "=m"(control));
    if (control != CleanControlWord) asm volatile("fldcw %0" : : "m"(CleanControlWord));

    ConvergenceRow row = plan_[index];
    TState start = start_;
    start.setDT(row.plotInterval);
    SimRecords records;
    records.CurSettings = start;
    records.CurState = start;
    records.PlotCount = 0;
    records.SimState = Running;

    std::int64_t steps = 0;
    try {
        // A replay of plotPoints points: the same loop, steps and errors as a run of the program.
        RunLoop loop(records, static_cast<std::int32_t>(row.plotPoints));
        NoPlot sink;
        for (;;) {
            if (cancelled()) return;
            const RunSlice slice = loop.advance(SliceSteps, sink, false);
            steps += slice.steps;
            stepsDone_.fetch_add(slice.steps, std::memory_order_relaxed);
            if (slice.kind == RunSlice::ReplayEnd) break;
        }
    } catch (const std::exception& e) {
        row.state = ConvergenceRow::State::Failed;
        row.failure = e.what();
        row.error = std::current_exception();
    }

    if (row.state != ConvergenceRow::State::Failed) {
        OrbitFpGuard guard;
        row.state = ConvergenceRow::State::Done;
        // The integrator's own time: its steps times its step, which the plot points' count x dT is not when
        // the step counter's wrap restarts the plot rhythm.
        const Extended dt = start.dT() / start.cpT();
        const Extended time = static_cast<Extended>(steps) * dt;
        const TVector a = records.CurState.APos();
        const TVector b = records.CurState.BPos();
        const KeplerPropagation exact(start);
        if (const auto e = integrationError(exact, time, a, b)) {
            row.errorA = e->bodyA;
            row.errorB = e->bodyB;
        }
        if (const auto there = exact.at(time)) {
            const Extended size = std::max({std::fabs(there->positionA.u), std::fabs(there->positionA.v),
                                            std::fabs(there->positionB.u), std::fabs(there->positionB.v)});
            row.floorLevel = static_cast<Extended>(steps) * LDBL_EPSILON * size;
            const TVector apart{there->positionB.u - there->positionA.u,
                                there->positionB.v - there->positionA.v};
            row.saturationLevel = SaturationShare * std::hypot(apart.u, apart.v);
        }
        const OrbitReadout atStart = readOrbit(start);
        const DriftGauge drift = driftGauge(atStart, readOrbit(records.CurState));
        row.energyDrift = drift.energy.value;
        row.angularMomentumDrift = drift.angularMomentum.value;
        row.stepsAcrossClosestApproach = atStart.stepsAcrossPeriapsis;
    }

    const std::lock_guard<std::mutex> lock(mutex_);
    rows_[index] = std::move(row);
    finishedRows_.fetch_add(1, std::memory_order_release);
}

ConvergenceResult ConvergenceSweep::snapshot() const {
    ConvergenceResult result;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        result.rows = rows_;
    }
    result.fittedOrder = fillOrders(result.rows);
    result.fitDay = fitDay_;
    return result;
}

Quantity ConvergenceSweep::fillOrders(std::vector<ConvergenceRow>& rows) {
    OrbitFpGuard guard;
    const ConvergenceRow* previous = nullptr;
    std::vector<std::pair<Extended, Extended>> points;  // log step, log error
    for (ConvergenceRow& row : rows) {
        row.observedOrder.reset();
        row.usedInOrderFit = false;
        if (!row.inFit) continue;
        if (!hasErrors(row)) {
            previous = nullptr;
            continue;
        }
        const Extended error = largerError(row);
        const Extended step = std::fabs(row.step);
        if (previous) {
            const Extended before = largerError(*previous);
            const Extended order = std::log(error / before) / std::log(step / std::fabs(previous->step));
            if (error > 0 && before > 0 && isFiniteValue(order)) row.observedOrder = order;
        }
        previous = &row;
        if (error > row.floorLevel && error > 0 && error < row.saturationLevel && step > 0) {
            row.usedInOrderFit = true;
            points.emplace_back(std::log(step), std::log(error));
        }
    }
    if (points.size() < 2) return std::nullopt;
    Extended meanX = 0, meanY = 0;
    for (const auto& [x, y] : points) {
        meanX += x;
        meanY += y;
    }
    meanX /= static_cast<Extended>(points.size());
    meanY /= static_cast<Extended>(points.size());
    Extended sxy = 0, sxx = 0;
    for (const auto& [x, y] : points) {
        sxy += (x - meanX) * (y - meanY);
        sxx += (x - meanX) * (x - meanX);
    }
    const Extended slope = sxy / sxx;
    if (!isFiniteValue(slope)) return std::nullopt;
    return slope;
}

std::string convergenceCsv(const ConvergenceResult& result) {
    std::string out =
        "plot_interval_s,step_s,plot_points,end_day,error_a_m,error_b_m,energy_drift,angular_momentum_drift,"
        "steps_across_closest_approach,observed_order,in_fit\n";
    for (const ConvergenceRow& row : result.rows) {
        out += exactText(row.plotInterval);
        out += ',' + exactText(row.step);
        out += ',' + std::to_string(row.plotPoints);
        out += ',' + exactText(row.endDay);
        const bool done = row.state == ConvergenceRow::State::Done;
        for (const Quantity* q : {&row.errorA, &row.errorB, &row.energyDrift, &row.angularMomentumDrift,
                                  &row.stepsAcrossClosestApproach, &row.observedOrder})
            appendField(out, done ? *q : std::nullopt);
        out += row.inFit ? ",yes\n" : ",no\n";
    }
    return out;
}
