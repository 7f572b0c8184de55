#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

#include "core/extended.h"
#include "core/t_state.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// The defaults as stored: every byte not listed here is zero.
TState expectedDefaultImage() {
    const std::vector<std::pair<std::size_t, Bytes>> fields = {
        {0, {0x01, 0x00, 0x00, 0x00}},
        {117, {0x00, 0x00, 0x00, 0x00, 0x40, 0xB7, 0x43, 0xBA, 0x24, 0x40}},
        {133, {0x00, 0x00, 0x00, 0x00, 0x40, 0xB7, 0x43, 0xBA, 0x23, 0x40}},
        {149, {0x00, 0x00, 0x00, 0x00, 0x70, 0xC9, 0xB2, 0x8B, 0x26, 0x40}},
        {165, {0x00, 0x00, 0x00, 0x00, 0x40, 0xB7, 0x43, 0xBA, 0x25, 0x40}},
        {181, {0xDE, 0x4E, 0x67, 0x04, 0xCD, 0xC9, 0xF2, 0xC9, 0x63, 0x40}},
        {191, {0x96, 0x22, 0x81, 0x45, 0x40, 0x7C, 0x6F, 0xFC, 0x64, 0x40}},
        {201, {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF0, 0x03, 0x40}},
        {211, {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x80, 0x00, 0x40}},
        {221, {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xE6, 0x05, 0x40}},
        {231, {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x87, 0x07, 0x40}},
        {241, {0xFF, 0xFF, 0x00, 0x00}},
        {245, {0xFF, 0x00, 0x00, 0x00}},
        {249, {0x00, 0x00, 0xFF, 0x00}},
        {253, {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0xA8, 0x0F, 0x40}},
        {263, {0x28, 0x00, 0x00, 0x00}},
        {267, {0x00, 0x00, 0x00, 0x00, 0x00, 0x28, 0x6B, 0xEE, 0x1C, 0x40}},
    };
    TState s;
    for (const auto& [offset, bytes] : fields) {
        for (std::size_t i = 0; i < bytes.size(); ++i) s.bytes[offset + i] = bytes[i];
    }
    return s;
}

TEST(DefaultSettings, AreExactlyTheStoredRecordImage) {
    const TState defaults = defaultSettings();
    const TState expected = expectedDefaultImage();
    for (std::size_t i = 0; i < TStateLayout::Size; ++i) {
        EXPECT_EQ(defaults.bytes[i], expected.bytes[i]) << "byte " << i;
    }
}

TEST(DefaultSettings, ReadBackAsTheirPhysicalValues) {
    const TState s = defaultSettings();
    EXPECT_EQ(s.RecVersion(), 1);
    EXPECT_EQ(s.labelLength(), 0);
    EXPECT_EQ(s.SaveDT(), 0.0);
    EXPECT_EQ(s.APos().u, 2e11L);
    EXPECT_EQ(s.APos().v, 1e11L);
    EXPECT_EQ(s.BPos().u, 6e11L);
    EXPECT_EQ(s.BPos().v, 4e11L);
    EXPECT_EQ(s.ASpeed(), 30);
    EXPECT_EQ(s.BSpeed(), 2);
    EXPECT_EQ(s.ADir(), 115);
    EXPECT_EQ(s.BDir(), 270);
    EXPECT_EQ(s.dT(), 86400);
    EXPECT_EQ(s.cpT(), 40);
    EXPECT_EQ(s.sf(), 1e9L);
    EXPECT_EQ(s.BMass(), 5e30L);
    // AMass is one unit in the last place below the nearest 80-bit value of 2e30: the bytes hold.
    EXPECT_EQ(s.AMass(), std::nextafter(2e30L, 0.0L));
    EXPECT_EQ(G, 6.6741e-11L);
}

// A field keeps its 10 bytes through the arithmetic type, whatever they are.
class ExtendedRoundTrip : public ::testing::TestWithParam<ExtendedBytes> {};

