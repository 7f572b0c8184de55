#include "core/number_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <string>

namespace {

constexpr ExtendedBytes AMassBytes{0xDE, 0x4E, 0x67, 0x04, 0xCD, 0xC9, 0xF2, 0xC9, 0x63, 0x40};
constexpr ExtendedBytes BMassBytes{0x96, 0x22, 0x81, 0x45, 0x40, 0x7C, 0x6F, 0xFC, 0x64, 0x40};
constexpr ExtendedBytes GBytes{0x77, 0xEE, 0x67, 0x72, 0xC4, 0xD7, 0xC3, 0x92, 0xDD, 0x3F};
// Patterns only a damaged record holds: an unnormal (integer bit clear), a pseudo-infinity and
// pseudo-denormals (zero exponent, integer bit set: 1.5 × 2^-16382, negative, and 1 + 2^-63 times 2^-16382).
constexpr ExtendedBytes UnnormalBytes{0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x40, 0xFF, 0x3F};
constexpr ExtendedBytes PseudoInfinityBytes{0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0x7F};
constexpr ExtendedBytes PseudoDenormalBytes{0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x00, 0x00};
constexpr ExtendedBytes NegativePseudoDenormalBytes{0x00, 0x00, 0x00, 0x00, 0x00,
                                                    0x00, 0x00, 0xC0, 0x00, 0x80};
constexpr ExtendedBytes SmallestPseudoDenormalBytes{0x01, 0x00, 0x00, 0x00, 0x00,
                                                    0x00, 0x00, 0x80, 0x00, 0x00};

struct TextCase {
    const char* name;
    Extended value;
    const char* sep;
    const char* expected;
};

void PrintTo(const TextCase& c, std::ostream* os) {
    *os << c.name;
}

std::string caseName(const testing::TestParamInfo<TextCase>& info) {
    return info.param.name;
}

// The elapsed days as the run loop computes them: (plot counter × dT) / 86400, each operation rounded.
Extended days(int plots, Extended dT) {
    return (static_cast<Extended>(plots) * dT) / 86400;
}

class GeneralTextTest : public testing::TestWithParam<TextCase> {};

TEST_P(GeneralTextTest, WritesFifteenSignificantDigitsInTheShorterForm) {
    const TextCase& c = GetParam();
    EXPECT_EQ(GeneralText(c.value, c.sep), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, GeneralTextTest,
    testing::Values(TextCase{"Zero", 0.0L, ".", "0"}, TextCase{"NegativeZero", -0.0L, ".", "0"},
                    TextCase{"Scale", 1e9L, ".", "1000000000"}, TextCase{"OneDay", 86400.0L, ".", "86400"},
                    TextCase{"Position", 2e11L, ".", "200000000000"},
                    TextCase{"AMassFromItsBytes", extendedFromBytes(AMassBytes), ".", "2E30"},
                    TextCase{"BMassFromItsBytes", extendedFromBytes(BMassBytes), ".", "5E30"},
                    TextCase{"G", extendedFromBytes(GBytes), ".", "6.6741E-11"},
                    TextCase{"GWithComma", extendedFromBytes(GBytes), ",", "6,6741E-11"},
                    TextCase{"FractionWithComma", -2.5L, ",", "-2,5"},
                    TextCase{"NegativeScientific", -6e-20L, ".", "-6E-20"},
                    TextCase{"Third", 1.0L / 3, ".", "0.333333333333333"},
                    TextCase{"SmallestFixed", 0.0001L, ".", "0.0001"},
                    TextCase{"BelowSmallestFixed", 0.00009L, ".", "9E-5"},
                    TextCase{"RoundsUpIntoFixed", 0.0000999999999999999999L, ".", "0.0001"},
                    TextCase{"FifteenIntegerDigits", 999999999999999.0L, ".", "999999999999999"},
                    TextCase{"SixteenIntegerDigits", 1e15L, ".", "1E15"},
                    TextCase{"RoundsUpIntoSixteenDigits", 999999999999999.9L, ".", "1E15"},
                    TextCase{"FixedWithFraction", 12345678901.2345L, ".", "12345678901.2345"},
                    TextCase{"EighteenDigits", 123456789012345678.0L, ".", "1.23456789012346E17"},
                    TextCase{"BeyondDoubleRange", 1e4000L, ".", "1E4000"},
                    TextCase{"SmallestDenormal", std::numeric_limits<Extended>::denorm_min(), ".",
                             "3.64519953188247E-4951"},
                    // Through a double this would be 1.0000000000000051 and read 1.00000000000001.
                    TextCase{"RoundsTheExtendedValueNotADouble", 1.000000000000004998L, ".", "1"},
                    TextCase{"HalfwayRoundsToEven", 100000000000000.5L, ".", "100000000000000"},
                    TextCase{"HalfwayRoundsToEvenUp", 100000000000001.5L, ".", "100000000000002"}),
    caseName);

class ExponentTextTest : public testing::TestWithParam<TextCase> {};

TEST_P(ExponentTextTest, WritesFourDigitsAndASignedExponent) {
    const TextCase& c = GetParam();
    EXPECT_EQ(ExponentText(c.value, c.sep), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, ExponentTextTest,
    testing::Values(TextCase{"AMassFromItsBytes", extendedFromBytes(AMassBytes), ".", "2.000E+30"},
                    TextCase{"Hundred", 100.0L, ".", "1.000E+02"}, TextCase{"Zero", 0.0L, ".", "0.000E+00"},
                    TextCase{"NegativeZero", -0.0L, ".", "0.000E+00"},
                    TextCase{"G", extendedFromBytes(GBytes), ".", "6.674E-11"},
                    TextCase{"RoundsToFourDigits", 12346.0L, ".", "1.235E+04"},
                    TextCase{"CarriesIntoTheExponent", 9.9996L, ".", "1.000E+01"},
                    TextCase{"Negative", -2.5L, ".", "-2.500E+00"},
                    TextCase{"ThreeDigitExponent", 1e100L, ".", "1.000E+100"},
                    TextCase{"Comma", extendedFromBytes(BMassBytes), ",", "5,000E+30"}),
    caseName);

TEST(IntegerText, WritesTheDecimalIntegerWithItsSign) {
    EXPECT_EQ(IntegerText(0), "0");
    EXPECT_EQ(IntegerText(40), "40");
    EXPECT_EQ(IntegerText(-7), "-7");
    EXPECT_EQ(IntegerText(std::numeric_limits<std::int32_t>::min()), "-2147483648");
    EXPECT_EQ(IntegerText(std::numeric_limits<std::int64_t>::max()), "9223372036854775807");
}

class ElapsedDaysTextTest : public testing::TestWithParam<TextCase> {};

TEST_P(ElapsedDaysTextTest, WritesOneDecimalOrNineDigitsRoundedHalfUp) {
    const TextCase& c = GetParam();
    EXPECT_EQ(ElapsedDaysText(c.value, c.sep), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, ElapsedDaysTextTest,
    testing::Values(TextCase{"Zero", 0.0L, ".", "0.0"}, TextCase{"OneDay", days(1, 86400), ".", "1.0"},
                    TextCase{"SixHoursRoundHalfUp", days(6, 3600), ".", "0.3"},
                    TextCase{"OneHour", days(1, 3600), ".", "0.0"},
                    TextCase{"SeventyOneMinutes", days(71, 60), ".", "0.0"},
                    TextCase{"SeventyTwoMinutesIsHalfATenth", days(72, 60), ".", "0.1"},
                    TextCase{"JustBelowHalfATenth", 0.0499999L, ".", "0.0"},
                    // 9.95 is stored a little below; its 18 digits end in 5 and round up.
                    TextCase{"HalfUpOnTheEighteenDigits", 9.95L, ".", "10.0"},
                    TextCase{"EightDigits", 12345678.25L, ".", "12345678.3"},
                    TextCase{"CarryToNineIntegerDigits", 99999999.96L, ".", "100000000.0"},
                    TextCase{"NineSignificantDigits", 123456789.25L, ".", "123456789.0"},
                    TextCase{"NineSignificantDigitsRoundDown", 999999999.4L, ".", "999999999.0"},
                    TextCase{"CarryToExponentForm", 999999999.96L, ".", "1E9"},
                    TextCase{"BillionDays", 1e9L, ".", "1E9"},
                    TextCase{"ExponentFormWithDigits", 1.5e12L, ".", "1.5E12"},
                    TextCase{"ExponentFormNineDigits", 1234567891234.0L, ".", "1.23456789E12"},
                    TextCase{"ExponentFormBeyondDouble", 1e4000L, ".", "1E4000"},
                    TextCase{"Comma", 1.5L, ",", "1,5"},
                    TextCase{"CommaExponentForm", 1.5e12L, ",", "1,5E12"},
                    // Only a record with a negative plot interval gets here.
                    TextCase{"Negative", days(6, -3600), ".", "-0.3"},
                    TextCase{"NegativeRoundingToZero", -0.01L, ".", "0.0"}),
    caseName);

struct DamagedCase {
    const char* name;
    ExtendedBytes bytes;
    const char* expected;
};

void PrintTo(const DamagedCase& c, std::ostream* os) {
    *os << c.name;
}

class DamagedValueTextTest : public testing::TestWithParam<DamagedCase> {};

TEST_P(DamagedValueTextTest, EveryNumberTextNamesTheSpecialValue) {
    const DamagedCase& c = GetParam();
    const Extended x = extendedFromBytes(c.bytes);
    EXPECT_EQ(GeneralText(x, "."), c.expected);
    EXPECT_EQ(ExponentText(x, "."), c.expected);
    EXPECT_EQ(ElapsedDaysText(x, "."), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, DamagedValueTextTest,
    testing::Values(
        DamagedCase{"QuietNaN", bytesOfExtended(std::numeric_limits<Extended>::quiet_NaN()), "NAN"},
        DamagedCase{"NegativeNaN", bytesOfExtended(-std::numeric_limits<Extended>::quiet_NaN()), "NAN"},
        DamagedCase{"Infinity", bytesOfExtended(std::numeric_limits<Extended>::infinity()), "INF"},
        DamagedCase{"NegativeInfinity", bytesOfExtended(-std::numeric_limits<Extended>::infinity()), "-INF"},
        DamagedCase{"Unnormal", UnnormalBytes, "NAN"},
        DamagedCase{"PseudoInfinity", PseudoInfinityBytes, "NAN"}),
    [](const testing::TestParamInfo<DamagedCase>& p) { return std::string(p.param.name); });

struct PseudoDenormalCase {
    const char* name;
    ExtendedBytes bytes;
    const char* general;
    const char* exponent;
};

void PrintTo(const PseudoDenormalCase& c, std::ostream* os) {
    *os << c.name;
}

class PseudoDenormalTextTest : public testing::TestWithParam<PseudoDenormalCase> {};

// The FPU takes a pseudo-denormal for its finite value; the texts show that value, not NAN, and not the
// value without its integer bit that printf would make of it.
TEST_P(PseudoDenormalTextTest, ReadsAsTheValueTheFpuComputesWith) {
    const PseudoDenormalCase& c = GetParam();
    const Extended x = extendedFromBytes(c.bytes);
    EXPECT_EQ(GeneralText(x, ","), c.general);
    EXPECT_EQ(ExponentText(x, ","), c.exponent);
    EXPECT_EQ(ElapsedDaysText(x, ","), "0,0");
    // The same value as the FPU computes it, in normal form.
    volatile Extended one = 1;
    EXPECT_EQ(GeneralText(x * one, ","), c.general);
}

INSTANTIATE_TEST_SUITE_P(Values, PseudoDenormalTextTest,
                         testing::Values(PseudoDenormalCase{"OneAndAHalf", PseudoDenormalBytes,
                                                            "5,04315471466814E-4932", "5,043E-4932"},
                                         PseudoDenormalCase{"Negative", NegativePseudoDenormalBytes,
                                                            "-5,04315471466814E-4932", "-5,043E-4932"},
                                         PseudoDenormalCase{"Smallest", SmallestPseudoDenormalBytes,
                                                            "3,36210314311209E-4932", "3,362E-4932"}),
                         [](const testing::TestParamInfo<PseudoDenormalCase>& p) {
                             return std::string(p.param.name);
                         });

// The window toolkit sets the C library's locale from the environment, so printf may write a decimal comma.
class CommaLocale : public testing::Test {
protected:
    void SetUp() override {
        if (useLocale()) return;
        // No such locale installed: build one in a private folder where the library can find it.
        char dirTemplate[] = "/tmp/tulvane-locale-XXXXXX";
        if (mkdtemp(dirTemplate) == nullptr) GTEST_SKIP() << "no temporary folder for a locale";
        localeDir_ = dirTemplate;
        const std::string cmd = "localedef -i de_DE -f UTF-8 " + localeDir_ + "/de_DE.UTF-8 >/dev/null 2>&1";
        if (std::system(cmd.c_str()) == 0) {
            setenv("LOCPATH", localeDir_.c_str(), 1);
            if (useLocale()) return;
        }
        GTEST_SKIP() << "no locale with a decimal comma is installed and localedef could not build one";
    }
    void TearDown() override {
        std::setlocale(LC_NUMERIC, "C");
        if (!localeDir_.empty()) {
            unsetenv("LOCPATH");
            std::filesystem::remove_all(localeDir_);
        }
    }

private:
    static bool useLocale() {
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"}) {
            if (std::setlocale(LC_NUMERIC, name) == nullptr) continue;
            char buf[16];
            std::snprintf(buf, sizeof buf, "%.1f", 1.5);
            if (std::string(buf) == "1,5") return true;
        }
        std::setlocale(LC_NUMERIC, "C");
        return false;
    }
    std::string localeDir_;
};

TEST_F(CommaLocale, TextsUseOnlyTheSeparatorTheyAreGiven) {
    EXPECT_EQ(GeneralText(1234.5L, "."), "1234.5");
    EXPECT_EQ(GeneralText(extendedFromBytes(GBytes), "."), "6.6741E-11");
    EXPECT_EQ(ExponentText(2.5L, "."), "2.500E+00");
    EXPECT_EQ(ElapsedDaysText(days(6, 3600), "."), "0.3");
    EXPECT_EQ(ElapsedDaysText(1.5e12L, "."), "1.5E12");
}

}  // namespace
