#include "core/plot_pixels.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <limits>
#include <string>

#include "core/fp_error.h"
#include "x87_flags.h"

namespace {

constexpr Extended Inf = std::numeric_limits<Extended>::infinity();
constexpr Extended NaN = std::numeric_limits<Extended>::quiet_NaN();

struct MappingCase {
    const char* name;
    TVector metres;
    Extended sf;
    const char* thrown;  // the cross's error, or none
    bool overlayHasPixel;
};

const MappingCase Cases[] = {
    {"Plain", {200e9L, 100e9L}, 1e9L, nullptr, true},
    {"HalfRoundsToEven", {2.5e9L, 3.5e9L}, 1e9L, nullptr, true},
    {"ZeroScale", {1, 1}, 0, "Floating point division by zero", false},
    {"NaNPosition", {NaN, 1}, 1e9L, "Invalid floating point operation", false},
    {"NaNScale", {1, 1}, NaN, "Invalid floating point operation", false},
    {"TinyScaleOverflows", {1e4000L, 1}, 1e-1000L, "Floating point overflow", false},
    {"InfiniteScale", {1, 1}, Inf, nullptr, false},
};

class PlotPixels : public testing::TestWithParam<MappingCase> {};

// The crosses and the overlay map a position by the one rule: the cross rounds half to even and raises the
// run's errors; the overlay gets the unrounded pixel or none, and the flags stay as they were.
TEST_P(PlotPixels, CrossesRaiseAndTheOverlayGetsNone) {
    const MappingCase& c = GetParam();
    if (c.thrown) {
        try {
            pixelOrThrow(c.metres, c.sf);
            ADD_FAILURE() << "no error raised";
        } catch (const FloatingPointError& e) {
            EXPECT_EQ(std::string(e.what()), c.thrown);
        }
    } else if (c.overlayHasPixel) {
        const PlotPixel p = pixelOrThrow(c.metres, c.sf);
        EXPECT_EQ(p.x, x87RoundToInteger(c.metres.u / c.sf));
        EXPECT_EQ(p.y, x87RoundToInteger(c.metres.v / c.sf));
    }
    clearFpFlags();
    raiseX87Flags(FE_INEXACT);
    const std::optional<PlotPixel> q = pixelOrNone(c.metres, c.sf);
    EXPECT_EQ(x87ErrorFlags(), 0) << "pixelOrNone left an error flag";
    EXPECT_EQ(q.has_value(), c.overlayHasPixel);
    if (q) {
        EXPECT_EQ(q->x, c.metres.u / c.sf);
        EXPECT_EQ(q->y, c.metres.v / c.sf);
    }
    clearFpFlags();
}

INSTANTIATE_TEST_SUITE_P(Mappings, PlotPixels, testing::ValuesIn(Cases),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(PlotPixels, HalfPixelsRoundToEven) {
    const PlotPixel p = pixelOrThrow({2.5e9L, 3.5e9L}, 1e9L);
    EXPECT_EQ(p.x, 2);
    EXPECT_EQ(p.y, 4);
}

}  // namespace
