#pragma once

#include <cfenv>
#include <string>

#include "core/app_error.h"

// A floating-point error of the simulation arithmetic. The texts are the ones the user sees.
class FloatingPointError : public AppError {
public:
    using AppError::AppError;
};

inline constexpr const char* InvalidOpText = "Invalid floating point operation";
inline constexpr const char* ZeroDivideText = "Floating point division by zero";
inline constexpr const char* OverflowText = "Floating point overflow";

constexpr int FpErrorFlags = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;

// Clears the flags and throws the error for the highest-priority flag set: division, then overflow, then
// invalid.
[[noreturn]] void raiseFpError(int flags);

// Traps stay masked: the flags are read after each unit of work instead, and cleared only when one is set.
inline void checkFpFlags() {
    const int f = std::fetestexcept(FpErrorFlags);
    if (f != 0) raiseFpError(f);
}

// Makes a result exist before the flags are read: GCC treats x87 arithmetic as free of side effects and may
// otherwise sink an operation past fetestexcept, into the code that uses its result.
inline void pinFpResult(long double& x) {
    asm volatile("" : "+t"(x)::"memory");
}

inline void clearFpFlags() {
    if (std::fetestexcept(FpErrorFlags) != 0) std::feclearexcept(FE_ALL_EXCEPT);
}
