#include <gtest/gtest.h>

#include <algorithm>
#include <cfenv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "core/fp_error.h"
#include "core/run.h"
#include "core/vector_math.h"
#include "x87_flags.h"

namespace {

// Records what Run asks of the window; pumps are counted, one per completed step.
class RecordingHost : public RunHost {
public:
    struct Draw {
        TVector pos;
        std::int32_t body;
        long stepsBefore;  // pumps served before this draw
    };

    explicit RecordingHost(SimRecords& records) : records_(records) {}

    void drawBody(const TVector& NewPos, Body Body) override {
        draws.push_back({NewPos, Body, pumps});
        sequence += Body == 0 ? 'A' : 'B';
    }
    void showElapsed(const std::string& daysText) override {
        elapsed.push_back(daysText);
        sequence += 'E';
    }
    void sleepMs(std::int32_t ms) override {
        sleeps.push_back(ms);
        sequence += 'S';
    }
    bool pumpEvents(std::int32_t steps) override {
        stepsPumped.push_back(steps);
        ++pumps;
        if (onPump) onPump(pumps);
        if (pumps == pauseAtPump) records_.SimState = Paused;
        return pumpRuns;
    }
    void plotCounted(std::int32_t plotCounter) override {
        counted.push_back(plotCounter);
        sequence += 'C';
    }
    std::string decimalSeparator() const override { return separator; }
    std::int32_t quietSteps() override { return quiet; }

