#include "core/vector_math.h"

#include <cfenv>
#include <limits>

namespace {
constexpr ExtendedBytes DegreeFactorBytes{0xBC, 0x87, 0xE8, 0x96, 0x12, 0x35, 0xFA, 0x8E, 0xF9, 0x3F};
}

const Extended DegreeFactor = extendedFromBytes(DegreeFactorBytes);

void sinCosOutOfRange(Extended& s, Extended& c) {
    std::feraiseexcept(FE_INVALID);
    s = std::numeric_limits<Extended>::quiet_NaN();
    c = s;
}
