#include "core/convergence_sweep.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "core/fp_error.h"
#include "core/integration_error.h"
#include "core/kepler_propagation.h"
#include "core/orbit_drift.h"
#include "core/run_session.h"
#include "orbit_test_states.h"

namespace {

using namespace orbit_test;
using State = ConvergenceRow::State;

bool sameBits(Extended a, Extended b) {
    return std::memcmp(&a, &b, 10) == 0;
}

bool sameBits(const Quantity& a, const Quantity& b) {
    return a.has_value() == b.has_value() && (!a || sameBits(*a, *b));
}

// The default start's sweep to its first period, as the Lab and the trace open it: intervals up to a day
// share a least common multiple of 25 days, so the fit is measured at day 1350 of 1356.6.
TEST(ConvergencePlan, DefaultStartIsMeasuredAtACommonDayAndLongerIntervalsAtTheirLastPointBeforeIt) {
    const TState s = defaultSettings();
    const Extended until = ConvergenceSweep::defaultUntil(s);
    EXPECT_NEAR(static_cast<double>(until / Day), 1356.6, 0.05);
    const ConvergenceSweep sweep(s, until);
    ASSERT_EQ(sweep.plan().size(), 12u);
    EXPECT_EQ(sweep.fitDay(), 1350);
    const struct {
        Extended interval;
        std::int64_t points;
        bool inFit;
    } expected[] = {{60, 1944000, true},   {100, 1166400, true}, {1000, 116640, true},  {3600, 32400, true},
                    {10000, 11664, true},  {86400, 1350, true},  {100000, 1166, false}, {604800, 192, false},
                    {1000000, 116, false}, {2626560, 44, false}, {10000000, 11, false}, {31557600, 3, false}};
    for (std::size_t i = 0; i < 12; ++i) {
        const ConvergenceRow& row = sweep.plan()[i];
        SCOPED_TRACE(static_cast<double>(row.plotInterval));
        EXPECT_EQ(row.plotInterval, expected[i].interval);
        EXPECT_EQ(row.plotPoints, expected[i].points);
        EXPECT_EQ(row.inFit, expected[i].inFit);
        EXPECT_EQ(row.step, row.plotInterval / 40);
        EXPECT_EQ(row.state, State::Waiting);
        // Never after the common day, and the next point would be.
        EXPECT_LE(row.endDay, 1350);
        EXPECT_GT((row.plotPoints + 1) * row.plotInterval / Day, 1350);
    }
    EXPECT_EQ(sweep.plan().back().endDay, 1095.75L);
}

TEST(ConvergencePlan, RowsBeyondFiveMillionPlotPointsAreNotRunAndSayWhy) {
    // A hundred years: the minute and 100-second rows would need tens of millions of points.
    const ConvergenceSweep century(defaultSettings(), 100 * 365.25L * Day);
    const auto& rows = century.plan();
    ASSERT_EQ(rows.size(), 12u);
    EXPECT_EQ(rows[0].state, State::NotRun);
    EXPECT_EQ(rows[0].plotPoints, 52596000);
    EXPECT_EQ(rows[0].failure, "needs 52596000 plot points; runs of more than 5000000 are not made");
    EXPECT_EQ(rows[1].state, State::NotRun);
    EXPECT_FALSE(rows[0].inFit);
    EXPECT_EQ(rows[2].state, State::Waiting);
    EXPECT_TRUE(rows[2].inFit);

    // A near-parabolic bound orbit's period: a billion points even at a year; and beyond 2^31 - 1, which no
    // plot counter reaches.
    for (const Extended until : {3.2e16L, 1e18L}) {
        const ConvergenceSweep nearParabola(defaultSettings(), until);
        for (const ConvergenceRow& row : nearParabola.plan()) {
            EXPECT_EQ(row.state, State::NotRun);
            EXPECT_GT(row.plotPoints, until > 1e17L ? 2147483647 : ConvergenceSweep::MaxPlotPoints);
        }
        EXPECT_EQ(nearParabola.stepsTotal(), 0);
        EXPECT_TRUE(nearParabola.finished());
    }

    // Too short for any plot point, or no time at all.
    EXPECT_TRUE(ConvergenceSweep(defaultSettings(), 59).plan().empty());
    EXPECT_TRUE(ConvergenceSweep(defaultSettings(), -Day).plan().empty());
}

// A row against the program's own run of its record, reaching the same plot point, and the exact orbit at
// the steps that run took.
struct SeparateRun {
    std::string failure;
    TState end;
    std::int64_t steps = 0;
};

SeparateRun runAlone(const TState& start, std::int64_t plotPoints) {
    class NoPlot : public PlotSink {
    public:
        void drawBody(const TVector&, Body) override {}
    } sink;
    SimRecords records;
    records.CurSettings = start;
    RunSession session(records);
    session.start();
    SeparateRun out;
    std::int64_t points = 0;
    while (points < plotPoints) {
        const SessionSlice slice = session.advance(1 << 20, sink);
        if (slice.kind == SessionSlice::Failed) {
            out.failure = slice.failure;
            return out;
        }
        if (slice.kind == SessionSlice::PlotPoint) ++points;
    }
    out.end = records.CurState;
    out.steps = session.stepsTaken();
    return out;
}

struct SweepCase {
    const char* name;
    TState start;
    Extended until;
};

void PrintTo(const SweepCase& c, std::ostream* os) {
    *os << c.name;
}

std::vector<SweepCase> sweepCases() {
    TState sevenSteps = defaultSettings();
    // 1,000,000 is no multiple of 7: at the step counter's wrap the plot rhythm starts again, and the
    // integrator's time is no longer plot points x dT.
    sevenSteps.setCpT(7);
    TState backwards = defaultSettings();
    backwards.setCpT(-40);  // a negative step: the exact orbit at negative times
    const Extended massA = 2e30L, massB = 5e29L, r = 4e11L;
    const Extended escape = std::sqrt(2 * G * (massA + massB) / r);
    const TState open = relativeRecord(massA, massB, {r, 0}, {-0.3L * escape, 1.2L * escape});
    return {{"DefaultStart", defaultSettings(), 12 * Day},
            {"SevenStepsAPoint", sevenSteps, 110 * Day},
            {"NegativeStep", backwards, 20 * Day},
            {"Escape", open, 40 * Day}};
}

class ConvergenceRows : public ::testing::TestWithParam<SweepCase> {};

TEST_P(ConvergenceRows, EqualSeparateRunsAndTheExactOrbitAtTheirOwnTime) {
    const SweepCase& c = GetParam();
    ConvergenceSweep sweep(c.start, c.until);
    const ConvergenceResult result = sweep.run(2);
    ASSERT_FALSE(result.rows.empty());
    const KeplerPropagation exact(c.start);
    for (const ConvergenceRow& row : result.rows) {
        SCOPED_TRACE(static_cast<double>(row.plotInterval));
        ASSERT_EQ(row.state, State::Done) << row.failure;
        TState start = c.start;
        start.setDT(row.plotInterval);
        const SeparateRun alone = runAlone(start, row.plotPoints);
        ASSERT_EQ(alone.failure, "");
        const Extended time = static_cast<Extended>(alone.steps) * (start.dT() / start.cpT());
        const auto error = integrationError(exact, time, alone.end.APos(), alone.end.BPos());
        ASSERT_TRUE(error);
        ASSERT_TRUE(row.errorA && row.errorB);
        EXPECT_TRUE(sameBits(*row.errorA, error->bodyA));
        EXPECT_TRUE(sameBits(*row.errorB, error->bodyB));
        const OrbitReadout atStart = readOrbit(start);
        const DriftGauge drift = driftGauge(atStart, readOrbit(alone.end));
        EXPECT_TRUE(sameBits(row.energyDrift, drift.energy.value));
        EXPECT_TRUE(sameBits(row.angularMomentumDrift, drift.angularMomentum.value));
        EXPECT_TRUE(sameBits(row.stepsAcrossClosestApproach, atStart.stepsAcrossPeriapsis));
        EXPECT_GT(row.floorLevel, 0);
        EXPECT_GT(row.saturationLevel, row.floorLevel);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ConvergenceRows, ::testing::ValuesIn(sweepCases()),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(ConvergenceSweep, CsvIsTheSameBytesForAnyNumberOfWorkers) {
    TState s = defaultSettings();
    s.setCpT(13);
    std::string one;
    for (const unsigned workers : {1u, 2u, 5u}) {
        SCOPED_TRACE(workers);
        ConvergenceSweep sweep(s, 30 * Day);
        const std::string csv = convergenceCsv(sweep.run(workers));
        if (workers == 1)
            one = csv;
        else
            EXPECT_EQ(csv, one);
    }
    EXPECT_EQ(
        one.substr(0, one.find('\n')),
        "plot_interval_s,step_s,plot_points,end_day,error_a_m,error_b_m,energy_drift,angular_momentum_drift,"
        "steps_across_closest_approach,observed_order,in_fit");
}

// A run that fails is a row with the run's own error text, and its measures stay empty.
TEST(ConvergenceSweep, AFailedRunIsARowWithTheRunsErrorText) {
    TState s = defaultSettings();
    s.setCpT(0);
    const SeparateRun alone = runAlone(s, 1);
    ASSERT_EQ(alone.failure, ZeroDivideText);
    ConvergenceSweep sweep(s, 5 * Day);
    const ConvergenceResult result = sweep.run(2);
    ASSERT_FALSE(result.rows.empty());
    for (const ConvergenceRow& row : result.rows) {
        EXPECT_EQ(row.state, State::Failed);
        EXPECT_EQ(row.failure, alone.failure);
        // The error itself, for a window to say in the user's language.
        ASSERT_TRUE(row.error);
        try {
            std::rethrow_exception(row.error);
        } catch (const FloatingPointError& e) {
            EXPECT_EQ(e.kindName(), "EZeroDivide");
        } catch (...) {
            ADD_FAILURE() << "not the run's error";
        }
    }
    const std::string csv = convergenceCsv(result);
    EXPECT_NE(csv.find("\n6.00000000000000000000e+01,inf,7200,5.00000000000000000000e+00,,,,,,,yes\n"),
              std::string::npos)
        << csv;
}

TEST(ConvergenceSweep, CancelStopsTheRunsBetweenSlices) {
    ConvergenceSweep sweep(defaultSettings(), ConvergenceSweep::defaultUntil(defaultSettings()));
    sweep.start(1);
    while (sweep.stepsDone() == 0) {
    }
    sweep.cancel();
    sweep.wait();
    EXPECT_FALSE(sweep.finished());
    const ConvergenceResult result = sweep.snapshot();
    // One worker runs the short rows first: the minute row, most of the work, never finished.
    EXPECT_EQ(result.rows.front().state, State::Waiting);
    EXPECT_LT(sweep.stepsDone(), sweep.stepsTotal());
    EXPECT_EQ(convergenceCsv(result).find(",yes\n6.0"), std::string::npos);
}

// Errors that follow C h^p on a synthetic table: the local orders and the fit read p back, and rows at the
// 80-bit floor, saturated, not in the fit or failed take no part.
TEST(ConvergenceOrders, LeastSquaresOverTheRowsBetweenTheFloorAndSaturation) {
    const Extended order = 2;
    std::vector<ConvergenceRow> rows;
    for (const Extended h : {1.0L, 2.0L, 4.0L, 8.0L, 16.0L, 32.0L, 64.0L}) {
        ConvergenceRow row;
        row.step = h;
        row.plotInterval = 40 * h;
        row.state = State::Done;
        row.inFit = true;
        row.errorA = 3 * std::pow(h, order);
        row.errorB = 0.5L * *row.errorA;
        row.floorLevel = 1;
        row.saturationLevel = 1e4L;
        rows.push_back(row);
    }
    rows[0].errorA = rows[0].errorB = 0.25L;  // at the floor
    rows[6].errorA = 1e5L;                    // saturated
    ConvergenceRow notInFit = rows[5];
    notInFit.inFit = false;
    notInFit.step = notInFit.plotInterval = 1000;
    rows.push_back(notInFit);

    const Quantity fitted = ConvergenceSweep::fillOrders(rows);
    ASSERT_TRUE(fitted);
    EXPECT_NEAR(static_cast<double>(*fitted), 2, 1e-15);
    EXPECT_FALSE(rows[0].observedOrder);
    for (std::size_t i = 2; i <= 5; ++i) {
        ASSERT_TRUE(rows[i].observedOrder);
        EXPECT_NEAR(static_cast<double>(*rows[i].observedOrder), 2, 1e-15);
    }
    const bool used[] = {false, true, true, true, true, true, false, false};
    for (std::size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(rows[i].usedInOrderFit, used[i]) << i;
    EXPECT_FALSE(rows[7].observedOrder);

    // A failed row breaks the chain of local orders, and one row alone makes no fit.
    rows[3].state = State::Failed;
    ConvergenceSweep::fillOrders(rows);
    EXPECT_FALSE(rows[3].observedOrder);
    EXPECT_FALSE(rows[4].observedOrder);
    EXPECT_TRUE(rows[5].observedOrder);
    std::vector<ConvergenceRow> single(rows.begin() + 1, rows.begin() + 2);
    EXPECT_FALSE(ConvergenceSweep::fillOrders(single));
}

TEST(ConvergenceSweep, LeavesTheCallersFlagsAndControlWordAsFound) {
    TState s = defaultSettings();
    s.setCpT(0);  // the plan divides by zero for the step
    std::feclearexcept(FE_ALL_EXCEPT);
    const FpSnapshot before = fpSnapshot();
    ConvergenceSweep sweep(s, 2 * Day);
    sweep.run(1);
    EXPECT_EQ(fpSnapshot(), before);
}

}  // namespace