    std::vector<Draw> draws;
    std::vector<std::string> elapsed;
    std::vector<std::int32_t> sleeps;
    std::vector<std::int32_t> counted;
    std::string sequence;  // draws, sleeps and texts in order, pumps left out
    long pumps = 0;
    std::vector<std::int32_t> stepsPumped;  // the steps each pump was told of
    std::int32_t quiet = 0;
    long pauseAtPump = -1;
    bool pumpRuns = true;
    std::string separator = ".";
    std::function<void(long)> onPump;

private:
    SimRecords& records_;
};

SimRecords runningFrom(const TState& start, std::int32_t plotCount = 0) {
    SimRecords r;
    r.CurSettings = start;
    r.CurState = start;
    r.SimState = Running;
    r.PlotCount = plotCount;
    return r;
}

bool sameBits(Extended a, Extended b) {
    return bytesOfExtended(a) == bytesOfExtended(b);
}

// The integrator written out once more, operation by operation, on plain values.
struct RefBody {
    Extended pu, pv, speed, dir;
};

Extended refAzimuth(Extended u, Extended v) {
    const Extended m = x87Sqrt(u * u + v * v);
    auto asin = [](Extended x) { return x87Atan2(x, x87Sqrt(1 - x * x)); };
    if (v >= 0 && u >= 0) return asin(v / m) / DegreeFactor + 90;
    if (v < 0 && u >= 0) return asin(u / m) / DegreeFactor;
    if (v >= 0 && u < 0) return asin(-u / m) / DegreeFactor + 180;
    return asin(-v / m) / DegreeFactor + 270;
}

RefBody refAdvance(const RefBody& x, const RefBody& other, Extended otherMass, Extended dt) {
    Extended du = other.pu + -x.pu;
    Extended dv = other.pv + -x.pv;
    const Extended r = x87Sqrt(du * du + dv * dv);
    const Extended inv = 1 / r;
    du = inv * du;
    dv = inv * dv;
    const Extended k = (G * otherMass) / (r * r);
    const Extended au = k * du, av = k * dv;
    Extended s, c;
    x87SinCos(x.dir * DegreeFactor, s, c);
    const Extended sp = x.speed * 1000;
    const Extended vu = sp * s, vv = sp * -c;
    const Extended wu = vu + dt * au, wv = vv + dt * av;
    const Extended half = (dt * 0.5L) * dt;
    return RefBody{(x.pu + dt * vu) + half * au, (x.pv + dt * vv) + half * av,
                   x87Sqrt(wu * wu + wv * wv) / 1000, refAzimuth(wu, wv)};
}

TState referenceAfterSteps(const TState& start, long steps) {
    RefBody a{start.APos().u, start.APos().v, start.ASpeed(), start.ADir()};
    RefBody b{start.BPos().u, start.BPos().v, start.BSpeed(), start.BDir()};
    const Extended dt = start.dT() / start.cpT();
    for (long i = 0; i < steps; ++i) {
        const RefBody na = refAdvance(a, b, start.BMass(), dt);
        const RefBody nb = refAdvance(b, a, start.AMass(), dt);
        a = na;
        b = nb;
    }
    TState s = start;
    s.setAPos({a.pu, a.pv});
    s.setBPos({b.pu, b.pv});
    s.setASpeed(a.speed);
    s.setADir(a.dir);
    s.setBSpeed(b.speed);
    s.setBDir(b.dir);
    return s;
}

void setX87Control(std::uint16_t cw) {
    asm volatile("fldcw %0" : : "m"(cw));
}

class RunLoop : public ::testing::Test {
protected:
    void SetUp() override { std::feclearexcept(FE_ALL_EXCEPT); }
    void TearDown() override {
        setX87Control(0x037F);
        std::feclearexcept(FE_ALL_EXCEPT);
    }
};

TEST_F(RunLoop, FirstPlotPointFromTheDefaults) {
    SimRecords r = runningFrom(defaultSettings());
    RecordingHost host(r);
    host.pauseAtPump = 40;
    EXPECT_EQ(::Run(r, host, 0, 0), 1);

    ASSERT_EQ(host.sequence, "ABABCE");
    EXPECT_EQ(host.draws[0].pos.u, 2e11L);
    EXPECT_EQ(host.draws[0].pos.v, 1e11L);
    EXPECT_EQ(host.draws[1].pos.u, 6e11L);
    EXPECT_EQ(host.draws[1].pos.v, 4e11L);
    EXPECT_EQ(host.draws[2].stepsBefore, 39);

    const TState& s = r.CurState;
    EXPECT_TRUE(sameBits(host.draws[2].pos.u, s.APos().u) && sameBits(host.draws[3].pos.v, s.BPos().v));
    EXPECT_GT(s.APos().u, 2e11L);
    EXPECT_GT(s.APos().v, 1e11L);
    EXPECT_GT(s.ASpeed(), 30);
    EXPECT_LT(s.ASpeed(), 31);
    EXPECT_GT(s.ADir(), 115);
    EXPECT_LT(s.ADir(), 116);
    EXPECT_GT(s.BSpeed(), 2);
    EXPECT_LT(s.BSpeed(), 2.1L);
    EXPECT_GT(s.BDir(), 270);
    EXPECT_LT(s.BDir(), 271);
    EXPECT_EQ(host.elapsed, std::vector<std::string>{"1.0"});
    EXPECT_EQ(r.PlotCount, 0);  // the caller stores the result
}

TEST_F(RunLoop, MatchesTheOperationOrderBitForBit) {
    TState start = defaultSettings();
    start.setCpT(7);
    SimRecords r = runningFrom(start);
    RecordingHost host(r);
    EXPECT_EQ(::Run(r, host, 0, 30), 30);
    const TState expected = referenceAfterSteps(start, 30 * 7);
    for (std::size_t off :
         {TStateLayout::APos, TStateLayout::APos + TStateLayout::VectorV, TStateLayout::BPos,
          TStateLayout::BPos + TStateLayout::VectorV, TStateLayout::ASpeed, TStateLayout::BSpeed,
          TStateLayout::ADir, TStateLayout::BDir}) {
        EXPECT_TRUE(sameBits(loadExtended(&r.CurState.bytes[off]), loadExtended(&expected.bytes[off])))
            << "field at " << off;
    }
    EXPECT_EQ(r.CurState, expected);
}

// Each step pulls both bodies with equal and opposite forces, so only rounding and the azimuth round trip
// (which turns a velocity by up to 1.6e-11 rad per step: the degree factor is not pi/180) move the total
// momentum. A wrong mass or a mixed-up body moves it by far more.
TEST_F(RunLoop, TotalMomentumIsConserved) {
    SimRecords r = runningFrom(defaultSettings());
    RecordingHost host(r);
    auto momentum = [](const TState& s) {
        const TVector a = VsMult(s.AMass() * s.ASpeed(), Dir2UV(s.ADir()));
        const TVector b = VsMult(s.BMass() * s.BSpeed(), Dir2UV(s.BDir()));
        return VAdd(a, b);
    };
    const TVector before = momentum(r.CurState);
    ::Run(r, host, 0, 30);
    const TVector after = momentum(r.CurState);
    const Extended scale = r.CurState.AMass() * 30 + r.CurState.BMass() * 2;
    const double bound = 1200 * 1.6e-11;
    EXPECT_LT(std::fabs(static_cast<double>((after.u - before.u) / scale)), bound);
    EXPECT_LT(std::fabs(static_cast<double>((after.v - before.v) / scale)), bound);
    // The bodies did move: the test is not comparing a state with itself.
    EXPECT_GT(std::fabs(static_cast<double>(r.CurState.ADir() - 115)), 1);
}

struct ElapsedCase {
    const char* name;
    Extended dT;
    std::string separator;
    std::vector<std::string> expected;  // the texts of the first plot points
};

class ElapsedText : public RunLoop, public ::testing::WithParamInterface<ElapsedCase> {};

TEST_P(ElapsedText, IsThePlotCountTimesTheIntervalInDays) {
    TState start = defaultSettings();
    start.setDT(GetParam().dT);
    SimRecords r = runningFrom(start);
    RecordingHost host(r);
    host.separator = GetParam().separator;
    host.pauseAtPump = 40 * static_cast<long>(GetParam().expected.size());
    ::Run(r, host, 0, 0);
    EXPECT_EQ(host.elapsed, GetParam().expected);
}

std::vector<std::string> zerosThen(int zeros, const std::string& last) {
    std::vector<std::string> v(zeros, "0.0");
    v.push_back(last);
    return v;
}

INSTANTIATE_TEST_SUITE_P(
    Intervals, ElapsedText,
    ::testing::Values(ElapsedCase{"oneday", 86400, ".", {"1.0", "2.0", "3.0"}},
                      ElapsedCase{"comma", 86400, ",", {"1,0", "2,0"}},
                      // 0.25 days rounds half up.
                      ElapsedCase{"onehour", 3600, ".", {"0.0", "0.1", "0.1", "0.2", "0.2", "0.3"}},
                      // 71 minutes are below 0.05 days; the 72nd is exactly 0.05.
                      ElapsedCase{"oneminute", 60, ".", zerosThen(71, "0.1")}),
    [](const auto& p) { return std::string(p.param.name); });

struct DelayCase {
    std::int32_t delay;
    std::string sequence;
};

class LiveRun : public RunLoop, public ::testing::WithParamInterface<DelayCase> {};

// Run(0, 0) is a live run without sleep, not a replay of zero points.
TEST_P(LiveRun, UpdatesTheLabelsAndStopsOnlyWhenPaused) {
    SimRecords r = runningFrom(defaultSettings(), 4);
    RecordingHost host(r);
    host.pauseAtPump = 130;
    EXPECT_EQ(::Run(r, host, GetParam().delay, 0), 7);
    EXPECT_EQ(host.sequence, GetParam().sequence);
    EXPECT_EQ(host.elapsed, (std::vector<std::string>{"5.0", "6.0", "7.0"}));
    for (std::int32_t ms : host.sleeps) EXPECT_EQ(ms, GetParam().delay);
    EXPECT_EQ(host.pumps, 130);
    EXPECT_EQ(host.counted, (std::vector<std::int32_t>{5, 6, 7}));
}

INSTANTIATE_TEST_SUITE_P(Delays, LiveRun,
                         ::testing::Values(DelayCase{0, "ABABCEABCEABCE"}, DelayCase{-5, "ABABCEABCEABCE"},
                                           DelayCase{100, "ABABSCEABSCEABSCE"}));

TEST_F(RunLoop, NotRunningAtEntryDrawsTheEntryMarksAndReturnsThePlotCount) {
    for (RunState state : {Ready, Paused}) {
        SimRecords r = runningFrom(defaultSettings(), 7);
        r.SimState = state;
        RecordingHost host(r);
        EXPECT_EQ(::Run(r, host, 0, 5), 7);
        EXPECT_EQ(host.sequence, "AB");
        EXPECT_EQ(host.pumps, 0);
        EXPECT_EQ(r.CurState, r.CurSettings);
    }
}

struct ReplayCase {
    std::int32_t plotCountAtEntry;
    std::int32_t count;
    std::int32_t result;
    long steps;
};

class Replay : public RunLoop, public ::testing::WithParamInterface<ReplayCase> {};

TEST_P(Replay, StopsRightAfterItsLastPointWithoutServingEvents) {
    SimRecords r = runningFrom(defaultSettings(), GetParam().plotCountAtEntry);
    RecordingHost host(r);
    EXPECT_EQ(::Run(r, host, 0, GetParam().count), GetParam().result);
    EXPECT_EQ(host.pumps, GetParam().steps - 1);
    EXPECT_TRUE(host.elapsed.empty());
    EXPECT_EQ(host.draws.back().body, 1);
    EXPECT_EQ(host.draws.back().stepsBefore, GetParam().steps - 1);
    EXPECT_EQ(host.counted.back(), GetParam().result);
    EXPECT_EQ(r.SimState, Running);
    EXPECT_EQ(r.CurState, referenceAfterSteps(defaultSettings(), GetParam().steps));
}

INSTANTIATE_TEST_SUITE_P(Counts, Replay,
                         ::testing::Values(ReplayCase{0, 3, 3, 120}, ReplayCase{0, 1, 1, 40},
                                           ReplayCase{1, 3, 3, 80}, ReplayCase{5, 3, 6, 40}));

struct WrapCase {
    std::int32_t cpT;
    long longInterval;  // the interval that contains the counter's wrap
};

class StepCounterWrap : public RunLoop, public ::testing::WithParamInterface<WrapCase> {};

TEST_P(StepCounterWrap, LengthensOnlyTheIntervalThatContainsIt) {
    TState start = defaultSettings();
    start.setCpT(GetParam().cpT);
    SimRecords r = runningFrom(start);
    RecordingHost host(r);
    host.pauseAtPump = 1000000 + 3 * GetParam().cpT;
    ::Run(r, host, 0, 0);

    long previous = 0;
    long longOnes = 0;
    for (std::size_t i = 2; i < host.draws.size(); i += 2) {
        const long step = host.draws[i].stepsBefore + 1;
        const long interval = step - previous;
        if (previous <= 1000000 && step > 1000000) {
            EXPECT_EQ(interval, GetParam().longInterval);
            ++longOnes;
        } else {
            EXPECT_EQ(interval, GetParam().cpT) << "at step " << step;
        }
        previous = step;
    }
    EXPECT_EQ(longOnes, 1);
}

INSTANTIATE_TEST_SUITE_P(Intervals, StepCounterWrap,
                         ::testing::Values(WrapCase{40, 40}, WrapCase{6, 6 + 4}, WrapCase{7, 7 + 1}));

TEST_F(RunLoop, PauseInMidIntervalThenResumeCountsAFullIntervalAgain) {
    SimRecords r = runningFrom(defaultSettings());
    RecordingHost first(r);
    first.pauseAtPump = 50;
    r.PlotCount = ::Run(r, first, 100, 0);
    EXPECT_EQ(r.PlotCount, 1);
    EXPECT_EQ(r.CurState, referenceAfterSteps(defaultSettings(), 50));
    const TState paused = r.CurState;

    r.SimState = Running;
    RecordingHost second(r);
    second.pauseAtPump = 45;
    r.PlotCount = ::Run(r, second, 100, 0);
    EXPECT_EQ(r.PlotCount, 2);
    ASSERT_EQ(second.sequence, "ABABSCE");
    EXPECT_TRUE(sameBits(second.draws[0].pos.u, paused.APos().u));
    EXPECT_TRUE(sameBits(second.draws[1].pos.v, paused.BPos().v));
    EXPECT_EQ(second.draws[2].stepsBefore, 39);
    EXPECT_EQ(second.elapsed, std::vector<std::string>{"2.0"});
    EXPECT_EQ(r.CurState, referenceAfterSteps(defaultSettings(), 95));
}

void expectError(const std::function<void()>& f, const char* kind, const char* text) {
    try {
        f();
        ADD_FAILURE() << "no error raised";
    } catch (const FloatingPointError& e) {
        EXPECT_EQ(e.kindName(), kind);
        EXPECT_STREQ(e.what(), text);
    }
}

TEST_F(RunLoop, BodiesAtOnePointFailWithDivisionInTheFirstStep) {
    TState start = defaultSettings();
    start.setBPos(start.APos());
    SimRecords r = runningFrom(start, 3);
    RecordingHost host(r);
    expectError([&] { ::Run(r, host, 0, 0); }, "EZeroDivide", "Floating point division by zero");
    EXPECT_EQ(host.sequence, "AB");
    EXPECT_EQ(host.pumps, 0);
    EXPECT_EQ(r.CurState, start);
    EXPECT_EQ(r.SimState, Running);
    EXPECT_EQ(r.PlotCount, 3);
}

// Two bodies on one line, moving the same way at 1 and 0.5 km/s without mass, meet exactly after 25 steps of
// 2160 s: the 26th step divides by their zero distance, in the middle of a plot interval.
TState meetingAfter25Steps() {
    TState s = defaultSettings();
    s.setAMass(0);
    s.setBMass(0);
    s.setAPos({0, 0});
    s.setBPos({0, -25 * 1.08e6L});
    s.setASpeed(1);
    s.setBSpeed(0.5L);
    s.setADir(0);
    s.setBDir(0);
    return s;
}

class StepsBetweenPumps : public RunLoop, public ::testing::WithParamInterface<std::int32_t> {};

// However many steps the host lets the run take between two pumps, a step that fails leaves the last
// completed one in CurState and NextState, and the pumps were told of every step before it.
TEST_P(StepsBetweenPumps, AFailureMidBatchLeavesTheLastCompletedStep) {
    const TState start = meetingAfter25Steps();
    SimRecords r = runningFrom(start, 2);
    RecordingHost host(r);
    host.quiet = GetParam();
    expectError([&] { ::Run(r, host, 0, 0); }, "EZeroDivide", "Floating point division by zero");
    TState after25 = start;
    after25.setAPos({0, -25 * 2.16e6L});
    after25.setBPos({0, -25 * 2.16e6L});
    EXPECT_EQ(r.CurState.APos().v, after25.APos().v);
    EXPECT_EQ(r.CurState.BPos().v, after25.BPos().v);
    EXPECT_EQ(r.NextState, r.CurState);
    EXPECT_EQ(r.PlotCount, 2);
    long told = 0;
    for (const std::int32_t n : host.stepsPumped) {
        EXPECT_GE(n, 1);
        EXPECT_LE(n, GetParam() + 1);
        told += n;
    }
    EXPECT_EQ(told, 25 / (GetParam() + 1) * (GetParam() + 1));
}

// And the same run pumps after every step when the host asks for it, after a few, or only at plot points.
TEST_P(StepsBetweenPumps, TakeTheHostsCountBetweenPumpsAndStopAtPlotPoints) {
    SimRecords r = runningFrom(defaultSettings());
    RecordingHost host(r);
    host.quiet = GetParam();
    host.pauseAtPump = 30;
    const std::int32_t plotCount = ::Run(r, host, 0, 0);
    const long perPump = std::min<long>(GetParam() + 1, 40);
    long steps = 0;
    for (const std::int32_t n : host.stepsPumped) {
        // A batch ends at the next plot point or after the host's count, whichever comes first.
        EXPECT_EQ(n, std::min<long>(perPump, 40 - steps % 40));
        steps += n;
    }
    EXPECT_EQ(plotCount, steps / 40);
    EXPECT_EQ(r.NextState, r.CurState);
    // The records are those of a run that pumped after every step for as many steps.
    SimRecords one = runningFrom(defaultSettings());
    RecordingHost everyStep(one);
    everyStep.pauseAtPump = steps;
    ::Run(one, everyStep, 0, 0);
    EXPECT_EQ(one.CurState, r.CurState);
}

INSTANTIATE_TEST_SUITE_P(Counts, StepsBetweenPumps, ::testing::Values(0, 1, 6, 39, 100, INT32_MAX - 1));

struct ZeroCpTCase {
    const char* name;
    RunState simState;
    ExtendedBytes dT;
};

class ZeroStepsPerInterval : public RunLoop, public ::testing::WithParamInterface<ZeroCpTCase> {};

// The division is reported right after the entry marks, never as a remainder by zero later on.
TEST_P(ZeroStepsPerInterval, FailsWithDivisionRightAfterTheEntryMarks) {
    TState start = defaultSettings();
    start.setCpT(0);
    std::memcpy(&start.bytes[TStateLayout::dT], GetParam().dT.data(), 10);
    SimRecords r = runningFrom(start);
    r.SimState = GetParam().simState;
    RecordingHost host(r);
    expectError([&] { ::Run(r, host, 0, 0); }, "EZeroDivide", "Floating point division by zero");
    EXPECT_EQ(host.sequence, "AB");
    EXPECT_EQ(host.pumps, 0);
    EXPECT_EQ(std::fetestexcept(FpErrorFlags), 0);
}

INSTANTIATE_TEST_SUITE_P(Records, ZeroStepsPerInterval,
                         ::testing::Values(ZeroCpTCase{"running", Running, bytesOfExtended(86400)},
                                           ZeroCpTCase{"paused", Paused, bytesOfExtended(86400)},
                                           // 0 / 0 alone would be an invalid operation.
                                           ZeroCpTCase{"zerointerval", Running, bytesOfExtended(0)},
                                           ZeroCpTCase{
                                               "nanintervalpaused", Paused,
                                               bytesOfExtended(std::numeric_limits<Extended>::quiet_NaN())}),
                         [](const auto& p) { return std::string(p.param.name); });

// Optimised code may move a division into the loop that uses its result, past the flag test; with the run
// paused the loop never runs, so only a step length pinned before the test shows the error.
TEST_F(RunLoop, StepLengthIsCheckedEvenWhenTheLoopNeverRuns) {
    TState start = defaultSettings();
    start.setDT(std::numeric_limits<Extended>::signaling_NaN());
    SimRecords r = runningFrom(start, 2);
    r.SimState = Paused;
    RecordingHost host(r);
    expectError([&] { ::Run(r, host, 0, 0); }, "EInvalidOp", "Invalid floating point operation");
    EXPECT_EQ(host.sequence, "AB");
}

struct MidRunCase {
    const char* name;
    std::function<void(TState&)> damage;  // done by a handler served in the pump
    const char* kind;
    const char* text;
};

class FailedStep : public RunLoop, public ::testing::WithParamInterface<MidRunCase> {};

TEST_P(FailedStep, LeavesTheLastCompletedStepInCurState) {
    SimRecords r = runningFrom(defaultSettings(), 9);
    RecordingHost host(r);
    TState lastCompleted;
    host.onPump = [&](long pump) {
        if (pump == 45) {
            GetParam().damage(r.CurState);
            lastCompleted = r.CurState;
        }
    };
    expectError([&] { ::Run(r, host, 0, 0); }, GetParam().kind, GetParam().text);
    EXPECT_EQ(host.pumps, 45);
    EXPECT_EQ(r.CurState, lastCompleted);
    EXPECT_EQ(r.SimState, Running);
    EXPECT_EQ(r.PlotCount, 9);
}

INSTANTIATE_TEST_SUITE_P(
    Damage, FailedStep,
    ::testing::Values(MidRunCase{"hugeangle", [](TState& s) { s.setADir(1e30L); }, "EInvalidOp",
                                 "Invalid floating point operation"},
                      MidRunCase{"samepoint", [](TState& s) { s.setAPos(s.BPos()); }, "EZeroDivide",
                                 "Floating point division by zero"},
                      // A vast pull over a tiny distance overflows, and the infinity then meets a zero.
                      MidRunCase{"overflow",
                                 [](TState& s) {
                                     s.setAPos({0, 0});
                                     s.setBPos({1e-2000L, 0});
                                     s.setBMass(1e1000L);
                                 },
                                 "EOverflow", "Floating point overflow"}),
    [](const auto& p) { return std::string(p.param.name); });

struct FirstFailureCase {
    const char* name;
    std::function<void(TState&)> damage;
    const char* kind;
    const char* text;
};

void PrintTo(const FirstFailureCase& c, std::ostream* os) {
    *os << c.name;
}

class FirstFailingOperation : public RunLoop, public ::testing::WithParamInterface<FirstFailureCase> {};

// A step that fails in several ways reports the operation that fails first, Body A's operations in their
// order before Body B's, whatever order the flags or the compiled code would suggest.
TEST_P(FirstFailingOperation, DecidesTheErrorOfAStep) {
    TState start = defaultSettings();
    GetParam().damage(start);
    SimRecords r = runningFrom(start, 4);
    RecordingHost host(r);
    expectError([&] { ::Run(r, host, 0, 0); }, GetParam().kind, GetParam().text);
    EXPECT_EQ(host.pumps, 0);
    EXPECT_EQ(r.CurState, start);
    EXPECT_EQ(r.PlotCount, 4);
    EXPECT_EQ(std::fetestexcept(FpErrorFlags), 0);
}

INSTANTIATE_TEST_SUITE_P(Records, FirstFailingOperation,
                         ::testing::Values(
                             // A's new azimuth is that of a zero velocity (invalid) before its new position
                             // overflows in (dt × 0.5) × dt.
                             FirstFailureCase{"azimuthbeforeposition",
                                              [](TState& s) {
                                                  s.setASpeed(0);
                                                  s.setBMass(0);
                                                  s.setDT(1e4931L);
                                              },
                                              "EInvalidOp", "Invalid floating point operation"},
                             // A's speed in metres per second overflows before B's new azimuth divides by a
                             // length that underflowed to zero.
                             FirstFailureCase{"bodyabeforebodyb",
                                              [](TState& s) {
                                                  s.setASpeed(1e4930L);
                                                  s.setAMass(0);
                                                  s.setBMass(0);
                                                  s.setBSpeed(1e-2480L);
                                                  s.setBDir(45);
                                              },
                                              "EOverflow", "Floating point overflow"},
                             // A's zero velocity (invalid) before B's division by zero.
                             FirstFailureCase{"invalidbeforedivision",
                                              [](TState& s) {
                                                  s.setASpeed(0);
                                                  s.setBMass(0);
                                                  s.setAMass(0);
                                                  s.setBSpeed(1e-2480L);
                                                  s.setBDir(45);
                                              },
                                              "EInvalidOp", "Invalid floating point operation"},
                             // Both bodies at one point: 1 / 0 comes before the 0 × infinity it leads to.
                             FirstFailureCase{"samepoint", [](TState& s) { s.setBPos(s.APos()); },
                                              "EZeroDivide", "Floating point division by zero"}),
                         [](const auto& p) { return std::string(p.param.name); });

TEST_F(RunLoop, StepsPerIntervalZeroedDuringARunFailsAsDivision) {
    SimRecords r = runningFrom(defaultSettings());
    RecordingHost host(r);
    host.onPump = [&](long pump) {
        if (pump == 5) r.CurState.setCpT(0);
    };
    expectError([&] { ::Run(r, host, 0, 0); }, "EZeroDivide", "Floating point division by zero");
    EXPECT_EQ(host.pumps, 5);
}

struct ForeignFlagCase {
    const char* name;
    bool pumpRuns;
    bool x87;  // left in the x87 unit, or by double arithmetic in the SSE unit
    bool fails;
};

class ForeignFlags : public RunLoop, public ::testing::WithParamInterface<ForeignFlagCase> {};

// Code served in the pump (the window system, a NaN compare) leaves flags that are none of the run's
// business. Only x87 flags can be the run's own, so only those, left by a pump that says it did not run,
// are taken for an error of the next step.
TEST_P(ForeignFlags, AreClearedAfterAPumpThatRan) {
    SimRecords r = runningFrom(defaultSettings());
    RecordingHost host(r);
    host.pumpRuns = GetParam().pumpRuns;
    host.pauseAtPump = 60;
    host.onPump = [](long pump) {
        if (pump != 10) return;
        if (GetParam().x87)
            raiseX87Flags(FE_INVALID | FE_DIVBYZERO);
        else
            raiseSseFlags();
    };
    std::feraiseexcept(FE_OVERFLOW);  // left before the call
    if (GetParam().fails) {
        expectError([&] { ::Run(r, host, 0, 0); }, "EZeroDivide", "Floating point division by zero");
        EXPECT_EQ(host.pumps, 10);
    } else {
        EXPECT_EQ(::Run(r, host, 0, 0), 1);
        EXPECT_EQ(r.CurState, referenceAfterSteps(defaultSettings(), 60));
    }
}

INSTANTIATE_TEST_SUITE_P(Pumps, ForeignFlags,
                         ::testing::Values(ForeignFlagCase{"x87ran", true, true, false},
                                           ForeignFlagCase{"x87notran", false, true, true},
                                           ForeignFlagCase{"sseran", true, false, false},
                                           ForeignFlagCase{"ssenotran", false, false, false}),
                         [](const auto& p) { return std::string(p.param.name); });

// Drawing a cross is window code as well; what it leaves behind is not an error of the step length or of
// the step that follows.
class FlagLeavingDrawHost : public RecordingHost {
public:
    using RecordingHost::RecordingHost;
    void drawBody(const TVector& NewPos, Body Body) override {
        RecordingHost::drawBody(NewPos, Body);
        if (draws.size() == raiseAtDraw) std::feraiseexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW);
    }
    std::size_t raiseAtDraw = 0;
};

