#include "core/example_settings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

#include "core/date_time.h"
#include "core/kepler_propagation.h"
#include "core/label_codec.h"
#include "core/orbit_drift.h"
#include "extended_near.h"
#include "support/plot_point_states.h"

namespace {

constexpr Extended Day = 86400;

const TState& example(Example e) {
    static const std::vector<TState> all = exampleSettings();
    return all.at(static_cast<std::size_t>(e));
}

OrbitReadout orbitOf(Example e) {
    return readOrbit(example(e));
}

Extended length(const TVector& x) {
    return std::sqrt(x.u * x.u + x.v * x.v);
}

bool insideClassicPlotAndClearOfThePanel(const TVector& metres, Extended sf) {
    // The classic plot is 810 x 537 pixels; the control panel covers (8, 336) to (89, 481).
    const Extended x = metres.u / sf, y = metres.v / sf;
    const bool inside = x >= 0 && x < 810 && y >= 0 && y < 537;
    const bool underPanel = x >= 8 && x < 89 && y >= 336 && y < 481;
    return inside && !underPanel;
}

TEST(ExampleSettings, AreClassicRecordsThatStartInViewWithDistinctLabels) {
    const std::vector<TState> all = exampleSettings();
    ASSERT_EQ(all.size(), static_cast<std::size_t>(ExampleCount));
    const TState defaults = defaultSettings();
    CivilDateTime saved;
    std::set<std::u16string> labels;
    for (const TState& s : all) {
        const std::u16string label = RecLabelText(s);
        SCOPED_TRACE(std::string(label.begin(), label.end()));
        EXPECT_EQ(s.RecVersion(), 1);
        EXPECT_EQ(s.Action(), 0);
        EXPECT_EQ(s.cpT(), 40);
        EXPECT_EQ(s.CColor(), defaults.CColor());
        for (int n = 1; n <= 4; ++n) EXPECT_EQ(s.Spare(n), 0);
        ASSERT_TRUE(civilFromTDateTime(s.SaveDT(), saved));
        EXPECT_EQ(saved.year, 2026);
        // A few words: the viewer's label row shows about 50 characters before it cuts a label short.
        EXPECT_GE(label.size(), 20u);
        EXPECT_LE(label.size(), 45u);
        EXPECT_TRUE(labels.insert(label).second) << "two examples share a label";
        EXPECT_TRUE(insideClassicPlotAndClearOfThePanel(s.APos(), s.sf()));
        EXPECT_TRUE(insideClassicPlotAndClearOfThePanel(s.BPos(), s.sf()));
    }
}

TEST(ExampleSettings, CircularOrbitIsACircleAboutACentreAtRest) {
    const OrbitReadout o = orbitOf(Example::Circular);
    ASSERT_EQ(o.kind, OrbitKind::Circle) << "e = " << static_cast<double>(o.eccentricity.value_or(-1));
    EXPECT_LT(length(*o.centreOfMassVelocity), 1e-3L);
}

TEST(ExampleSettings, EarthAndSunTakeOneYearToTheDayOfThePlotGrid) {
    const TState& s = example(Example::EarthAndSun);
    const OrbitReadout o = orbitOf(Example::EarthAndSun);
    ASSERT_TRUE(o.period);
    ASSERT_EQ(s.dT(), Day);
    // The plot shows whole days: the orbit closes on the day a year of 365.25 days ends.
    EXPECT_LT(std::fabs(*o.period / Day - 365.25L), 0.5L) << static_cast<double>(*o.period / Day);
    EXPECT_LT(*o.eccentricity, 1e-4L);
    EXPECT_LT(length(*o.centreOfMassVelocity), 1e-3L);
    EXPECT_EXTENDED_NEAR(*o.separation, 149597870700.0L, 0.5L);
}

TEST(ExampleSettings, EqualMassBinaryMirrorsItsStarsAboutACentreAtRest) {
    const TState& s = example(Example::EqualMassBinary);
    EXPECT_EQ(s.AMass(), s.BMass());
    EXPECT_EQ(s.ASpeed(), s.BSpeed());
    const OrbitReadout o = orbitOf(Example::EqualMassBinary);
    ASSERT_EQ(o.kind, OrbitKind::Ellipse);
    EXPECT_EXTENDED_NEAR(*o.eccentricity, 0.5L, 0.01L);
    EXPECT_LT(length(*o.centreOfMassVelocity), 1e-3L);
}

TEST(ExampleSettings, EscapeFlybyApproachesOnAHyperbolaPastAStarAtRest) {
    const TState& s = example(Example::EscapeFlyby);
    const OrbitReadout o = orbitOf(Example::EscapeFlyby);
    ASSERT_EQ(o.kind, OrbitKind::Hyperbola);
    EXPECT_EQ(s.BSpeed(), 0);
    ASSERT_TRUE(o.timeToPeriapsis) << "the flyby must start before its closest approach";
    EXPECT_GT(*o.timeToPeriapsis / Day, 30);
    EXPECT_EXTENDED_NEAR(*o.periapsis, 4e10L, 0.2e10L);
}

TEST(ExampleSettings, CometHasTheDefaultSettingsCloseApproachAtEccentricityNearlyOne) {
    const OrbitReadout comet = orbitOf(Example::Comet);
    const OrbitReadout defaults = readOrbit(defaultSettings());
    ASSERT_EQ(comet.kind, OrbitKind::Ellipse);
    EXPECT_EXTENDED_NEAR(*comet.eccentricity, 0.97L, 0.002L);
    EXPECT_EXTENDED_NEAR(*comet.periapsis, *defaults.periapsis, 0.02L * *defaults.periapsis);
}

TEST(ExampleSettings, HourlyCometIsTheDailyCometWithAnHourlyInterval) {
    TState daily = example(Example::Comet);
    TState hourly = example(Example::CometHourly);
    EXPECT_EQ(hourly.dT(), 3600);
    // Everything else but the label is the same, byte for byte.
    for (TState* s : {&daily, &hourly}) {
        s->setDT(0);
        SetRecLabel(*s, u"");
        std::fill(s->labelChars(), s->labelChars() + TStateLayout::LabelCapacity, 0);
    }
    EXPECT_EQ(daily, hourly);
}

// Where the run's crosses of Body A stand against the exact path, in pixels, after the given time.
struct RunAgainstExactPath {
    Extended pixelsOff;
    OrbitKind kind;
};

RunAgainstExactPath runFor(const TState& start, Extended seconds) {
    const auto points = static_cast<std::int32_t>(std::ceil(seconds / start.dT()));
    const TState end = plotPointStates(start, points).back();
    const auto exact = KeplerPropagation(start).at(points * start.dT());
    const TVector off{end.APos().u - exact->positionA.u, end.APos().v - exact->positionA.v};
    return {length(off) / start.sf(), readOrbit(end).kind};
}

// Two months past the close pass the daily run has been thrown off its orbit and escapes; the hourly run's
// crosses still sit on the exact path: what the two labels promise.
TEST(ExampleSettings, DailyCometDriftsAtTheClosePassWhereTheHourlyOneFollowsItsOrbit) {
    const Extended pastThePass = *orbitOf(Example::Comet).timeToPeriapsis + 60 * Day;
    const RunAgainstExactPath daily = runFor(example(Example::Comet), pastThePass);
    const RunAgainstExactPath hourly = runFor(example(Example::CometHourly), pastThePass);
    EXPECT_EQ(daily.kind, OrbitKind::Hyperbola);
    EXPECT_GT(daily.pixelsOff, 5) << static_cast<double>(daily.pixelsOff);
    EXPECT_EQ(hourly.kind, OrbitKind::Ellipse);
    EXPECT_LT(hourly.pixelsOff, 1) << static_cast<double>(hourly.pixelsOff);
}

TEST(ExampleSettings, SlingshotLeavesTheMovingStarFasterThanItCame) {
    const TState& s = example(Example::Slingshot);
    ASSERT_EQ(orbitOf(Example::Slingshot).kind, OrbitKind::Hyperbola);
    EXPECT_LT(s.AMass() / s.BMass(), 1e-5L) << "a light body past a heavy one";
    const KeplerPropagation exact(s);
    const Extended year = 365.25L * Day;
    const auto before = exact.at(-year), after = exact.at(year);
    ASSERT_TRUE(before && after);
    // In the star's frame the light body leaves as fast as it came; in the plot's frame it gains the star's
    // motion.
    EXPECT_GT(length(after->velocityA), 1.5L * length(before->velocityA))
        << static_cast<double>(length(before->velocityA)) << " m/s before, "
        << static_cast<double>(length(after->velocityA)) << " m/s after";
}

}  // namespace
