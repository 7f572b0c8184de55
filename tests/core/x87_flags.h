#pragma once

#include <cstdint>

// Sets flags in the x87 status word, as x87 code of the window or the C library would leave them
// (feraiseexcept sets invalid and division by zero in the SSE unit instead).
inline void raiseX87Flags(int flags) {
    struct {
        std::uint16_t control, unused1, status, unused2;
        std::uint32_t rest[5];
    } env;
    asm volatile("fnstenv %0" : "=m"(env));
    env.status = static_cast<std::uint16_t>(env.status | flags);
    asm volatile("fldenv %0" : : "m"(env));
}

// Division by zero and invalid raised by double arithmetic in the SSE unit.
inline void raiseSseFlags() {
    volatile double zero = 0;
    volatile double q = 1 / zero;
    q = zero / zero;
    (void)q;
}