TEST_P(ExtendedRoundTrip, KeepsAllTenBytes) {
    TState s = defaultSettings();
    std::memcpy(&s.bytes[TStateLayout::BMass], GetParam().data(), 10);
    const TState before = s;
    s.setBMass(s.BMass());
    EXPECT_EQ(s, before);
    EXPECT_EQ(bytesOfExtended(extendedFromBytes(GetParam())), GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, ExtendedRoundTrip,
    ::testing::Values(ExtendedBytes{0xDE, 0x4E, 0x67, 0x04, 0xCD, 0xC9, 0xF2, 0xC9, 0x63, 0x40},  // AMass
                      ExtendedBytes{0x77, 0xEE, 0x67, 0x72, 0xC4, 0xD7, 0xC3, 0x92, 0xDD, 0x3F},  // G
                      ExtendedBytes{0, 0, 0, 0, 0, 0, 0, 0, 0, 0x80},                             // -0
                      ExtendedBytes{1, 0, 0, 0, 0, 0, 0, 0, 0, 0},                                // denormal
                      ExtendedBytes{1, 0, 0, 0, 0, 0, 0, 0xA0, 0xFF, 0x7F},  // signalling NaN
                      ExtendedBytes{0, 0, 0, 0, 0, 0, 0, 0x40, 0x10, 0x40},  // unnormal
                      ExtendedBytes{0, 0, 0, 0, 0, 0, 0, 0x80, 0, 0}));      // pseudo-denormal

TEST(ExtendedStorage, TwoE30IsNotAWidenedDouble) {
    const ExtendedBytes stored{0xDE, 0x4E, 0x67, 0x04, 0xCD, 0xC9, 0xF2, 0xC9, 0x63, 0x40};
    const Extended x = extendedFromBytes(stored);
    EXPECT_NE(x, static_cast<Extended>(static_cast<double>(x)));
    EXPECT_EQ(bytesOfExtended(x), stored);
}

struct ClassCase {
    const char* name;
    ExtendedBytes bytes;
    ExtendedClass expected;
};

class ExtendedClassification : public ::testing::TestWithParam<ClassCase> {};

TEST_P(ExtendedClassification, DecidesOnTheBytesAlone) {
    EXPECT_EQ(classifyExtended(GetParam().bytes.data()), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, ExtendedClassification,
    ::testing::Values(
        ClassCase{"zero", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, ExtendedClass::Zero},
        ClassCase{"negzero", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0x80}, ExtendedClass::Zero},
        ClassCase{"dT", {0, 0, 0, 0, 0, 0, 0xC0, 0xA8, 0x0F, 0x40}, ExtendedClass::Normal},
        ClassCase{"negnormal", {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0xBF}, ExtendedClass::Normal},
        ClassCase{"denormal", {1, 0, 0, 0, 0, 0, 0, 0, 0, 0}, ExtendedClass::Denormal},
        ClassCase{"pseudodenormal", {0, 0, 0, 0, 0, 0, 0, 0x80, 0, 0}, ExtendedClass::PseudoDenormal},
        ClassCase{"negpseudodenormal", {0, 0, 0, 0, 0, 0, 0, 0xC0, 0, 0x80}, ExtendedClass::PseudoDenormal},
        ClassCase{"unnormal", {0, 0, 0, 0, 0, 0, 0, 0x40, 0x10, 0x40}, ExtendedClass::NonCanonical},
        ClassCase{"infinity", {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x7F}, ExtendedClass::Infinity},
        ClassCase{"neginfinity", {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0xFF}, ExtendedClass::Infinity},
        ClassCase{"pseudoinfinity", {0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0x7F}, ExtendedClass::NonCanonical},
        ClassCase{"quietnan", {0, 0, 0, 0, 0, 0, 0, 0xC0, 0xFF, 0x7F}, ExtendedClass::NaN},
        ClassCase{"signallingnan", {1, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x7F}, ExtendedClass::NaN},
        ClassCase{"pseudonan", {1, 0, 0, 0, 0, 0, 0, 0x40, 0xFF, 0x7F}, ExtendedClass::NonCanonical}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(ExtendedClassification, AgreesWithTheFpuOnComputedValues) {
    EXPECT_EQ(classifyExtended(std::numeric_limits<Extended>::quiet_NaN()), ExtendedClass::NaN);
    EXPECT_EQ(classifyExtended(-std::numeric_limits<Extended>::infinity()), ExtendedClass::Infinity);
    EXPECT_EQ(classifyExtended(std::numeric_limits<Extended>::denorm_min()), ExtendedClass::Denormal);
    EXPECT_EQ(classifyExtended(std::numeric_limits<Extended>::min()), ExtendedClass::Normal);
}

}  // namespace