class ForeignFlagsOfADraw : public RunLoop, public ::testing::WithParamInterface<std::size_t> {};

TEST_P(ForeignFlagsOfADraw, AreNotTakenForAnErrorOfTheRun) {
    SimRecords r = runningFrom(defaultSettings());
    FlagLeavingDrawHost host(r);
    host.raiseAtDraw = GetParam();
    host.pumpRuns = false;
    EXPECT_EQ(::Run(r, host, 0, 2), 2);
    EXPECT_EQ(host.sequence, "ABABCABC");
    EXPECT_EQ(r.CurState, referenceAfterSteps(defaultSettings(), 80));
}

// The entry marks (1, 2) and the marks of the first plot point (3, 4).
INSTANTIATE_TEST_SUITE_P(Draws, ForeignFlagsOfADraw, ::testing::Values(1, 2, 3, 4));

struct ControlCase {
    const char* name;
    std::uint16_t cw;
};

class ForeignControlWord : public RunLoop, public ::testing::WithParamInterface<ControlCase> {};

// Code run before the call or in the pump may leave the FPU rounding to 53 bits, or towards zero, or with a
// trap unmasked; the run's arithmetic must not change with it.
TEST_P(ForeignControlWord, IsPutBackBeforeTheArithmetic) {
    const TState expected = referenceAfterSteps(defaultSettings(), 80);
    SimRecords r = runningFrom(defaultSettings());
    RecordingHost host(r);
    host.onPump = [](long pump) {
        if (pump == 20) setX87Control(GetParam().cw);
    };
    setX87Control(GetParam().cw);
    ::Run(r, host, 0, 2);
    setX87Control(0x037F);
    EXPECT_EQ(r.CurState, expected);

    // With the invalid-operation trap unmasked, a failing step would end the process instead of raising.
    r = runningFrom(defaultSettings());
    r.CurState.setBPos(r.CurState.APos());
    setX87Control(GetParam().cw);
    expectError([&] { ::Run(r, host, 0, 0); }, "EZeroDivide", "Floating point division by zero");
}

