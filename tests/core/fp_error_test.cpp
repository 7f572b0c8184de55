#include <gtest/gtest.h>

#include <cfenv>
#include <string>

#include "core/fp_error.h"
#include "x87_flags.h"

namespace {

// Shaped like the code that needs the pin: the quotient is used only after the flag test, on one branch.
// At -O2, GCC 12 moves an unpinned division into that branch, past fetestexcept, and the error is lost.
[[gnu::noinline]] void storeCheckedQuotient(long double a, long double b, bool store, long double& out) {
    long double q = a / b;
    pinFpResult(q);
    checkFpFlags();
    if (store) out = q;
}

struct FlagCase {
    const char* name;
    int flags;
    const char* kind;
    const char* text;
};

class FpErrorPriority : public ::testing::TestWithParam<FlagCase> {
protected:
    void TearDown() override { std::feclearexcept(FE_ALL_EXCEPT); }
};

TEST_P(FpErrorPriority, ReportsDivisionThenOverflowThenInvalidAndClearsTheFlags) {
    std::feclearexcept(FE_ALL_EXCEPT);
    raiseX87Flags(GetParam().flags);
    try {
        checkFpFlags();
        FAIL() << "no error raised";
    } catch (const FloatingPointError& e) {
        EXPECT_EQ(e.kindName(), GetParam().kind);
        EXPECT_STREQ(e.what(), GetParam().text);
    }
    EXPECT_EQ(std::fetestexcept(FE_ALL_EXCEPT), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Flags, FpErrorPriority,
    ::testing::Values(FlagCase{"invalid", FE_INVALID, "EInvalidOp", "Invalid floating point operation"},
                      FlagCase{"division", FE_DIVBYZERO, "EZeroDivide", "Floating point division by zero"},
                      FlagCase{"overflow", FE_OVERFLOW | FE_INEXACT, "EOverflow", "Floating point overflow"},
                      FlagCase{"divisionandinvalid", FE_DIVBYZERO | FE_INVALID, "EZeroDivide",
                               "Floating point division by zero"},
                      FlagCase{"overflowandinvalid", FE_OVERFLOW | FE_INVALID, "EOverflow",
                               "Floating point overflow"},
                      FlagCase{"all", FE_DIVBYZERO | FE_OVERFLOW | FE_INVALID, "EZeroDivide",
                               "Floating point division by zero"}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(FpFlags, PinnedDivisionIsSeenByTheFlagTest) {
    std::feclearexcept(FE_ALL_EXCEPT);
    long double out = 7;
    try {
        storeCheckedQuotient(1, 0, false, out);
        FAIL() << "the division by zero went unseen";
    } catch (const FloatingPointError& e) {
        EXPECT_STREQ(e.what(), "Floating point division by zero");
    }
    EXPECT_EQ(out, 7);
    storeCheckedQuotient(1, 4, true, out);
    EXPECT_EQ(out, 0.25L);
}

TEST(FpFlags, UnderflowAndInexactPassSilently) {
    std::feclearexcept(FE_ALL_EXCEPT);
    volatile long double tiny = 1e-4900L;
    long double x = tiny * tiny;
    pinFpResult(x);
    EXPECT_NE(std::fetestexcept(FE_UNDERFLOW), 0);
    EXPECT_NO_THROW(checkFpFlags());
    std::feclearexcept(FE_ALL_EXCEPT);
}

// The simulation computes in x87 only; what double arithmetic elsewhere leaves in the SSE unit is not its
// error.
TEST(FpFlags, SseFlagsAreNotTakenForAnError) {
    std::feclearexcept(FE_ALL_EXCEPT);
    raiseSseFlags();
    ASSERT_EQ(std::fetestexcept(FE_INVALID | FE_DIVBYZERO), FE_INVALID | FE_DIVBYZERO);
    EXPECT_NO_THROW(checkFpFlags());
    std::feclearexcept(FE_ALL_EXCEPT);
}

TEST(FpFlags, ClearingLeavesNoErrorFlag) {
    raiseX87Flags(FE_INVALID | FE_DIVBYZERO);
    raiseSseFlags();
    clearFpFlags();
    EXPECT_EQ(std::fetestexcept(FpErrorFlags), 0);
    EXPECT_NO_THROW(checkFpFlags());
}

}  // namespace
