#include "core/parse_quantity.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdint>
#include <string>
#include <vector>

#include "x87_flags.h"

namespace {

// The expected bytes are the nearest 80-bit values (ties to even) of the exact decimal products, worked out
// with integer arithmetic by scripts/extended_bytes.py ("0.3*1.98847e30") and checked against mpmath.
struct ParseCase {
    const char* name;
    const char* text;
    const QuantityUnits* units;
    const char* sep;
    ExtendedBytes expected;
};

void PrintTo(const ParseCase& c, std::ostream* os) {
    *os << c.name;
}

const ParseCase ParseCases[] = {
    // The nearest value: one unit above the classic default record's stored 2e30 (DE ...), which its
    // compiler rounded down.
    {"PlainKilograms",
     "2e30",
     &QuantityKinds::Mass,
     ".",
     {0xDF, 0x4E, 0x67, 0x04, 0xCD, 0xC9, 0xF2, 0xC9, 0x63, 0x40}},
    {"OneSolarMass",
     "1 Msun",
     &QuantityKinds::Mass,
     ".",
     {0xAA, 0x80, 0xE6, 0x40, 0xA9, 0xBE, 0xC8, 0xC8, 0x63, 0x40}},
    {"ThreeTenthsOfASolarMassRoundedOnce",
     "0.3 Msun",
     &QuantityKinds::Mass,
     ".",
     {0xFF, 0x33, 0xAE, 0x1A, 0xCB, 0xE4, 0xF0, 0xF0, 0x61, 0x40}},
    {"CommaSeparatorWithUnit",
     "0,3 Msun",
     &QuantityKinds::Mass,
     ",",
     {0xFF, 0x33, 0xAE, 0x1A, 0xCB, 0xE4, 0xF0, 0xF0, 0x61, 0x40}},
    {"EarthMassesRoundedOnce",
     "0.18 Mearth",
     &QuantityKinds::Mass,
     ".",
     {0x50, 0x3C, 0x17, 0xDB, 0x61, 0xA6, 0xA3, 0xE3, 0x4E, 0x40}},
    {"OneAndAHalfSolarMassesWithoutSpace",
     "1.5Msun",
     &QuantityKinds::Mass,
     ".",
     {0x7F, 0xE0, 0xAC, 0xF0, 0xFE, 0x8E, 0x96, 0x96, 0x64, 0x40}},
    {"OneAstronomicalUnit",
     "1 AU",
     &QuantityKinds::Position,
     ".",
     {0x00, 0x00, 0x00, 0xB0, 0x69, 0xE9, 0x52, 0x8B, 0x24, 0x40}},
    {"AstronomicalUnitsRoundedOnce",
     "0.36 AU",
     &QuantityKinds::Position,
     ".",
     {0x00, 0x00, 0x00, 0xC0, 0x5A, 0x5A, 0xA0, 0xC8, 0x22, 0x40}},
    {"HalfAnAstronomicalUnitWithoutLeadingDigit",
     ".5 AU",
     &QuantityKinds::Position,
     ".",
     {0x00, 0x00, 0x00, 0xB0, 0x69, 0xE9, 0x52, 0x8B, 0x23, 0x40}},
    // 128.1 is inexact; times 1000 in 80-bit arithmetic it would round a second time.
    {"KilometresShiftTheExponent",
     "128.1 km",
     &QuantityKinds::Position,
     ".",
     {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x32, 0xFA, 0x0F, 0x40}},
    {"NegativeKilometresWithExponent",
     " -1.5e-3 km ",
     &QuantityKinds::Position,
     ".",
     {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0xFF, 0xBF}},
    {"CapitalExponentWithSign",
     "1.5E+11",
     &QuantityKinds::Position,
     ".",
     {0x00, 0x00, 0x00, 0x00, 0x70, 0xC9, 0xB2, 0x8B, 0x24, 0x40}},
    {"ArabicSeparatorOfTwoBytes",
     "1\u066b5 km",
     &QuantityKinds::Position,
     "\u066b",
     {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x80, 0xBB, 0x09, 0x40}},
    {"NearTheTopOfTheRange",
     "1e4932 m",
     &QuantityKinds::Position,
     ".",
     {0xCD, 0xF6, 0x7E, 0x5C, 0xA9, 0xB2, 0x2C, 0xD7, 0xFE, 0x7F}},
    // 29000.2 / 1000 would round twice.
    {"MetresPerSecondShiftTheExponent",
     "29000.2 m/s",
     &QuantityKinds::Speed,
     ".",
     {0x0D, 0x71, 0xAC, 0x8B, 0xDB, 0x68, 0x00, 0xE8, 0x03, 0x40}},
    {"StoredUnitWhenNoneIsTyped",
     "29,7847",
     &QuantityKinds::Speed,
     ",",
     {0x1B, 0x9E, 0x5E, 0x29, 0xCB, 0x10, 0x47, 0xEE, 0x03, 0x40}},
    {"DegreesBySign",
     "115\u00b0",
     &QuantityKinds::Direction,
     ".",
     {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xE6, 0x05, 0x40}},
    {"DegreesByName",
     "-90 deg",
     &QuantityKinds::Direction,
     ".",
     {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xB4, 0x05, 0xC0}},
    // 1 + 2^-64 lies halfway between two 80-bit values: ties to even gives 1; one more digit far down
    // tips it up. A conversion that looks at fewer digits gets one of the two wrong.
    {"HalfwayRoundsToEven",
     "1.0000000000000000000542101086242752217003726400434970855712890625",
     &QuantityKinds::Position,
     ".",
     {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x80, 0xFF, 0x3F}},
    {"JustAboveHalfwayRoundsUp",
     "1.00000000000000000005421010862427522170037264004349708557128906250000000000000000000001",
     &QuantityKinds::Position,
     ".",
     {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x80, 0xFF, 0x3F}},
    {"Hours",
     "1 h",
     &QuantityKinds::Duration,
     ".",
     {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xE1, 0x0A, 0x40}},
    {"Days",
     "1 day",
     &QuantityKinds::Duration,
     ".",
     {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0xA8, 0x0F, 0x40}},
    {"NegativeZero", "-0 kg", &QuantityKinds::Mass, ".", {0, 0, 0, 0, 0, 0, 0, 0, 0x00, 0x80}},
};

class ParseQuantity : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseQuantity, GivesTheNearest80BitValueOfTheExactProduct) {
    const ParseCase& c = GetParam();
    EXPECT_EQ(bytesOfExtended(parseQuantity(c.text, *c.units, c.sep)), c.expected) << c.text;
}

