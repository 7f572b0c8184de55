#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

#include "core/kepler_propagation.h"
#include "core/kepler_stumpff.h"
#include "core/orbit_readout.h"
#include "extended_near.h"
#include "orbit_test_states.h"
#include "support/plot_point_states.h"

namespace {

using namespace orbit_test;

struct StumpffCase {
    const char* name;
    Extended z, c, s;
};

TEST(Stumpff, KnownValuesOnBothSidesAndAtZero) {
    const StumpffCase cases[] = {
        {"zero", 0, 0.5L, 1.0L / 6},
        {"half turn", Pi * Pi, 2 / (Pi * Pi), 1 / (Pi * Pi)},
        {"whole turn", 4 * Pi * Pi, 0, 1 / (4 * Pi * Pi)},
        // 1 - cos x would cancel eleven bits here, more than the tolerance; 2 sin²(x/2) loses none.
        {"small positive", 1e-3L, 2 * std::pow(std::sin(std::sqrt(1e-3L) / 2), 2) / 1e-3L, 0},
        {"minus one", -1, std::cosh(1.0L) - 1, std::sinh(1.0L) - 1},
        {"minus hundred", -100, (std::cosh(10.0L) - 1) / 100, (std::sinh(10.0L) - 10) / 1000},
    };
    for (const StumpffCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Stumpff st = stumpff(c.z);
        EXPECT_EXTENDED_NEAR(st.c, c.c, 1e-17L);
        if (c.s != 0) {
            EXPECT_EXTENDED_NEAR(st.s, c.s, 1e-17L);
        }
    }
}

TEST(Stumpff, SeriesAndClosedFormsMeetWithoutAStep) {
    for (const Extended z : {StumpffSeriesLimit, -StumpffSeriesLimit}) {
        SCOPED_TRACE(static_cast<double>(z));
        const Extended below = z * (1 - 4 * LDBL_EPSILON);
        const Stumpff inside = stumpff(below);
        const Stumpff outside = stumpff(z);
        EXPECT_EXTENDED_NEAR(inside.c / outside.c, 1, 2e-18L);
        EXPECT_EXTENDED_NEAR(inside.s / outside.s, 1, 2e-17L);
    }
}

// Bodies and both body velocities match to a relative tolerance of the separation and relative speed.
void expectBodies(const ExactBodies& got, const TVector& posA, const TVector& posB, Extended scale,
                  Extended tolerance) {
    EXPECT_LT(distance(got.positionA, posA) / scale, tolerance);
    EXPECT_LT(distance(got.positionB, posB) / scale, tolerance);
}

struct CircleCase {
    const char* name;
    TVector centreVelocity;
};

// Failures name the case, not its bytes.
void PrintTo(const CircleCase& c, std::ostream* os) {
    *os << c.name;
}

class CircularPropagation : public ::testing::TestWithParam<CircleCase> {};

TEST_P(CircularPropagation, TurnsAQuarterInAQuarterPeriodAndComesBackAfterOne) {
    const Extended massA = 2e30L, massB = 6e29L, r = 1.5e11L, total = massA + massB;
    const TVector w = GetParam().centreVelocity;
    const TState s = circularRecord(massA, massB, r, true, w);
    const KeplerPropagation k(s);
    ASSERT_TRUE(k.hasExactPath());
    const Extended period = 2 * Pi * std::sqrt(r * r * r / (G * total));
    ASSERT_TRUE(k.period());
    EXPECT_EXTENDED_NEAR(*k.period() / period, 1, 1e-15L);

    const TVector centre{3e11L, 3e11L};
    // Clockwise on the screen from "B to the right of A": a quarter later B is below A.
    const auto quarter = k.at(period / 4);
    ASSERT_TRUE(quarter);
    const TVector moved = plus(centre, times(period / 4, w));
    expectBodies(*quarter, plus(moved, {0, -massB / total * r}), plus(moved, {0, massA / total * r}), r,
                 1e-15L);
    const Extended speed = std::sqrt(G * total / r);
    EXPECT_EXTENDED_NEAR(quarter->velocityB.u - quarter->velocityA.u, -speed, 1e-10L);
    EXPECT_EXTENDED_NEAR(quarter->velocityB.v - quarter->velocityA.v, 0, 1e-10L);

    for (const int turns : {1, 7}) {
        const auto back = k.at(turns * period);
        ASSERT_TRUE(back);
        const TVector there = times(turns * period, w);
        expectBodies(*back, plus(s.APos(), there), plus(s.BPos(), there), r, 1e-15L);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, CircularPropagation,
                         ::testing::Values(CircleCase{"CentreAtRest", {}},
                                           CircleCase{"CentreMoving", {7300, -2500}}),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(KeplerPropagation, EllipseReachesItsApoapsisAfterHalfAPeriod) {
    const Extended massA = 3e30L, massB = 1e30L, q = 2e10L, e = 0.9L;
    const Extended gm = G * (massA + massB), a = q / (1 - e), Q = a * (1 + e);
    const KeplerPropagation k(periapsisRecord(massA, massB, q, e));
    ASSERT_TRUE(k.period());
    const Extended period = 2 * Pi * std::sqrt(a * a * a / gm);
    EXPECT_EXTENDED_NEAR(*k.period() / period, 1, 1e-15L);
    const struct {
        Extended t;
        TVector r;
        Extended speed;
    } apsides[] = {{0, {q, 0}, std::sqrt(gm * (1 + e) / q)},
                   {period / 2, {-Q, 0}, std::sqrt(gm * (1 - e) / Q)},
                   {period, {q, 0}, std::sqrt(gm * (1 + e) / q)},
                   {-period / 2, {-Q, 0}, std::sqrt(gm * (1 - e) / Q)}};
    for (const auto& x : apsides) {
        SCOPED_TRACE(static_cast<double>(x.t / period));
        const auto b = k.at(x.t);
        ASSERT_TRUE(b);
        EXPECT_LT(distance(minus(b->positionB, b->positionA), x.r) / Q, 1e-15L);
        EXPECT_EXTENDED_NEAR(length(minus(b->velocityB, b->velocityA)) / x.speed, 1, 1e-13L);
    }
}

TEST(KeplerPropagation, HyperbolaLeavesAtItsSpeedAtInfinity) {
    const Extended massA = 2e30L, massB = 5e29L, r = 4e11L, atInfinity = 12000;
    const Extended gm = G * (massA + massB);
    const Extended speed = std::sqrt(atInfinity * atInfinity + 2 * gm / r);
    const KeplerPropagation k(relativeRecord(massA, massB, {r, 0}, {-speed * std::sqrt(0.75L), speed / 2}));
    ASSERT_TRUE(k.hasExactPath());
    EXPECT_FALSE(k.period());
    Extended lastSpeed = 0;
    for (const Extended days : {100.0L, 1e3L, 1e5L, 1e7L}) {
        SCOPED_TRACE(static_cast<double>(days));
        const auto b = k.at(days * Day);
        ASSERT_TRUE(b);
        const TVector rel = minus(b->positionB, b->positionA);
        const Extended v = length(minus(b->velocityB, b->velocityA));
        // Energy is kept at every time, and far out the speed is the speed at infinity.
        EXPECT_EXTENDED_NEAR((v * v - 2 * gm / length(rel)) / (atInfinity * atInfinity), 1, 1e-14L);
        lastSpeed = v;
    }
    EXPECT_EXTENDED_NEAR(lastSpeed / atInfinity, 1, 1e-3L);
    // Before the start it came in along the same hyperbola.
    const auto before = k.at(-1000 * Day);
    ASSERT_TRUE(before);
    const Extended v = length(minus(before->velocityB, before->velocityA));
    const Extended apart = distance(before->positionB, before->positionA);
    EXPECT_EXTENDED_NEAR((v * v - 2 * gm / apart) / (atInfinity * atInfinity), 1, 1e-14L);
    EXPECT_GT(apart, 5 * r);
}

TEST(KeplerPropagation, PathIsContinuousAcrossTheParabola) {
    const Extended massA = 2e30L, massB = 5e29L, r = 4e11L;
    const Extended escape = std::sqrt(2 * G * (massA + massB) / r);
    std::vector<ExactBodies> at;
    for (const Extended factor : {1 - 1e-12L, 1.0L, 1 + 1e-12L}) {
        const Extended v = escape * factor;
        const KeplerPropagation k(relativeRecord(massA, massB, {r, 0}, {-v / 2, v * std::sqrt(0.75L)}));
        ASSERT_TRUE(k.hasExactPath());
        const auto b = k.at(3000 * Day);
        ASSERT_TRUE(b);
        at.push_back(*b);
    }
    // A change of 1e-12 in speed moves the body by about as much, not by a jump between formulas.
    for (int i = 0; i < 2; ++i) {
        const Extended scale = length(minus(at[1].positionB, at[1].positionA));
        EXPECT_LT(distance(at[i].positionB, at[i + 1].positionB) / scale, 1e-10L);
        EXPECT_GT(distance(at[i].positionB, at[i + 1].positionB) / scale, 1e-14L);
    }
}

TEST(KeplerPropagation, DefaultStartComesClosestOnDayOneHundredAndEleven) {
    const TState d = defaultSettings();
    const KeplerPropagation k(d);
    ASSERT_TRUE(k.hasExactPath());
    auto separation = [&](Extended t) {
        const auto b = k.at(t);
        return b ? distance(b->positionA, b->positionB) : std::numeric_limits<Extended>::quiet_NaN();
    };
    // The hourly minimum between days 100 and 120.
    Extended best = 0;
    for (Extended t = 100 * Day; t <= 120 * Day; t += 3600)
        if (best == 0 || separation(t) < separation(best)) best = t;
    EXPECT_EXTENDED_NEAR(best / Day, 111.2L, 0.05L);
    const OrbitReadout o = readOrbit(d);
    ASSERT_TRUE(o.timeToPeriapsis && o.periapsis);
    EXPECT_EXTENDED_NEAR(separation(*o.timeToPeriapsis) / 1.4735e10L, 1, 1e-4L);
    EXPECT_EXTENDED_NEAR(separation(*o.timeToPeriapsis) / *o.periapsis, 1, 1e-15L);
    EXPECT_EXTENDED_NEAR(std::fabs(best - *o.timeToPeriapsis), 0, 1800);
}

// The core's own run of a circular orbit, compared after 365 days with the exact one.
Extended runError(TState start, std::int32_t cpT, std::int32_t days) {
    start.setCpT(cpT);
    const TState end = plotPointStates(start, days).back();
    const auto exact = KeplerPropagation(start).at(days * start.dT());
    const Extended separation = distance(exact->positionA, exact->positionB);
    return std::max(distance(end.APos(), exact->positionA), distance(end.BPos(), exact->positionB)) /
           separation;
}

TEST(KeplerPropagation, AgreesWithTheIntegratorAsTheStepShrinks) {
    const TState earth = circularRecord(SunMass, EarthMass, AU, true, {3000, 1000});
    Extended previous = 0;
    for (const std::int32_t cpT : {40, 400, 4000}) {
        const Extended steps = 365.0L * cpT;
        const Extended error = runError(earth, cpT, 365);
        SCOPED_TRACE(static_cast<double>(steps));
        // Measured: 1.3e-2, 1.3e-3 and 1.1e-4.
        EXPECT_LT(error, 200 / steps);
        if (previous != 0) {
            EXPECT_GT(previous / error, 7) << "first order in the step: tenfold for a tenth of the step";
        }
        previous = error;
    }
}

Extended notANumber() {
    return std::numeric_limits<Extended>::quiet_NaN();
}

struct NoPathCase {
    const char* name;
    TState record;
    NoOrbitReason why;
};

void PrintTo(const NoPathCase& c, std::ostream* os) {
    *os << c.name;
}

std::vector<NoPathCase> noPathCases() {
    TState coincident = defaultSettings();
    coincident.setBPos(coincident.APos());
    TState zeroMass = defaultSettings();
    zeroMass.setBMass(0);
    TState negativeMass = defaultSettings();
    negativeMass.setAMass(-1);
    TState notFinite = defaultSettings();
    notFinite.setBSpeed(notANumber());
    return {{"RadialStart", relativeRecord(2e30L, 5e30L, {0, 3e11L}, {0, -5000}), NoOrbitReason::Radial},
            {"CoincidentBodies", coincident, NoOrbitReason::Coincident},
            {"ZeroMass", zeroMass, NoOrbitReason::BadMass},
            {"NegativeMass", negativeMass, NoOrbitReason::BadMass},
            {"NaNSpeed", notFinite, NoOrbitReason::NotFinite}};
}

class NoExactPath : public ::testing::TestWithParam<NoPathCase> {};

TEST_P(NoExactPath, GivesNothingAndSaysWhy) {
    const KeplerPropagation k(GetParam().record);
    EXPECT_FALSE(k.hasExactPath());
    EXPECT_EQ(k.whyNoPath(), GetParam().why);
    EXPECT_FALSE(k.at(10 * Day));
    EXPECT_FALSE(k.period());
    std::vector<ExactPathPoint> path{ExactPathPoint{}};
    k.samplePath(100 * Day, 50, path);
    EXPECT_TRUE(path.empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, NoExactPath, ::testing::ValuesIn(noPathCases()),
                         [](const auto& p) { return std::string(p.param.name); });

struct PathCase {
    const char* name;
    TState record;
    Extended days;
};

void PrintTo(const PathCase& c, std::ostream* os) {
    *os << c.name;
}

std::vector<PathCase> pathCases() {
    const Extended r = 4e11L, gm = G * 2.5e30L, escape = std::sqrt(2 * gm / r);
    return {{"DefaultOverTwoAndAHalfPeriods", defaultSettings(), 2.5L * 1356.6L},
            {"EllipseBackwardsInTime", periapsisRecord(3e30L, 1e30L, 2e10L, 0.6L), -400},
            {"Hyperbola", relativeRecord(2e30L, 5e29L, {r, 0}, {-escape, escape}), 5000},
            {"NearParabola", relativeRecord(2e30L, 5e29L, {r, 0}, {-escape / 2, escape * std::sqrt(0.75L)}),
             5000}};
}

class ExactPathSamples : public ::testing::TestWithParam<PathCase> {};

TEST_P(ExactPathSamples, LieOnThePropagatedPathFromStartToEnd) {
    const KeplerPropagation k(GetParam().record);
    const Extended end = GetParam().days * Day;
    std::vector<ExactPathPoint> path;
    k.samplePath(end, 400, path);
    ASSERT_EQ(path.size(), 400u);
    EXPECT_EQ(path.front().t, 0);
    EXPECT_EXTENDED_NEAR(path.back().t / end, 1, 1e-15L);
    const TState& s = GetParam().record;
    const Extended scale = distance(s.APos(), s.BPos());
    EXPECT_LT(distance(path.front().positionA, s.APos()) / scale, 1e-15L);
    for (std::size_t i = 0; i < path.size(); ++i) {
        SCOPED_TRACE(i);
        if (i > 0) {
            EXPECT_TRUE(end > 0 ? path[i].t > path[i - 1].t : path[i].t < path[i - 1].t);
        }
        const auto exact = k.at(path[i].t);
        ASSERT_TRUE(exact);
        // Kepler's equation gives each sample's time; solving for the place at that time must agree.
        EXPECT_LT(distance(path[i].positionA, exact->positionA) / scale, 1e-12L);
        EXPECT_LT(distance(path[i].positionB, exact->positionB) / scale, 1e-12L);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ExactPathSamples, ::testing::ValuesIn(pathCases()),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(ExactPathSamples, AreDenseInTimeAroundTheClosestApproach) {
    const KeplerPropagation k(defaultSettings());
    std::vector<ExactPathPoint> path;
    k.samplePath(1356.6L * Day, 200, path);
    ASSERT_EQ(path.size(), 200u);
    // Evenly spaced in the eccentric anomaly: near day 111 a step of the samples is a fraction of a day,
    // near the apoapsis it is weeks.
    Extended shortest = path[1].t - path[0].t, longest = shortest, shortestAt = 0;
    for (std::size_t i = 1; i < path.size(); ++i) {
        const Extended step = path[i].t - path[i - 1].t;
        if (step < shortest) {
            shortest = step;
            shortestAt = path[i].t;
        }
        longest = std::max(longest, step);
    }
    EXPECT_EXTENDED_NEAR(shortestAt / Day, 111.2L, 2);
    EXPECT_GT(longest / shortest, 50);
}

TEST(KeplerPropagation, LeavesFlagsAndControlWordsAsFound) {
    // An escape far out overflows inside.
    const Extended r = 4e11L, gm = G * 2.5e30L, escape = std::sqrt(2 * gm / r);
    const TState hyperbola = relativeRecord(2e30L, 5e29L, {r, 0}, {-escape, escape});
    const TState radial = relativeRecord(2e30L, 5e29L, {r, 0}, {0, 0});
    for (const int preset : {0, FE_DIVBYZERO, FE_OVERFLOW | FE_INEXACT}) {
        SCOPED_TRACE(preset);
        std::feclearexcept(FE_ALL_EXCEPT);
        if (preset != 0) std::feraiseexcept(preset);
        setX87Control(ForeignX87Control);
        const FpSnapshot before = fpSnapshot();
        const KeplerPropagation k(hyperbola);
        EXPECT_FALSE(k.at(1e4930L)) << "beyond the range of the 80-bit format";
        EXPECT_TRUE(k.at(100 * Day));
        std::vector<ExactPathPoint> path;
        k.samplePath(1e4930L, 10, path);
        EXPECT_FALSE(KeplerPropagation(radial).at(Day));
        EXPECT_EQ(fpSnapshot(), before);
        setX87Control(UsualX87Control);
    }
    std::feclearexcept(FE_ALL_EXCEPT);
}

}  // namespace
