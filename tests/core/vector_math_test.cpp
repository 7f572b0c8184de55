#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

#include "core/fp_error.h"
#include "core/vector_math.h"

namespace {

// An Extended to 16 significant digits, enough to tell the degree factor's quarter turn from 90.
std::string sig16(Extended x) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15Le", x);
    return buf;
}

class VectorMath : public ::testing::Test {
protected:
    void SetUp() override { std::feclearexcept(FE_ALL_EXCEPT); }
    void TearDown() override { std::feclearexcept(FE_ALL_EXCEPT); }
    static int errorFlags() { return std::fetestexcept(FpErrorFlags); }
};

TEST_F(VectorMath, DegreeFactorIsTheStoredValueNotPiOver180) {
    EXPECT_EQ(bytesOfExtended(DegreeFactor),
              (ExtendedBytes{0xBC, 0x87, 0xE8, 0x96, 0x12, 0x35, 0xFA, 0x8E, 0xF9, 0x3F}));
    const Extended piOver180 = 3.141592653589793238462643383279503L / 180;
    EXPECT_NEAR(static_cast<double>(DegreeFactor / piOver180 - 1), 3.25e-12, 0.01e-12);
}

TEST_F(VectorMath, ZeroDegreesPointsExactlyUp) {
    const TVector up = Dir2UV(0);
    EXPECT_EQ(up.u, 0);
    EXPECT_EQ(up.v, -1);
}

struct DirCase {
    Extended degrees;
    Extended u, v;  // expected, to the tolerance below
    double tolerance;
};

class Dir2UVAxes : public VectorMath, public ::testing::WithParamInterface<DirCase> {};

// The degree factor is a little larger than pi/180, so the axes are missed by a few 1e-12.
TEST_P(Dir2UVAxes, MissTheAxesByTheDegreeFactorsExcess) {
    const TVector r = Dir2UV(GetParam().degrees);
    EXPECT_NEAR(static_cast<double>(r.u), static_cast<double>(GetParam().u), GetParam().tolerance);
    EXPECT_NEAR(static_cast<double>(r.v), static_cast<double>(GetParam().v), GetParam().tolerance);
    EXPECT_EQ(errorFlags(), 0);
}

INSTANTIATE_TEST_SUITE_P(Quadrants, Dir2UVAxes,
                         ::testing::Values(DirCase{90, 1, 5.1034e-12L, 1e-16},
                                           DirCase{180, -1.0207e-11L, 1, 1e-15},
                                           DirCase{270, -1, -1.5310e-11L, 1e-15},
                                           DirCase{45, 0.70710678118654752L, -0.70710678118654752L, 1e-11}));

TEST_F(VectorMath, NinetyDegreesHasExactlyUnitU) {
    EXPECT_EQ(Dir2UV(90).u, 1);
}

struct AzimuthCase {
    const char* name;
    TVector q;
    const char* expected;  // 16 significant digits
};

class V2DirAxes : public VectorMath, public ::testing::WithParamInterface<AzimuthCase> {};