std::string parseCaseName(const testing::TestParamInfo<ParseCase>& info) {
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Texts, ParseQuantity, ::testing::ValuesIn(ParseCases), parseCaseName);

struct ErrorCase {
    const char* name;
    const char* text;
    const QuantityUnits* units;
    const char* sep;
    QuantityTextError::Reason reason;
    const char* message;
};

void PrintTo(const ErrorCase& c, std::ostream* os) {
    *os << c.name;
}

using Reason = QuantityTextError::Reason;

const ErrorCase ErrorCases[] = {
    {"Empty", "  ", &QuantityKinds::Mass, ".", Reason::NotANumber, "\"  \" is not a number"},
    {"Letters", "abc", &QuantityKinds::Mass, ".", Reason::NotANumber, "\"abc\" is not a number"},
    {"UnitAlone", "Msun", &QuantityKinds::Mass, ".", Reason::NotANumber, "\"Msun\" is not a number"},
    {"SeparatorAlone", ".", &QuantityKinds::Mass, ".", Reason::NotANumber, "\".\" is not a number"},
    {"TwoSeparators", "1.5.2", &QuantityKinds::Mass, ".", Reason::NotANumber, "\"1.5.2\" is not a number"},
    {"CommaWhereThePointIsTheSeparator", "1,5 kg", &QuantityKinds::Mass, ".", Reason::NotANumber,
     "\"1,5 kg\" is not a number"},
    {"PointWhereTheCommaIsTheSeparator", "1.5 kg", &QuantityKinds::Mass, ",", Reason::NotANumber,
     "\"1.5 kg\" is not a number"},
    {"TwoSigns", "--1", &QuantityKinds::Mass, ".", Reason::NotANumber, "\"--1\" is not a number"},
    {"DigitsAfterASpace", "1 000 kg", &QuantityKinds::Mass, ".", Reason::NotANumber,
     "\"1 000 kg\" is not a number"},
    {"UnknownUnit", "1 lb", &QuantityKinds::Mass, ".", Reason::UnknownUnit,
     "Unknown unit \"lb\": use kg, Msun or Mearth"},
    {"UnitOfAnotherKind", "1 AU", &QuantityKinds::Mass, ".", Reason::UnknownUnit,
     "Unknown unit \"AU\": use kg, Msun or Mearth"},
    {"UnitsAreCaseSensitive", "3 KM", &QuantityKinds::Position, ".", Reason::UnknownUnit,
     "Unknown unit \"KM\": use m, km or AU"},
    {"UnitTwice", "3 km km", &QuantityKinds::Position, ".", Reason::UnknownUnit,
     "Unknown unit \"km km\": use m, km or AU"},
    {"Overflow", "2e4932 kg", &QuantityKinds::Mass, ".", Reason::OutOfRange, "\"2e4932 kg\" is out of range"},
    {"OverflowOnlyAfterTheUnit", "1e4920 Msun", &QuantityKinds::Mass, ".", Reason::OutOfRange,
     "\"1e4920 Msun\" is out of range"},
    {"Denormal", "1e-4933", &QuantityKinds::Mass, ".", Reason::OutOfRange, "\"1e-4933\" is out of range"},
    {"ExponentBeyondAnyInteger", "1e999999999999999999999", &QuantityKinds::Mass, ".", Reason::OutOfRange,
     "\"1e999999999999999999999\" is out of range"},
    {"NegativeExponentBeyondAnyInteger", "1e-999999999999999999999", &QuantityKinds::Mass, ".",
     Reason::OutOfRange, "\"1e-999999999999999999999\" is out of range"},
};

