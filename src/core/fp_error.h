#pragma once

#include <cfenv>
#include <cstdint>
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

// Clears the flags and throws the error for flags that no single operation explains (several, left by
// more than one): division, then overflow, then invalid.
[[noreturn]] void raiseFpError(int flags);

// The error flags of the x87 status word (the same bits as FE_*). All simulation arithmetic is x87; the SSE
// flags belong to the double arithmetic of other code and are no error of ours.
inline int x87ErrorFlags() {
    std::uint16_t status;
    asm volatile("fnstsw %0" : "=a"(status));
    return status & FpErrorFlags;
}

// Traps stay masked: the flags are read after each unit of work instead, and cleared only when one is set.
inline void checkFpFlags() {
    const int f = x87ErrorFlags();
    if (f != 0) [[unlikely]]
        raiseFpError(f);
}

// Makes a result exist before the flags are read: GCC treats x87 arithmetic as free of side effects and may
// otherwise sink an operation past the flag test, into the code that uses its result.
inline void pinFpResult(long double& x) {
    asm volatile("" : "+t"(x)::"memory");
}

// Both units' flags are read inline (the library's fetestexcept is a call, paid once per cross a redraw
// draws); the clear, which is dearer, runs only when one is set.
inline void clearFpFlags() {
    std::uint32_t sse;
    asm volatile("stmxcsr %0" : "=m"(sse));
    if (((static_cast<std::uint32_t>(x87ErrorFlags()) | sse) & FpErrorFlags) != 0)
        std::feclearexcept(FE_ALL_EXCEPT);
}
