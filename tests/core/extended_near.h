#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sstream>

#include "core/extended.h"

// EXPECT_NEAR compares doubles: rounding 80-bit values to double hides differences below a double's last bit
// and makes a tolerance finer than that bit meaningless. This one compares in the 80-bit format.
inline testing::AssertionResult extendedNear(const char* actualText, const char* expectedText,
                                             const char* toleranceText, Extended actual, Extended expected,
                                             Extended tolerance) {
    const Extended difference = std::fabs(actual - expected);
    if (difference <= tolerance) return testing::AssertionSuccess();
    std::ostringstream out;
    out.precision(std::numeric_limits<Extended>::max_digits10);
    out << "The difference between " << actualText << " and " << expectedText << " is " << difference
        << ", which exceeds " << toleranceText << ", where\n"
        << actualText << " evaluates to " << actual << ",\n"
        << expectedText << " evaluates to " << expected << ", and\n"
        << toleranceText << " evaluates to " << tolerance << ".";
    return testing::AssertionFailure() << out.str();
}

#define EXPECT_EXTENDED_NEAR(actual, expected, tolerance) \
    EXPECT_PRED_FORMAT3(extendedNear, actual, expected, tolerance)
