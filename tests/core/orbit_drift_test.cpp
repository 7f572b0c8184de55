#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <string>
#include <vector>

#include "core/orbit_drift.h"
#include "extended_near.h"
#include "orbit_test_states.h"
#include "support/plot_point_states.h"

namespace {

using namespace orbit_test;

struct LevelCase {
    Quantity drift;
    DriftLevel level;
};

TEST(DriftLevel, GreenBelowOneInTenThousandAmberBelowOneInAHundred) {
    const LevelCase cases[] = {{0.0L, DriftLevel::Green},     {9.9e-5L, DriftLevel::Green},
                               {-9.9e-5L, DriftLevel::Green}, {1e-4L, DriftLevel::Amber},
                               {-5e-3L, DriftLevel::Amber},   {1e-2L, DriftLevel::Red},
                               {-2.2L, DriftLevel::Red},      {std::nullopt, DriftLevel::None}};
    for (const LevelCase& c : cases) EXPECT_EQ(driftLevel(c.drift), c.level) << c.drift.value_or(-1);
}

class DefaultRunDrift : public ::testing::Test {
protected:
    static void SetUpTestSuite() { days_ = plotPointStates(defaultSettings(), 130); }
    // The drift on day n, and the same change of energy in the plot's frame over the start's total energy.
    DriftGauge onDay(int n) const { return driftGauge(start_, readOrbit(days_[n - 1])); }
    Extended totalEnergyChangeOnDay(int n) const {
        return (*readOrbit(days_[n - 1]).totalEnergy - *start_.totalEnergy) / std::fabs(*start_.totalEnergy);
    }

    static std::vector<TState> days_;
    const OrbitReadout start_ = readOrbit(defaultSettings());
};

std::vector<TState> DefaultRunDrift::days_;

TEST_F(DefaultRunDrift, IsGreenAfterTheFirstDay) {
    const DriftGauge g = onDay(1);
    ASSERT_TRUE(g.energy.value && g.angularMomentum.value);
    EXPECT_EQ(g.energy.level, DriftLevel::Green);
    EXPECT_EQ(g.angularMomentum.level, DriftLevel::Green);
    // Over |potential energy|, the run has lost 7.0e-7; over the total energy of the plot's frame the same
    // loss reads 2.2e-6. The step conserves momentum, so both frames see one change.
    EXPECT_EXTENDED_NEAR(*g.energy.value, -7.04e-7L, 0.01e-7L);
    EXPECT_EXTENDED_NEAR(totalEnergyChangeOnDay(1), -2.2e-6L, 0.05e-6L);
    EXPECT_EXTENDED_NEAR(*g.energy.value * std::fabs(*start_.potentialEnergy / *start_.totalEnergy),
                         totalEnergyChangeOnDay(1), 1e-9L);
}

TEST_F(DefaultRunDrift, TurnsRedAtTheClosestApproachAndTheRunEscapes) {
    EXPECT_EQ(onDay(105).energy.level, DriftLevel::Amber);
    const DriftGauge g = onDay(120);
    ASSERT_TRUE(g.energy.value && g.angularMomentum.value);
    EXPECT_EQ(g.energy.level, DriftLevel::Red);
    EXPECT_EQ(g.angularMomentum.level, DriftLevel::Red);
    EXPECT_EXTENDED_NEAR(*g.energy.value, 0.71L, 0.01L);
    EXPECT_EXTENDED_NEAR(*g.angularMomentum.value, 0.028L, 0.001L);
    // The gain is 2.23 times the start's total energy: the bound orbit has become an escape.
    EXPECT_EXTENDED_NEAR(totalEnergyChangeOnDay(120), 2.23L, 0.01L);
    const OrbitReadout now = readOrbit(days_[119]);
    EXPECT_EQ(now.kind, OrbitKind::Hyperbola);
    EXPECT_EXTENDED_NEAR(*now.eccentricity, 1.015L, 0.001L);
}

TEST(DriftGauge, HasNoAngularMomentumDriftForARadialStart) {
    const OrbitReadout start = readOrbit(relativeRecord(2e30L, 5e30L, {0, 3e11L}, {0, 0}));
    ASSERT_EQ(start.kind, OrbitKind::Radial);
    const DriftGauge g = driftGauge(start, readOrbit(defaultSettings()));
    EXPECT_TRUE(g.energy.value);
    EXPECT_FALSE(g.angularMomentum.value);
    EXPECT_EQ(g.angularMomentum.level, DriftLevel::None);
}

TEST(DriftGauge, IsEmptyWhenStartOrNowHasNoEnergy) {
    TState coincident = defaultSettings();
    coincident.setBPos(coincident.APos());
    const OrbitReadout broken = readOrbit(coincident);
    const OrbitReadout fine = readOrbit(defaultSettings());
    for (const DriftGauge& g : {driftGauge(broken, fine), driftGauge(fine, broken)}) {
        EXPECT_FALSE(g.energy.value);
        EXPECT_EQ(g.energy.level, DriftLevel::None);
    }
}

TEST(DriftGauge, LeavesFlagsAsFound) {
    // A huge change over a tiny start overflows the quotient inside.
    OrbitReadout start = readOrbit(defaultSettings());
    start.angularMomentum = 1e-4940L;
    OrbitReadout now = start;
    now.angularMomentum = -1e4930L;
    std::feclearexcept(FE_ALL_EXCEPT);
    const FpSnapshot before = fpSnapshot();
    const DriftGauge g = driftGauge(start, now);
    EXPECT_EQ(fpSnapshot(), before);
    EXPECT_FALSE(g.angularMomentum.value) << "an infinite drift has no figure";
}

}  // namespace
