#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

#include "core/kepler_propagation.h"
#include "core/orbit_readout.h"
#include "orbit_test_states.h"

namespace {

using namespace orbit_test;

struct ReferencePoint {
    Extended t;
    TVector b, a;
    Extended fastest;  // the faster body's speed, m/s
};

struct ReferenceOrbit {
    const char* name;
    TVector posA, posB;
    Extended speedA, speedB;  // km/s at azimuth 0: the velocity is exactly (0, -speed x 1000)
    Extended eccentricity;
    Extended period;  // 0 when open
    std::vector<ReferencePoint> points;
};

#include "kepler_reference_table.inc"

// Failures name the case, not its bytes.
void PrintTo(const ReferenceOrbit& o, std::ostream* os) {
    *os << o.name;
}

TState recordOf(const ReferenceOrbit& o) {
    TState s = defaultSettings();
    s.setAPos(o.posA);
    s.setBPos(o.posB);
    s.setASpeed(o.speedA);
    s.setBSpeed(o.speedB);
    s.setADir(0);
    s.setBDir(0);
    return s;
}

class ReferencePropagation : public ::testing::TestWithParam<ReferenceOrbit> {};

// Near e = 1 the period hangs on 1/a, a small difference of two large terms: it must come out to the last
// bits all the same, here and in the readout.
TEST_P(ReferencePropagation, PeriodAndEccentricityAreRightToTheLastBits) {
    const ReferenceOrbit& o = GetParam();
    const TState s = recordOf(o);
    const KeplerPropagation k(s);
    ASSERT_TRUE(k.hasExactPath());
    const OrbitReadout readout = readOrbit(s);
    ASSERT_TRUE(readout.eccentricity);
    EXPECT_LT(std::fabs(*readout.eccentricity - o.eccentricity), 1e-18L);
    if (o.period == 0) {
        EXPECT_FALSE(k.period());
        EXPECT_FALSE(readout.period);
        return;
    }
    ASSERT_TRUE(k.period());
    EXPECT_LT(std::fabs(*k.period() / o.period - 1), 4 * LDBL_EPSILON);
    // The readout calls an orbit within 1e-9 of e = 1 a parabola, without a period.
    if (readout.kind != OrbitKind::Ellipse) return;
    ASSERT_TRUE(readout.period);
    EXPECT_LT(std::fabs(*readout.period / o.period - 1), 4 * LDBL_EPSILON);
}

// Each body at each time, forwards and backwards, from a thousandth of a second to ten thousand periods. A
// result is exact when it is off by no more than the orbit's geometry at 1e-16, a few units in the last place
// of the position itself, and the way the bodies go in one unit in the last place of t: the time cannot be
// given closer than that.
TEST_P(ReferencePropagation, BodiesStandWhereTheHighPrecisionSolutionPutsThem) {
    const ReferenceOrbit& o = GetParam();
    const KeplerPropagation k(recordOf(o));
    for (const ReferencePoint& p : o.points) {
        SCOPED_TRACE(static_cast<double>(p.t));
        const auto got = k.at(p.t);
        ASSERT_TRUE(got);
        const Extended geometry = 1e-16L * distance(p.a, p.b);
        const Extended timeUlp = LDBL_EPSILON * std::fabs(p.t) * p.fastest;
        EXPECT_LT(distance(got->positionA, p.a), geometry + timeUlp + 4 * LDBL_EPSILON * length(p.a));
        EXPECT_LT(distance(got->positionB, p.b), geometry + timeUlp + 4 * LDBL_EPSILON * length(p.b));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ReferencePropagation, ::testing::ValuesIn(ReferenceOrbits),
                         [](const auto& p) { return std::string(p.param.name); });

// The tiniest times: a denormal is a time like any other, and the bodies have not moved from the start.
TEST(KeplerPropagation, TinyTimesOfEitherSignGiveTheStart) {
    const TState s = recordOf(ReferenceOrbits[0]);
    const KeplerPropagation k(s);
    const Extended denormal = std::numeric_limits<Extended>::denorm_min();
    for (const Extended t : {denormal, -denormal, 1e-4940L, -1e-4000L, 1e-300L, -1e-30L}) {
        SCOPED_TRACE(static_cast<double>(t));
        const auto got = k.at(t);
        ASSERT_TRUE(got);
        EXPECT_LT(distance(got->positionA, s.APos()), 1e-9L);
        EXPECT_LT(distance(got->positionB, s.BPos()), 1e-9L);
    }
}

}  // namespace
