#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

#include "core/orbit_readout.h"
#include "extended_near.h"
#include "orbit_test_states.h"

namespace {

using namespace orbit_test;

void expectRelative(const Quantity& q, Extended expected, Extended tolerance, const char* what) {
    ASSERT_TRUE(q.has_value()) << what;
    EXPECT_EXTENDED_NEAR(*q / expected, 1, tolerance) << what << ": " << static_cast<double>(*q);
}

TEST(OrbitReadout, DefaultStartIsABoundEllipseCrossedInTwentySevenSteps) {
    const OrbitReadout o = readOrbit(defaultSettings());
    EXPECT_EQ(o.kind, OrbitKind::Ellipse);
    ASSERT_TRUE(o.eccentricity && o.period && o.timeToPeriapsis && o.stepsAcrossPeriapsis);
    EXPECT_EXTENDED_NEAR(*o.eccentricity, 0.97300L, 5e-6L);
    expectRelative(o.semiMajorAxis, 5.4578e11L, 1e-4L, "a");
    EXPECT_EXTENDED_NEAR(*o.period / Day, 1356.60L, 0.005L);
    expectRelative(o.periapsis, 1.4735e10L, 1e-4L, "q");
    EXPECT_EXTENDED_NEAR(*o.timeToPeriapsis / Day, 111.2L, 0.05L);
    EXPECT_EQ(std::floor(*o.stepsAcrossPeriapsis), 27);
    expectRelative(o.relativeEnergy, -6.114e38L, 1e-4L, "relative energy");
    // Exact by hand: 30 km/s and 2 km/s, 5e11 m apart; Dir2UV's last bits are far below this tolerance.
    const Extended potential = -G * 2e30L * 5e30L / 5e11L;
    expectRelative(o.potentialEnergy, potential, 1e-15L, "potential energy");
    expectRelative(o.totalEnergy, 2e30L * 9e8L / 2 + 5e30L * 4e6L / 2 + potential, 1e-15L, "total energy");
    EXPECT_EQ(o.sense, RotationSense::Clockwise);
    ASSERT_TRUE(o.centreOfMassVelocity);
    EXPECT_EXTENDED_NEAR(length(*o.centreOfMassVelocity), 7300, 5);
    // The conic's own relations.
    expectRelative(o.apoapsis, *o.semiMajorAxis * (1 + *o.eccentricity), 1e-15L, "Q");
    expectRelative(o.periapsis, *o.semiMajorAxis * (1 - *o.eccentricity), 1e-14L, "q = a (1 - e)");
}

TEST(OrbitReadout, BodiesAreReadAsTheIntegratorBuildsThem) {
    const OrbitReadout o = readOrbit(defaultSettings());
    ASSERT_TRUE(o.a.velocity && o.a.speed && o.a.direction && o.b.direction && o.a.position);
    const TVector built = VsMult(30 * 1000, Dir2UV(115));
    EXPECT_EQ(bytesOfExtended(o.a.velocity->u), bytesOfExtended(built.u));
    EXPECT_EQ(bytesOfExtended(o.a.velocity->v), bytesOfExtended(built.v));
    EXPECT_EXTENDED_NEAR(*o.a.speed, 30000, 1e-9L);
    EXPECT_EQ(*o.a.direction, 115);
    EXPECT_EQ(*o.b.direction, 270);
    EXPECT_EQ(o.a.position->u, 2e11L);
    expectRelative(o.separation, 5e11L, 1e-18L, "separation");
}

TEST(OrbitReadout, DirectionIsTheStoredAzimuthTurnedRoundForANegativeSpeed) {
    TState s = defaultSettings();
    s.setASpeed(-30);
    s.setADir(-45);
    s.setBSpeed(0);
    const OrbitReadout o = readOrbit(s);
    ASSERT_TRUE(o.a.direction && o.a.speed);
    EXPECT_EQ(*o.a.direction, 135);
    EXPECT_EXTENDED_NEAR(*o.a.speed, 30000, 1e-9L);
    EXPECT_FALSE(o.b.direction) << "a body at rest has no direction";
}

struct CircleCase {
    const char* name;
    bool clockwise;
    TVector centreVelocity;
};

// Failures name the case, not its bytes.
void PrintTo(const CircleCase& c, std::ostream* os) {
    *os << c.name;
}

class CircularOrbit : public ::testing::TestWithParam<CircleCase> {};

TEST_P(CircularOrbit, HasKeplersPeriodForTheTotalMass) {
    const CircleCase& c = GetParam();
    const Extended massA = 2e30L, massB = 8e29L, r = 1.5e11L;
    const OrbitReadout o = readOrbit(circularRecord(massA, massB, r, c.clockwise, c.centreVelocity));
    EXPECT_EQ(o.kind, OrbitKind::Circle);
    ASSERT_TRUE(o.eccentricity);
    EXPECT_LT(*o.eccentricity, 1e-6L);
    expectRelative(o.period, 2 * Pi * std::sqrt(r * r * r / (G * (massA + massB))), 1e-12L, "period");
    expectRelative(o.semiMajorAxis, r, 1e-12L, "a");
    EXPECT_EQ(o.sense, c.clockwise ? RotationSense::Clockwise : RotationSense::Anticlockwise);
    EXPECT_FALSE(o.timeToPeriapsis) << "a circle's periapsis is rounding";
    ASSERT_TRUE(o.centreOfMassVelocity);
    EXPECT_EXTENDED_NEAR(o.centreOfMassVelocity->u, c.centreVelocity.u, 1e-6L);
    EXPECT_EXTENDED_NEAR(o.centreOfMassVelocity->v, c.centreVelocity.v, 1e-6L);
    // The centre-of-mass motion is not part of the relative energy: -G mA mB / 2r on a circle.
    expectRelative(o.relativeEnergy, -G * massA * massB / (2 * r), 1e-12L, "relative energy");
}

INSTANTIATE_TEST_SUITE_P(Cases, CircularOrbit,
                         ::testing::Values(CircleCase{"ClockwiseAtRest", true, {}},
                                           CircleCase{"AnticlockwiseAtRest", false, {}},
                                           CircleCase{"ClockwiseMoving", true, {5000, -12000}}),
                         [](const auto& p) { return std::string(p.param.name); });

struct EllipseCase {
    const char* name;
    bool atApoapsis;
};

void PrintTo(const EllipseCase& c, std::ostream* os) {
    *os << c.name;
}

class EllipseFromItsApsides : public ::testing::TestWithParam<EllipseCase> {};

TEST_P(EllipseFromItsApsides, GivesThemBack) {
    const Extended massA = 3e30L, massB = 1e30L, q = 2e10L, Q = 3e11L;
    const Extended a = (q + Q) / 2, e = (Q - q) / (Q + q), gm = G * (massA + massB);
    TState s;
    Extended speedAtPeriapsis = std::sqrt(gm * (2 / q - 1 / a));
    if (GetParam().atApoapsis)
        s = relativeRecord(massA, massB, {-Q, 0}, {0, -std::sqrt(gm * (2 / Q - 1 / a))});
    else
        s = relativeRecord(massA, massB, {q, 0}, {0, speedAtPeriapsis});
    s.setDT(3600);
    s.setCpT(10);
    const OrbitReadout o = readOrbit(s);
    EXPECT_EQ(o.kind, OrbitKind::Ellipse);
    ASSERT_TRUE(o.eccentricity && o.period && o.timeToPeriapsis);
    EXPECT_EXTENDED_NEAR(*o.eccentricity, e, 1e-14L);
    expectRelative(o.semiMajorAxis, a, 1e-14L, "a");
    expectRelative(o.periapsis, q, 1e-14L, "q");
    expectRelative(o.apoapsis, Q, 1e-14L, "Q");
    const Extended period = 2 * Pi * std::sqrt(a * a * a / gm);
    expectRelative(o.period, period, 1e-14L, "period");
    expectRelative(o.stepsAcrossPeriapsis, q / (speedAtPeriapsis * 360), 1e-14L, "steps");
    if (GetParam().atApoapsis) {
        EXPECT_EXTENDED_NEAR(*o.timeToPeriapsis / period, 0.5L, 1e-12L);
    } else {
        // At the periapsis itself: the next one is now or a whole period away, by rounding.
        EXPECT_LT(std::min(*o.timeToPeriapsis, period - *o.timeToPeriapsis) / period, 1e-12L);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, EllipseFromItsApsides,
                         ::testing::Values(EllipseCase{"AtPeriapsis", false},
                                           EllipseCase{"AtApoapsis", true}),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(OrbitReadout, HyperbolaKeepsItsSpeedAtInfinityAndHasNoPeriod) {
    const Extended massA = 2e30L, massB = 5e29L, r = 4e11L, speedAtInfinity = 12000;
    const Extended gm = G * (massA + massB);
    const Extended speed = std::sqrt(speedAtInfinity * speedAtInfinity + 2 * gm / r);
    for (const bool approaching : {true, false}) {
        SCOPED_TRACE(approaching ? "approaching" : "receding");
        // Half the speed sideways, half along the line between them.
        const Extended along = (approaching ? -1 : 1) * speed * std::sqrt(0.75L);
        const OrbitReadout o = readOrbit(relativeRecord(massA, massB, {r, 0}, {along, speed / 2}));
        EXPECT_EQ(o.kind, OrbitKind::Hyperbola);
        ASSERT_TRUE(o.relativeEnergy && o.eccentricity);
        EXPECT_GT(*o.eccentricity, 1);
        const Extended reducedMass = massA * massB / (massA + massB);
        EXPECT_EXTENDED_NEAR(std::sqrt(2 * *o.relativeEnergy / reducedMass) / speedAtInfinity, 1, 1e-14L);
        expectRelative(o.semiMajorAxis, -gm / (speedAtInfinity * speedAtInfinity), 1e-14L, "a");
        EXPECT_FALSE(o.period);
        EXPECT_FALSE(o.apoapsis);
        EXPECT_EQ(o.timeToPeriapsis.has_value(), approaching) << "an escape has no next periapsis";
    }
}

TEST(OrbitReadout, EscapeSpeedIsAParabola) {
    const Extended massA = 2e30L, massB = 5e29L, r = 4e11L;
    const Extended speed = std::sqrt(2 * G * (massA + massB) / r);
    const OrbitReadout o =
        readOrbit(relativeRecord(massA, massB, {r, 0}, {-speed / 2, speed * std::sqrt(0.75L)}));
    EXPECT_EQ(o.kind, OrbitKind::Parabola);
    ASSERT_TRUE(o.eccentricity && o.periapsis && o.timeToPeriapsis);
    EXPECT_EXTENDED_NEAR(*o.eccentricity, 1, ParabolaTolerance);
    EXPECT_FALSE(o.semiMajorAxis);
    EXPECT_FALSE(o.period);
    // Barker's equation from the periapsis q = h^2 / 2GM: t = (q D + D^3 / 6) / sqrt(GM), D = (r . v) /
    // sqrt(GM).
    const Extended gm = G * (massA + massB);
    const Extended h = r * speed * std::sqrt(0.75L);
    const Extended q = h * h / (2 * gm);
    const Extended d = -r * speed / 2 / std::sqrt(gm);
    expectRelative(o.periapsis, q, 1e-12L, "q");
    expectRelative(o.timeToPeriapsis, -(q * d + d * d * d / 6) / std::sqrt(gm), 1e-9L, "time to periapsis");
}

TEST(OrbitReadout, RadialFallFromRestMeetsAfterTheFreeFallTime) {
    const Extended massA = 2e30L, massB = 5e30L, r = 3e11L;
    const OrbitReadout o = readOrbit(relativeRecord(massA, massB, {0, r}, {0, 0}));
    EXPECT_EQ(o.kind, OrbitKind::Radial);
    EXPECT_EQ(o.sense, RotationSense::None);
    ASSERT_TRUE(o.timeToPeriapsis);
    expectRelative(o.timeToPeriapsis, Pi / 2 * std::sqrt(r * r * r / (2 * G * (massA + massB))), 1e-14L,
                   "fall time");
    ASSERT_TRUE(o.periapsis);
    EXPECT_EQ(*o.periapsis, 0);
    expectRelative(o.apoapsis, r, 1e-15L, "apoapsis");
    EXPECT_FALSE(o.period);
    EXPECT_FALSE(o.stepsAcrossPeriapsis);
}

TEST(OrbitReadout, RadialWhenTheSidewaysSpeedIsBelowTheTolerance) {
    // Dir2UV(180) leaves about 1e-11 of the speed sideways: a record made with the program cannot do better.
    TState s = defaultSettings();
    s.setAPos({3e11L, 1e11L});
    s.setBPos({3e11L, 4e11L});
    s.setADir(180);
    s.setBSpeed(0);
    EXPECT_EQ(readOrbit(s).kind, OrbitKind::Radial);
    s.setADir(179);
    EXPECT_EQ(readOrbit(s).kind, OrbitKind::Ellipse);
}

Extended notANumber() {
    return std::numeric_limits<Extended>::quiet_NaN();
}

struct NoOrbitCase {
    const char* name;
    void (*spoil)(TState&);
    NoOrbitReason why;
    bool separationKnown;
};

void PrintTo(const NoOrbitCase& c, std::ostream* os) {
    *os << c.name;
}

class NoOrbit : public ::testing::TestWithParam<NoOrbitCase> {};

TEST_P(NoOrbit, LeavesEveryOrbitValueEmpty) {
    TState s = defaultSettings();
    GetParam().spoil(s);
    const OrbitReadout o = readOrbit(s);
    EXPECT_EQ(o.kind, OrbitKind::None);
    EXPECT_EQ(o.whyNone, GetParam().why);
    EXPECT_EQ(o.separation.has_value(), GetParam().separationKnown);
    for (const Quantity* q :
         {&o.relativeEnergy, &o.totalEnergy, &o.eccentricity, &o.semiMajorAxis, &o.periapsis, &o.apoapsis,
          &o.period, &o.timeToPeriapsis, &o.stepsAcrossPeriapsis})
        EXPECT_FALSE(q->has_value());
    EXPECT_EQ(o.sense, RotationSense::None);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NoOrbit,
    ::testing::Values(
        NoOrbitCase{"CoincidentBodies", [](TState& s) { s.setBPos(s.APos()); }, NoOrbitReason::Coincident,
                    true},
        NoOrbitCase{"ZeroMass", [](TState& s) { s.setAMass(0); }, NoOrbitReason::BadMass, true},
        NoOrbitCase{"NegativeMass", [](TState& s) { s.setBMass(-5e30L); }, NoOrbitReason::BadMass, true},
        NoOrbitCase{"InfiniteMass", [](TState& s) { s.setBMass(std::numeric_limits<Extended>::infinity()); },
                    NoOrbitReason::NotFinite, true},
        NoOrbitCase{"NaNPosition",
                    [](TState& s) {
                        s.setBPos({notANumber(), 4e11L});
                    },
                    NoOrbitReason::NotFinite, false},
        NoOrbitCase{"NonCanonicalSpeed",
                    [](TState& s) {
                        // An unnormal: integer bit clear under a non-zero exponent, which no FPU computes
                        // with.
                        const ExtendedBytes unnormal{0, 0, 0, 0, 0, 0, 0, 0x40, 0xFF, 0x3F};
                        std::memcpy(&s.bytes[TStateLayout::ASpeed], unnormal.data(), 10);
                    },
                    NoOrbitReason::NotFinite, false},
        NoOrbitCase{"AzimuthBeyondTheSineRange", [](TState& s) { s.setADir(1e30L); },
                    NoOrbitReason::NotFinite, false},
        NoOrbitCase{"PositionsSoFarApartTheEnergyOverflows",
                    [](TState& s) {
                        s.setBPos({1e4930L, 4e11L});
                    },
                    NoOrbitReason::NotFinite, false}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(OrbitReadout, ANaNInOneBodyLeavesTheOtherReadable) {
    TState s = defaultSettings();
    s.setBSpeed(notANumber());
    const OrbitReadout o = readOrbit(s);
    EXPECT_TRUE(o.a.position && o.a.speed);
    EXPECT_FALSE(o.b.position || o.b.speed);
}

TEST(OrbitReadout, CoincidentBodiesStillHaveACentreOfMass) {
    TState s = defaultSettings();
    s.setBPos(s.APos());
    const OrbitReadout o = readOrbit(s);
    ASSERT_TRUE(o.centreOfMass && o.separation);
    EXPECT_EQ(*o.separation, 0);
    EXPECT_EXTENDED_NEAR(o.centreOfMass->u, 2e11L, 1e-3L);
    EXPECT_FALSE(o.potentialEnergy);
}

struct FpCase {
    const char* name;
    TState record;
};

void PrintTo(const FpCase& c, std::ostream* os) {
    *os << c.name;
}

std::vector<FpCase> fpCases() {
    TState coincident = defaultSettings();
    coincident.setBPos(coincident.APos());
    TState farAzimuth = defaultSettings();
    farAzimuth.setADir(1e30L);
    TState overflow = defaultSettings();
    overflow.setBPos({1e4930L, 0});
    // An escape takes the other branch of the anomaly and of the Stumpff functions.
    TState escape = defaultSettings();
    escape.setASpeed(80);
    return {{"Default", defaultSettings()},
            {"Coincident", coincident},
            {"FarAzimuth", farAzimuth},
            {"Overflow", overflow},
            {"Escape", escape}};
}

class OrbitReadoutEnvironment : public ::testing::TestWithParam<FpCase> {};

TEST_P(OrbitReadoutEnvironment, LeavesFlagsAndControlWordsAsFound) {
    const TState& s = GetParam().record;
    // glibc raises division by zero in the SSE unit, the others in the x87 one: both are read back.
    for (const int preset : {0, FE_DIVBYZERO, FE_INEXACT | FE_UNDERFLOW}) {
        SCOPED_TRACE(preset);
        std::feclearexcept(FE_ALL_EXCEPT);
        if (preset != 0) std::feraiseexcept(preset);
        const FpSnapshot before = fpSnapshot();
        readOrbit(s);
        EXPECT_EQ(fpSnapshot(), before);
    }
    std::feclearexcept(FE_ALL_EXCEPT);
}

TEST_P(OrbitReadoutEnvironment, ComputesInFullPrecisionWhateverTheCallerSet) {
    const OrbitReadout usual = readOrbit(GetParam().record);
    setX87Control(ForeignX87Control);
    const FpSnapshot before = fpSnapshot();
    const OrbitReadout foreign = readOrbit(GetParam().record);
    const FpSnapshot after = fpSnapshot();
    setX87Control(UsualX87Control);
    EXPECT_EQ(after, before);
    EXPECT_EQ(foreign.kind, usual.kind);
    ASSERT_EQ(foreign.eccentricity.has_value(), usual.eccentricity.has_value());
    if (usual.eccentricity) {
        EXPECT_EQ(bytesOfExtended(*foreign.eccentricity), bytesOfExtended(*usual.eccentricity));
    }
    std::feclearexcept(FE_ALL_EXCEPT);
}

INSTANTIATE_TEST_SUITE_P(Cases, OrbitReadoutEnvironment, ::testing::ValuesIn(fpCases()),
                         [](const auto& p) { return std::string(p.param.name); });

}  // namespace
