#pragma once

#include <cfenv>
#include <cstdint>

// The orbit maths runs between the integrator's steps, and the run loop reads the floating-point flags after
// each step. So every entry point keeps the caller's flags and control words exactly as found, and computes
// in the integrator's own mode (64-bit significand, round to nearest, every exception masked) meanwhile.
class OrbitFpGuard {
public:
    OrbitFpGuard() {
        std::fegetenv(&saved_);
        constexpr std::uint16_t Fields = 0x0F3F;  // precision, rounding and exception masks
        constexpr std::uint16_t Wanted = 0x033F;
        std::uint16_t cw;
        asm volatile("fnstcw %0" : "=m"(cw));
        if ((cw & Fields) != Wanted) {
            cw = static_cast<std::uint16_t>((cw & ~Fields) | Wanted);
            asm volatile("fldcw %0" : : "m"(cw));
        }
    }
    ~OrbitFpGuard() { std::fesetenv(&saved_); }
    OrbitFpGuard(const OrbitFpGuard&) = delete;
    OrbitFpGuard& operator=(const OrbitFpGuard&) = delete;

private:
    std::fenv_t saved_;
};
