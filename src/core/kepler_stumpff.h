#pragma once

#include "core/extended.h"

// The Stumpff functions of universal-variable Kepler motion, one formula for ellipses, parabolas and
// hyperbolas: C(z) = (1 - cos sqrt z) / z and S(z) = (sqrt z - sin sqrt z) / sqrt(z)^3 for z > 0, their
// hyperbolic forms for z < 0, and C(0) = 1/2, S(0) = 1/6.
struct Stumpff {
    Extended c;
    Extended s;
};

// Near zero the closed forms cancel to nothing; there the series takes over, which is exact to the last bit
// up to the switch. Raises flags freely: callers keep the environment (OrbitFpGuard).
Stumpff stumpff(Extended z);

// Where the series hands over to the closed forms, in |z|.
inline constexpr Extended StumpffSeriesLimit = 1;