TEST_P(V2DirAxes, GiveTheQuarterTurnOfTheDegreeFactor) {
    EXPECT_EQ(sig16(V2Dir(GetParam().q)), GetParam().expected);
    EXPECT_EQ(errorFlags(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Axes, V2DirAxes,
    ::testing::Values(AzimuthCase{"right", {1, 0}, "9.000000000000000e+01"},
                      AzimuthCase{"up", {0, -1}, "0.000000000000000e+00"},
                      AzimuthCase{"down", {0, 1}, "1.799999999997076e+02"},
                      AzimuthCase{"left", {-1, 0}, "2.699999999997076e+02"},
                      AzimuthCase{"leftlong", {-3e11L, 0}, "2.699999999997076e+02"},
                      AzimuthCase{"justleftofup", {-1e-30L, -1}, "3.599999999997076e+02"},
                      // -0 counts as non-negative: bearing 90 to 180, not 180 to 270 (which would give 180).
                      AzimuthCase{"negzerodown", {-0.0L, 1}, "1.799999999997076e+02"},
                      AzimuthCase{"diagonal", {1, 1}, "1.349999999998538e+02"}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(VectorMath, AxisValuesAreExact) {
    EXPECT_EQ(V2Dir(TVector{1, 0}), 90);
    EXPECT_EQ(V2Dir(TVector{2.5e11L, 0}), 90);
    EXPECT_EQ(V2Dir(TVector{0, -1}), 0);
}

TEST_F(VectorMath, NinetyDegreesThereAndBackOvershoots) {
    EXPECT_EQ(sig16(V2Dir(Dir2UV(90))).substr(0, 13), "9.00000000002");
}

TEST_F(VectorMath, AzimuthRoundTripStaysInItsQuadrant) {
    for (int deg = 1; deg < 360; deg += 7) {
        const Extended back = V2Dir(Dir2UV(deg));
        EXPECT_NEAR(static_cast<double>(back), deg, 1e-9) << deg;
    }
}

TEST_F(VectorMath, MagnitudeOfThreeFourIsExactlyFive) {
    EXPECT_EQ(VMag(TVector{3, 4}), 5);
}

TEST_F(VectorMath, SumAndScaleAreComponentwise) {
    const TVector s = VAdd(TVector{1, 2}, VsMult(-1, TVector{0.5L, 4}));
    EXPECT_EQ(s.u, 0.5L);
    EXPECT_EQ(s.v, -2);
    // A difference of nearby large values is exact, as a rounded subtraction would be.
    const TVector d = VAdd(TVector{6e11L, 4e11L}, VsMult(-1, TVector{2e11L, 1e11L}));
    EXPECT_EQ(d.u, 4e11L);
    EXPECT_EQ(d.v, 3e11L);
}

TEST_F(VectorMath, AzimuthOfTheZeroVectorIsInvalid) {
    Extended r = V2Dir(TVector{0, 0});
    pinFpResult(r);
    EXPECT_TRUE(std::isnan(r));
    try {
        checkFpFlags();
        FAIL() << "no error raised";
    } catch (const FloatingPointError& e) {
        EXPECT_STREQ(e.what(), "Invalid floating point operation");
    }
}

TEST_F(VectorMath, AngleBeyondFsincosRangeIsInvalidAndKeepsTheFpuUsable) {
    for (Extended huge : {0x1p63L, -0x1p63L, 1e30L, std::numeric_limits<Extended>::infinity(),
                          std::numeric_limits<Extended>::quiet_NaN()}) {
        std::feclearexcept(FE_ALL_EXCEPT);
        Extended s = 0, c = 0;
        x87SinCos(huge, s, c);
        EXPECT_TRUE(std::isnan(s) && std::isnan(c));
        EXPECT_EQ(errorFlags(), FE_INVALID);
        // A broken register stack would show in the arithmetic that follows.
        EXPECT_EQ(VMag(TVector{3, 4}), 5);
    }
    Extended s = 0, c = 0;
    x87SinCos(0x1p62L, s, c);
    EXPECT_FALSE(std::isnan(s));
}

TEST_F(VectorMath, ArcSinTakesTheQuadrantFromTheSigns) {
    EXPECT_EQ(ArcSin(0), 0);
    EXPECT_EQ(ArcSin(1), x87Atan2(1, 0));
    EXPECT_LT(std::fabs(ArcSin(0.5L) - 0.523598775598298873077107230546583814L), 1e-18L);
    EXPECT_LT(std::fabs(x87Atan2(1, -1) - 2.35619449019234492884698253745962716L), 1e-18L);
    EXPECT_EQ(x87Sqrt(2.25L), 1.5L);
}

// The pixel of a position: ties go to the even neighbour, in both directions, and nothing passes through a
// 64-bit integer or double on the way.
TEST_F(VectorMath, RoundingToAnIntegerTakesTiesToEven) {
    const struct {
        Extended x, expected;
    } cases[] = {{0.5L, 0},
                 {1.5L, 2},
                 {2.5L, 2},
                 {-0.5L, 0},
                 {-2.5L, -2},
                 {2.4999L, 2},
                 {-3.5L, -4},
                 {1e30L + 0.5L, 1e30L},
                 {0x1p62L + 0.5L, 0x1p62L},
                 {1023.5L, 1024}};
    for (const auto& c : cases) EXPECT_EQ(x87RoundToInteger(c.x), c.expected) << static_cast<double>(c.x);
    EXPECT_TRUE(std::signbit(x87RoundToInteger(-0.5L)));
}

}  // namespace
