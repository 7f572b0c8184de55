#include "core/start_velocity.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <limits>
#include <string>
#include <tuple>

#include "core/orbit_readout.h"
#include "extended_near.h"
#include "orbit_test_states.h"

namespace {

using namespace orbit_test;

void setMotion(TState& s, int body, const StartMotion& m) {
    if (body == 0) {
        s.setASpeed(m.speed);
        s.setADir(m.direction);
    } else {
        s.setBSpeed(m.speed);
        s.setBDir(m.direction);
    }
}

struct Masses {
    const char* name;
    Extended a, b;
};

struct Partner {
    const char* name;
    Extended speed;  // km/s
    Extended direction;
};

const Masses MassCases[] = {
    {"Equal", 2e30L, 2e30L},
    {"SunAndEarth", 1.98847e30L, 5.9722e24L},
    {"EarthAndSun", 5.9722e24L, 1.98847e30L},
    {"StarAndPlanet", 1e31L, 1e27L},
};

const Partner PartnerCases[] = {
    {"AtRest", 0, 0},
    {"Slow", 2, 270},
    {"AsFastAsTheOrbit", 15, 200},
    {"Faster", 30, 90.5L},
};

void PrintTo(const Masses& m, std::ostream* os) {
    *os << m.name;
}
void PrintTo(const Partner& p, std::ostream* os) {
    *os << p.name;
}

using Case = std::tuple<Masses, Partner, int, StartOrbit>;

class StartVelocityOrbit : public ::testing::TestWithParam<Case> {};

// The record the dialog would hold: the edited body at its own start and with its own motion, the other
// with the partner's motion.
TState recordFor(const Case& c) {
    const Masses& masses = std::get<0>(c);
    const Partner& partner = std::get<1>(c);
    const int body = std::get<2>(c);
    TState s = defaultSettings();
    s.setAMass(masses.a);
    s.setBMass(masses.b);
    setMotion(s, 1 - body, StartMotion{partner.speed, partner.direction});
    return s;
}

TEST_P(StartVelocityOrbit, GivesTheCircleOrTheParabolaThroughTheStartWithThePartnersMotionKept) {
    const int body = std::get<2>(GetParam());
    const StartOrbit orbit = std::get<3>(GetParam());
    TState s = recordFor(GetParam());
    const OrbitReadout before = readOrbit(s);
    // The partner may move as the edited body does: with no relative motion the orbit turns anticlockwise.
    const RotationSense sense =
        before.sense == RotationSense::None ? RotationSense::Anticlockwise : before.sense;

    const StartVelocity v = startVelocity(s, body, orbit);
    ASSERT_TRUE(v.motion);
    EXPECT_GE(v.motion->speed, 0);
    EXPECT_GE(v.motion->direction, 0);
    EXPECT_LT(v.motion->direction, 360);
    const TState other = s;
    setMotion(s, body, *v.motion);

    const OrbitReadout after = readOrbit(s);
    ASSERT_TRUE(after.eccentricity && after.periapsis && after.separation);
    if (orbit == StartOrbit::Circle)
        EXPECT_LT(*after.eccentricity, 1e-15L);
    else
        EXPECT_LT(std::fabs(*after.eccentricity - 1), 1e-15L);
    // The start is the periapsis: the relative velocity is perpendicular to the separation.
    EXPECT_EXTENDED_NEAR(*after.periapsis / *after.separation, 1.0L, 4e-15L);
    EXPECT_EQ(after.sense, sense);
    // The other body keeps its motion; only the edited body's speed and direction change.
    TState expected = other;
    setMotion(expected, body, *v.motion);
    EXPECT_EQ(s.bytes, expected.bytes);
    const BodyReadout& partnerAfter = body == 0 ? after.b : after.a;
    const BodyReadout& partnerBefore = body == 0 ? before.b : before.a;
    EXPECT_EQ(bytesOfExtended(partnerAfter.velocity->u), bytesOfExtended(partnerBefore.velocity->u));
    EXPECT_EQ(bytesOfExtended(partnerAfter.velocity->v), bytesOfExtended(partnerBefore.velocity->v));
}

std::string caseName(const ::testing::TestParamInfo<Case>& info) {
    const Masses& masses = std::get<0>(info.param);
    const Partner& partner = std::get<1>(info.param);
    const std::string body = std::get<2>(info.param) == 0 ? "BodyA" : "BodyB";
    const std::string orbit = std::get<3>(info.param) == StartOrbit::Circle ? "Circle" : "Escape";
    return masses.name + std::string(partner.name) + body + orbit;
}

INSTANTIATE_TEST_SUITE_P(Cases, StartVelocityOrbit,
                         ::testing::Combine(::testing::ValuesIn(MassCases), ::testing::ValuesIn(PartnerCases),
                                            ::testing::Values(0, 1),
                                            ::testing::Values(StartOrbit::Circle, StartOrbit::Escape)),
                         caseName);

// Body A to the right of a Body B at rest, neither moving: A sets off straight up the screen, anticlockwise,
// at sqrt(GM / r), and at sqrt(2) times that for escape.
TEST(StartVelocity, FromRestIsAnticlockwiseAtTheClosedFormSpeeds) {
    TState s = defaultSettings();
    const Extended r = 3e11L;
    s.setBPos({2e11L, 4e11L});
    s.setAPos({2e11L + r, 4e11L});
    s.setASpeed(0);
    s.setBSpeed(0);
    const Extended gm = G * (s.AMass() + s.BMass());

    const StartVelocity circle = startVelocity(s, 0, StartOrbit::Circle);
    const StartVelocity escape = startVelocity(s, 0, StartOrbit::Escape);
    ASSERT_TRUE(circle.motion && escape.motion);
    EXPECT_EXTENDED_NEAR(circle.motion->speed, std::sqrt(gm / r) / 1000, 2e-18L * circle.motion->speed);
    EXPECT_EXTENDED_NEAR(escape.motion->speed, std::sqrt(2 * gm / r) / 1000, 2e-18L * escape.motion->speed);
    EXPECT_EQ(bytesOfExtended(circle.motion->direction), bytesOfExtended(0.0L));
    EXPECT_EQ(bytesOfExtended(escape.motion->direction), bytesOfExtended(0.0L));

    // Editing B instead: B, on A's left, sets off straight down.
    const StartVelocity b = startVelocity(s, 1, StartOrbit::Circle);
    ASSERT_TRUE(b.motion);
    setMotion(s, 1, *b.motion);
    EXPECT_EQ(readOrbit(s).sense, RotationSense::Anticlockwise);
    EXPECT_EXTENDED_NEAR(b.motion->direction * DegreeFactor, Pi, 1e-18L);
}

struct SenseCase {
    const char* name;
    Extended ownSpeed, ownDirection;  // Body A's; Body B moves at 5 km/s, bearing 30
    RotationSense expected;
};

class StartVelocitySense : public ::testing::TestWithParam<SenseCase> {};

TEST_P(StartVelocitySense, IsKeptAndAnticlockwiseWithoutSidewaysMotion) {
    const SenseCase& c = GetParam();
    TState s = defaultSettings();
    s.setBSpeed(5);
    s.setBDir(30);
    s.setASpeed(c.ownSpeed);
    s.setADir(c.ownDirection);
    for (const StartOrbit orbit : {StartOrbit::Circle, StartOrbit::Escape}) {
        const StartVelocity v = startVelocity(s, 0, orbit);
        ASSERT_TRUE(v.motion);
        TState after = s;
        setMotion(after, 0, *v.motion);
        EXPECT_EQ(readOrbit(after).sense, c.expected);
    }
}

// The default start turns Body A clockwise about B on the screen (A at the upper left, heading 115).
INSTANTIATE_TEST_SUITE_P(
    Cases, StartVelocitySense,
    ::testing::Values(SenseCase{"Clockwise", 30, 115, RotationSense::Clockwise},
                      SenseCase{"Anticlockwise", 30, 295, RotationSense::Anticlockwise},
                      SenseCase{"MovingWithThePartner", 5, 30, RotationSense::Anticlockwise},
                      SenseCase{"BothAtRest", 0, 0, RotationSense::Anticlockwise},
                      SenseCase{"DamagedOwnSpeed", std::numeric_limits<Extended>::quiet_NaN(), 115,
                                RotationSense::Anticlockwise}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(StartVelocity, RadialMotionCountsAsNoSense) {
    // A falls straight at B, which is at rest: with no sideways motion the circle turns anticlockwise.
    TState s = defaultSettings();
    s.setAPos({1e11L, 4e11L});
    s.setBPos({6e11L, 4e11L});
    s.setASpeed(20);
    s.setADir(90);
    s.setBSpeed(0);
    const StartVelocity v = startVelocity(s, 0, StartOrbit::Circle);
    ASSERT_TRUE(v.motion);
    setMotion(s, 0, *v.motion);
    EXPECT_EQ(readOrbit(s).sense, RotationSense::Anticlockwise);
}

struct NoneCase {
    const char* name;
    void (*damage)(TState&);
    NoOrbitReason why;
};

class StartVelocityNone : public ::testing::TestWithParam<NoneCase> {};

TEST_P(StartVelocityNone, SaysWhyAndLeavesTheFlagsAsFound) {
    TState s = defaultSettings();
    GetParam().damage(s);
    for (const int preset : {0, FE_DIVBYZERO, FE_INEXACT | FE_UNDERFLOW}) {
        SCOPED_TRACE(preset);
        std::feclearexcept(FE_ALL_EXCEPT);
        if (preset != 0) std::feraiseexcept(preset);
        const FpSnapshot before = fpSnapshot();
        const StartVelocity v = startVelocity(s, 0, StartOrbit::Circle);
        EXPECT_EQ(fpSnapshot(), before);
        EXPECT_FALSE(v.motion);
        EXPECT_EQ(v.whyNone, GetParam().why);
    }
    std::feclearexcept(FE_ALL_EXCEPT);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StartVelocityNone,
    ::testing::Values(
        NoneCase{"ZeroMass", [](TState& s) { s.setAMass(0); }, NoOrbitReason::BadMass},
        NoneCase{"NegativePartnerMass", [](TState& s) { s.setBMass(-5e30L); }, NoOrbitReason::BadMass},
        NoneCase{"NaNPartnerMass", [](TState& s) { s.setBMass(std::numeric_limits<Extended>::quiet_NaN()); },
                 NoOrbitReason::NotFinite},
        NoneCase{"Coincident", [](TState& s) { s.setAPos(s.BPos()); }, NoOrbitReason::Coincident},
        NoneCase{"NaNPosition",
                 [](TState& s) {
                     s.setAPos({std::numeric_limits<Extended>::quiet_NaN(), 0});
                 },
                 NoOrbitReason::NotFinite},
        NoneCase{"PartnerSpeedOverflows", [](TState& s) { s.setBSpeed(1e4930L); }, NoOrbitReason::NotFinite},
        NoneCase{"SeparationOverflows",
                 [](TState& s) {
                     s.setAPos({-1e4932L, 0});
                     s.setBPos({1e4932L, 0});
                 },
                 NoOrbitReason::NotFinite}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(StartVelocity, ComputesInFullPrecisionWhateverTheCallerSet) {
    const TState s = defaultSettings();
    const StartVelocity usual = startVelocity(s, 1, StartOrbit::Escape);
    setX87Control(ForeignX87Control);
    const FpSnapshot before = fpSnapshot();
    const StartVelocity foreign = startVelocity(s, 1, StartOrbit::Escape);
    const FpSnapshot after = fpSnapshot();
    setX87Control(UsualX87Control);
    EXPECT_EQ(after, before);
    ASSERT_TRUE(usual.motion && foreign.motion);
    EXPECT_EQ(bytesOfExtended(foreign.motion->speed), bytesOfExtended(usual.motion->speed));
    EXPECT_EQ(bytesOfExtended(foreign.motion->direction), bytesOfExtended(usual.motion->direction));
    std::feclearexcept(FE_ALL_EXCEPT);
}

}  // namespace
