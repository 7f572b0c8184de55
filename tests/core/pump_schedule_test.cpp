#include "core/pump_schedule.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

// A clock that the test moves by the cost of each step; it counts how often it is read.
struct SimulatedRun {
    PumpSchedule schedule;
    std::int64_t now = 0;
    long reads = 0;
    std::vector<std::int64_t> pumpTimes;

    // One step of costNs; returns whether the pump ran after it.
    bool step(std::int64_t costNs) {
        now += costNs;
        const bool pump = schedule.afterStep([&] {
            ++reads;
            return now;
        });
        if (pump) {
            pumpTimes.push_back(now);
            schedule.pumped(now);
        }
        return pump;
    }
    // As many steps as quietSteps allows before the next call, then one call for all of them; returns the
    // steps taken.
    std::int64_t batch(std::int64_t costNs) {
        const std::int64_t n = schedule.quietSteps() + 1;
        now += n * costNs;
        if (schedule.afterSteps(n, [&] {
                ++reads;
                return now;
            })) {
            pumpTimes.push_back(now);
            schedule.pumped(now);
        }
        ++calls;
        return n;
    }
    long calls = 0;
    // The longest time between two pumps, from pump number `from` on.
    std::int64_t longestGap(std::size_t from = 0) const {
        std::int64_t gap = 0;
        for (std::size_t i = from + 1; i < pumpTimes.size(); ++i)
            gap = std::max(gap, pumpTimes[i] - pumpTimes[i - 1]);
        return gap;
    }
};

class PumpScheduleAtStepCost : public ::testing::TestWithParam<std::int64_t> {};

// Whatever a step costs, the pump runs at least once a millisecond, and the clock is read only a few times
// per pump instead of after every step.
TEST_P(PumpScheduleAtStepCost, PumpsAboutEveryMillisecondWithFewClockReads) {
    SimulatedRun run;
    const std::int64_t cost = GetParam();
    const long steps = static_cast<long>(200'000'000 / cost);  // 200 ms of run
    for (long i = 0; i < steps; ++i) run.step(cost);
    ASSERT_GE(run.pumpTimes.size(), std::min<std::size_t>(static_cast<std::size_t>(steps), 150));
    EXPECT_LE(run.longestGap(), 1'000'000 + 2 * cost);
    EXPECT_GE(run.longestGap(), PumpSchedule::PumpAfterNs);
    EXPECT_LE(run.reads, 10 * static_cast<long>(run.pumpTimes.size()));
    if (cost < 10'000) {
        EXPECT_LT(run.reads, steps / 20);
    }
}

INSTANTIATE_TEST_SUITE_P(Costs, PumpScheduleAtStepCost,
                         ::testing::Values(50, 300, 5'000, 400'000, 3'000'000));

TEST(PumpSchedule, AlwaysPumpsOnTheFirstStepAfterASleep) {
    SimulatedRun run;
    EXPECT_TRUE(run.step(300));  // a run begins as if after a sleep
    for (int i = 0; i < 1000; ++i) run.step(300);
    run.schedule.slept();
    run.now += 100'000'000;
    EXPECT_TRUE(run.step(300));
    EXPECT_FALSE(run.step(300));
}

// Steps that suddenly cost a thousand times more shorten the stride at the next read; from then on the pump
// keeps its millisecond again.
TEST(PumpSchedule, ShortensTheStrideAtOnceWhenStepsSlowDown) {
    SimulatedRun run;
    for (int i = 0; i < 100'000; ++i) run.step(300);
    EXPECT_GT(run.schedule.stepsBetweenReads(), 500);
    const std::size_t before = run.pumpTimes.size();
    for (int i = 0; i < 2'000; ++i) run.step(300'000);
    EXPECT_LE(run.schedule.stepsBetweenReads(), 1);
    ASSERT_GT(run.pumpTimes.size(), before + 500);
    EXPECT_LE(run.longestGap(before + 1), 1'000'000 + 2 * 300'000);
}

// A run that takes the quiet steps the schedule allows between calls keeps the millisecond, reads the clock
// at nearly every call, and makes few calls: the loop need not stop for the host after every step.
TEST_P(PumpScheduleAtStepCost, BatchedStepsKeepTheMillisecondWithOneCallPerRead) {
    SimulatedRun run;
    const std::int64_t cost = GetParam();
    std::int64_t steps = 0;
    while (run.now < 200'000'000) steps += run.batch(cost);
    EXPECT_LE(run.longestGap(), 1'000'000 + 2 * cost);
    EXPECT_GE(run.longestGap(), PumpSchedule::PumpAfterNs);
    EXPECT_LE(run.calls, run.reads + static_cast<long>(run.pumpTimes.size()) + 1);
    if (cost < 10'000) {
        EXPECT_LT(run.calls, steps / 20);
    }
}

TEST(PumpSchedule, NoQuietStepsRightAfterASleep) {
    SimulatedRun run;
    for (int i = 0; i < 1000; ++i) run.step(300);
    EXPECT_GT(run.schedule.quietSteps(), 0);
    run.schedule.slept();
    EXPECT_EQ(run.schedule.quietSteps(), 0);
    run.now += 100'000'000;
    EXPECT_EQ(run.batch(300), 1);
    EXPECT_EQ(run.pumpTimes.back(), run.now);
}

}  // namespace