INSTANTIATE_TEST_SUITE_P(Words, ForeignControlWord,
                         ::testing::Values(ControlCase{"doubleprecision", 0x027F},
                                           ControlCase{"towardzero", 0x0F7F},
                                           ControlCase{"trapsunmasked", 0x0372}),
                         [](const auto& p) { return std::string(p.param.name); });

TEST_F(RunLoop, WholeRecordCopiesCarryLabelTailAndFiller) {
    TState start = defaultSettings();
    start.setLabelLength(3);
    for (std::size_t i = 0; i < 100; ++i) start.labelChars()[i] = static_cast<std::uint8_t>('a' + i % 26);
    for (std::size_t i = 10; i < 16; ++i) {
        start.bytes[TStateLayout::APos + i] = 0xA5;
        start.bytes[TStateLayout::BPos + 16 + i] = 0x5A;
    }
    start.bytes[TStateLayout::Spare3] = 7;
    SimRecords r = runningFrom(start);
    RecordingHost host(r);
    ::Run(r, host, 0, 2);
    TState expected = referenceAfterSteps(start, 80);
    EXPECT_EQ(r.CurState, expected);
    EXPECT_EQ(r.NextState, r.CurState);
    EXPECT_EQ(r.CurState.bytes[TStateLayout::APos + 12], 0xA5);
}

}  // namespace
