#include "core/vector_math.h"

#include "core/fp_error.h"

namespace {
constexpr ExtendedBytes DegreeFactorBytes{0xBC, 0x87, 0xE8, 0x96, 0x12, 0x35, 0xFA, 0x8E, 0xF9, 0x3F};
}

const Extended DegreeFactor = extendedFromBytes(DegreeFactorBytes);

void sinCosOutOfRange(Extended& s, Extended& c) {
    // An invalid operation of the FPU itself: the flag and the NaN come from the same x87 code as the rest.
    Extended zero = 0;
    asm volatile("" : "+t"(zero));
    Extended nan = zero / zero;
    pinFpResult(nan);
    s = nan;
    c = nan;
}
