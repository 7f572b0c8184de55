#pragma once

#include "core/t_state.h"

// Degrees to radians: the stored value nearest 0.01745329252 (not pi/180).
extern const Extended DegreeFactor;

// Leaves invalid set and NaN results for an angle FSINCOS cannot reduce (kept out of line: never taken).
void sinCosOutOfRange(Extended& s, Extended& c);

// x87 primitives (one instruction each). x87SinCos raises "Invalid floating point operation" for an
// argument of magnitude 2^63 or more, which FSINCOS would leave unreduced.
// Defined here so that the integrator's step compiles into one straight run of x87 code.
inline void x87SinCos(Extended x, Extended& s, Extended& c) {
    // FSINCOS would leave such an operand in place and push nothing, breaking the register stack; the
    // negated test also sends NaN this way.
    if (!(__builtin_fabsl(x) < 0x1p63L)) {
        sinCosOutOfRange(s, c);
        return;
    }
    Extended sine, cosine;
    asm("fsincos" : "=t"(cosine), "=u"(sine) : "0"(x));
    s = sine;
    c = cosine;
}

// FPATAN: atan(y / x) with the quadrant from the signs
inline Extended x87Atan2(Extended y, Extended x) {
    Extended r;
    asm("fpatan" : "=t"(r) : "0"(x), "u"(y) : "st(1)");
    return r;
}

// FSQRT
inline Extended x87Sqrt(Extended x) {
    asm("fsqrt" : "+t"(x));
    return x;
}

// Arc sine as atan2(x, sqrt(1 - x * x)).
inline Extended ArcSin(Extended x) {
    const Extended square = x * x;
    const Extended rest = 1 - square;
    return x87Atan2(x, x87Sqrt(rest));
}

// Each component is rounded once.
inline TVector VAdd(const TVector& v1, const TVector& v2) {
    return TVector{v1.u + v2.u, v1.v + v2.v};
}

inline TVector VsMult(Extended s, const TVector& v) {
    return TVector{s * v.u, s * v.v};
}

// No rescaling: each square rounded, then the sum, then the root.
inline Extended VMag(const TVector& v) {
    const Extended uu = v.u * v.u;
    const Extended vv = v.v * v.v;
    return x87Sqrt(uu + vv);
}

// The unit vector of a compass azimuth in degrees: 0 is up the screen (negative v), clockwise.
inline TVector Dir2UV(Extended d) {
    const Extended x = d * DegreeFactor;
    Extended s, c;
    x87SinCos(x, s, c);
    return TVector{s, c * -1};
}

// The azimuth of q in degrees, in [0, 360). -0 counts as non-negative; the zero vector is 0 / 0 (invalid).
inline Extended V2Dir(const TVector& q) {
    const Extended m = VMag(q);
    const bool uNonNegative = q.u >= 0;
    const bool vNonNegative = q.v >= 0;
    Extended result = 0;
    if (vNonNegative && uNonNegative) {
        result = ArcSin(q.v / m) / DegreeFactor + 90;
    } else if (uNonNegative) {
        result = ArcSin(q.u / m) / DegreeFactor;
    } else if (vNonNegative) {
        result = ArcSin(__builtin_fabsl(q.u) / m) / DegreeFactor + 180;
    } else {
        result = ArcSin(__builtin_fabsl(q.v) / m) / DegreeFactor + 270;
    }
    return result;
}
