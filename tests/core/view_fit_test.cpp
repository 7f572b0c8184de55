#include "core/view_fit.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <vector>

#include "core/fp_error.h"
#include "core/kepler_propagation.h"
#include "core/sim_records.h"
#include "x87_flags.h"

namespace {

TState boundDefault() {
    return defaultSettings();
}

TState equalMassBinary() {
    TState s = defaultSettings();
    s.setBMass(s.AMass());
    s.setBSpeed(s.ASpeed());
    s.setBDir(s.ADir() + 180);
    return s;
}

TState fastFlyby() {
    TState s = defaultSettings();
    s.setBSpeed(s.BSpeed() * 40);
    return s;
}

TState bothAtRestTogether() {
    TState s = defaultSettings();
    s.setBPos(s.APos());
    return s;
}

struct FitCase {
    const char* name;
    TState (*start)();
    double elapsedDays;
    bool fits;
};

class ViewFitTest : public ::testing::TestWithParam<FitCase> {};

// The paths the fit promises to show, at the fitted scale and shift, fall inside the plot, and the scale is
// the smallest that does: one of the two extents fills the room between the margins.
TEST_P(ViewFitTest, BothPathsFitAndFillThePlot) {
    const FitCase& p = GetParam();
    const TState start = p.start();
    constexpr int W = 900, H = 600, Margin = 12;
    const Extended elapsed = p.elapsedDays * 86400.0L;
    const std::optional<ViewFit> fit = fitBothOrbits(start, elapsed, W, H, Margin);
    ASSERT_EQ(fit.has_value(), p.fits);
    if (!fit) return;
    EXPECT_EQ(fit->dx, std::nearbyint(fit->dx));
    EXPECT_EQ(fit->dy, std::nearbyint(fit->dy));

    const KeplerPropagation exact(start);
    const std::optional<Extended> period = exact.period();
    const Extended tEnd = period ? std::max(elapsed, *period) : elapsed + 365.25L * 86400;
    double minX = INFINITY, maxX = -INFINITY, minY = INFINITY, maxY = -INFINITY;
    constexpr int Dense = 20000;
    for (int i = 0; i <= Dense; ++i) {
        const auto b = exact.at(tEnd * i / Dense);
        ASSERT_TRUE(b.has_value());
        for (const TVector& x : {b->positionA, b->positionB}) {
            // Where the crosses would stand after the shift, as the re-centring arithmetic moves the start.
            const double px = static_cast<double>((x.u + fit->dx * fit->sf) / fit->sf);
            const double py = static_cast<double>((x.v + fit->dy * fit->sf) / fit->sf);
            minX = std::min(minX, px);
            maxX = std::max(maxX, px);
            minY = std::min(minY, py);
            maxY = std::max(maxY, py);
        }
    }
    EXPECT_GE(minX, Margin - 1.0);
    EXPECT_LE(maxX, W - Margin + 1.0);
    EXPECT_GE(minY, Margin - 1.0);
    EXPECT_LE(maxY, H - Margin + 1.0);
    const bool fillsWidth = maxX - minX >= W - 2 * Margin - 2;
    const bool fillsHeight = maxY - minY >= H - 2 * Margin - 2;
    EXPECT_TRUE(fillsWidth || fillsHeight) << (maxX - minX) << " x " << (maxY - minY);
    // Centred to the pixel.
    EXPECT_NEAR((minX + maxX) / 2, W / 2, 1.0);
    EXPECT_NEAR((minY + maxY) / 2, H / 2, 1.0);
}

INSTANTIATE_TEST_SUITE_P(Starts, ViewFitTest,
                         ::testing::Values(FitCase{"boundAtTheStart", boundDefault, 0, true},
                                           FitCase{"boundAfterTwoPeriods", boundDefault, 2 * 1356.6, true},
                                           FitCase{"equalMassBinary", equalMassBinary, 0, true},
                                           FitCase{"openFlybyAndTheNextYear", fastFlyby, 100, true},
                                           FitCase{"noExactPath", bothAtRestTogether, 0, false}),
                         [](const ::testing::TestParamInfo<FitCase>& p) {
                             return std::string(p.param.name);
                         });

// The fit runs between a paused run's steps: the run reads the flags it finds after its next step.
TEST(ViewFit, LeavesTheFloatingPointFlagsAsFound) {
    clearFpFlags();
    EXPECT_TRUE(fitBothOrbits(defaultSettings(), 0, 800, 500, 10).has_value());
    EXPECT_EQ(x87ErrorFlags(), 0);
    raiseX87Flags(FE_DIVBYZERO);
    EXPECT_TRUE(fitBothOrbits(defaultSettings(), 0, 800, 500, 10).has_value());
    EXPECT_EQ(x87ErrorFlags(), FE_DIVBYZERO);
    clearFpFlags();
}

TEST(ViewFit, APlotTooSmallForItsMarginsHasNoFit) {
    EXPECT_FALSE(fitBothOrbits(defaultSettings(), 0, 20, 500, 10).has_value());
    EXPECT_FALSE(fitBothOrbits(defaultSettings(), 0, 800, 20, 10).has_value());
}

}  // namespace