class ParseQuantityError : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(ParseQuantityError, SaysWhatIsWrong) {
    const ErrorCase& c = GetParam();
    try {
        const Extended x = parseQuantity(c.text, *c.units, c.sep);
        ADD_FAILURE() << c.text << " gave " << static_cast<double>(x);
    } catch (const QuantityTextError& e) {
        EXPECT_EQ(e.reason(), c.reason);
        EXPECT_STREQ(e.what(), c.message);
        // A window says the same in another language from these parts.
        if (c.reason == Reason::UnknownUnit) {
            std::vector<std::string> names;
            for (const QuantityUnit& u : c.units->units) names.emplace_back(u.name);
            EXPECT_EQ(e.unitNames(), names);
            EXPECT_EQ("Unknown unit \"" + e.subject() + "\": use " + unitNames(*c.units), c.message);
        } else {
            EXPECT_EQ(e.subject(), c.text);
            EXPECT_TRUE(e.unitNames().empty());
        }
    }
}

std::string errorCaseName(const testing::TestParamInfo<ErrorCase>& info) {
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Texts, ParseQuantityError, ::testing::ValuesIn(ErrorCases), errorCaseName);

std::uint16_t x87Status() {
    std::uint16_t sw;
    asm volatile("fnstsw %0" : "=m"(sw));
    return sw;
}

TEST(ParseQuantityFlags, LeavesTheX87FlagsAsFound) {
    asm volatile("fnclex");
    parseQuantity("0.3 Msun", QuantityKinds::Mass);
    EXPECT_EQ(x87Status() & 0x3F, 0) << "an inexact conversion must not leave a flag for the run to find";
    EXPECT_THROW(parseQuantity("2e4932", QuantityKinds::Mass), QuantityTextError);
    EXPECT_EQ(x87Status() & 0x3F, 0);
    raiseX87Flags(0x04);
    parseQuantity("1 AU", QuantityKinds::Position);
    EXPECT_EQ(x87Status() & 0x3F, 0x04);
    asm volatile("fnclex");
}

TEST(ParseQuantityLocale, ReadsTheSameUnderALocaleWithADecimalComma) {
    // The program runs under the user's locale; the conversion itself must not read its separator.
    const std::string before = std::setlocale(LC_NUMERIC, nullptr);
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "fr_FR.UTF-8"))
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    const Extended x = parseQuantity("0,3 Msun", QuantityKinds::Mass, ",");
    const Extended y = parseQuantity("0.3 Msun", QuantityKinds::Mass, ".");
    std::setlocale(LC_NUMERIC, before.c_str());
    EXPECT_EQ(bytesOfExtended(x), bytesOfExtended(y));
}

}  // namespace
