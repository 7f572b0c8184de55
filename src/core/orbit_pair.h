#pragma once

#include "core/t_state.h"

// Why a record has no orbit to speak of.
enum class NoOrbitReason {
    None,
    NotFinite,   // a value of the record, or one computed from it, is not a finite number
    BadMass,     // a mass is zero or negative
    Coincident,  // both bodies at the same position
    Radial,      // no sideways motion: the bodies fall straight towards or away from each other
};

// One body as the integrator sees it: the velocity is built exactly as a step builds it,
// speed x 1000 along Dir2UV(azimuth), in m/s with u to the right and v downward.
struct BodyMotion {
    bool known = false;  // position, speed and azimuth finite
    TVector position;
    TVector velocity;
};

// The two bodies of a record, their centre of mass and their motion relative to each other.
struct OrbitPair {
    BodyMotion a, b;
    bool massesValid = false;  // both masses finite and positive: everything below is filled in
    Extended massA = 0, massB = 0, totalMass = 0;
    Extended gm = 0;  // G (mA + mB), the gravitational parameter of the relative orbit
    TVector centreOfMass, centreOfMassVelocity;
    TVector r;  // B - A
    TVector v;  // vB - vA
    Extended distance = 0, speed = 0;
    Extended h = 0;  // r x v: positive is clockwise on the screen, since v points down
    // 1 / a = 2 / r - v^2 / GM, right to its last bits even where the two terms cancel (near e = 1, where
    // long double arithmetic leaves a relative error of about eps / (1 - e)).
    Extended alpha = 0;
    // Bound orbits (alpha > 0): the period as a sum periodHigh + periodLow, which carries whole periods of
    // a long time without losing the phase.
    Extended periodHigh = 0, periodLow = 0;
    // None: a relative orbit with every value above finite; Radial: the same, but without one to speak of.
    NoOrbitReason problem = NoOrbitReason::NotFinite;
};

// |h| at or below this times r v counts as radial: Dir2UV(180) misses the axis by about 1e-11 rad, so an
// exact zero is out of reach for a record made with the program.
inline constexpr Extended RadialTolerance = 1e-9L;

// Computes freely: it raises flags and relies on the caller's OrbitFpGuard.
OrbitPair orbitPairOf(const TState& s, Extended g);

// For values computed here, which are always canonical (record bytes are classified before use).
inline bool isFiniteValue(Extended x) {
    return __builtin_isfinite(x);
}

inline bool isFiniteVector(const TVector& x) {
    return isFiniteValue(x.u) && isFiniteValue(x.v);
}
