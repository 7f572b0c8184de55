#pragma once

#include "core/checked_extended.h"
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

// FRNDINT: to an integer in the current rounding mode, which the run keeps at nearest, ties to even. The same
// as nearbyintl without a library call that saves and restores the whole environment.
inline Extended x87RoundToInteger(Extended x) {
    asm("frndint" : "+t"(x));
    return x;
}

inline Extended magnitude(Extended x) {
    return __builtin_fabsl(x);
}

// The same primitives, each followed by its flag test.
inline void x87SinCos(Checked x, Checked& s, Checked& c) {
    Extended sine, cosine;
    x87SinCos(x.x, sine, cosine);
    pinFpResult(sine);
    pinFpResult(cosine);
    checkFpFlags();
    s = Checked{sine};
    c = Checked{cosine};
}
inline Checked x87Atan2(Checked y, Checked x) {
    return checkedResult(x87Atan2(y.x, x.x));
}
inline Checked x87Sqrt(Checked x) {
    return checkedResult(x87Sqrt(x.x));
}
inline Checked magnitude(Checked x) {
    return Checked{__builtin_fabsl(x.x)};
}

struct CheckedVector {
    Checked u, v;
};

// The vector operations are written once for two kinds of number: Extended, as the integrator runs them,
// and Checked, which finds the first operation of a failed step.
namespace vector_ops {

template <class S>
struct VectorOf {
    using type = TVector;
};
template <>
struct VectorOf<Checked> {
    using type = CheckedVector;
};

// Arc sine as atan2(x, sqrt(1 - x * x)), in two halves: everything up to the root, then the arc tangent.
template <class S>
[[gnu::always_inline]] inline S arcSinRoot(S x) {
    const S square = x * x;
    const S rest = 1 - square;
    return x87Sqrt(rest);
}

template <class V>
[[gnu::always_inline]] inline V add(const V& v1, const V& v2) {
    return V{v1.u + v2.u, v1.v + v2.v};
}

template <class V, class S>
[[gnu::always_inline]] inline V scale(S s, const V& v) {
    return V{s * v.u, s * v.v};
}

template <class V>
[[gnu::always_inline]] inline auto length(const V& v) {
    const auto uu = v.u * v.u;
    const auto vv = v.v * v.v;
    return x87Sqrt(uu + vv);
}

template <class S>
[[gnu::always_inline]] inline typename VectorOf<S>::type unitOfAzimuth(S d) {
    const S x = d * DegreeFactor;
    S s, c;
    x87SinCos(x, s, c);
    return typename VectorOf<S>::type{s, c * -1};
}

// V2Dir up to the arc tangent, and the rest: the two halves let two azimuths' arc tangents overlap.
template <class S>
struct AzimuthHalf {
    S x, root;
    int turn;  // the quarter turns to add; 1 (bearing 0 to 90) adds nothing
};

template <class V>
[[gnu::always_inline]] inline auto azimuthStart(const V& q) {
    using S = decltype(q.u);
    const S m = length(q);
    const bool uNonNegative = q.u >= 0;
    const bool vNonNegative = q.v >= 0;
    S x;
    int turn;
    if (vNonNegative && uNonNegative) {
        x = q.v / m;
        turn = 90;
    } else if (uNonNegative) {
        x = q.u / m;
        turn = 0;
    } else if (vNonNegative) {
        x = magnitude(q.u) / m;
        turn = 180;
    } else {
        x = magnitude(q.v) / m;
        turn = 270;
    }
    return AzimuthHalf<S>{x, arcSinRoot(x), turn};
}

template <class S>
[[gnu::always_inline]] inline S azimuthEnd(const AzimuthHalf<S>& h) {
    const S angle = x87Atan2(h.x, h.root) / DegreeFactor;
    // The bearings from 0 to 90 add nothing: + 0 would turn a -0 into +0.
    return h.turn == 0 ? angle : angle + static_cast<Extended>(h.turn);
}

}  // namespace vector_ops

// Arc sine as atan2(x, sqrt(1 - x * x)).
inline Extended ArcSin(Extended x) {
    return x87Atan2(x, vector_ops::arcSinRoot(x));
}

// Each component is rounded once.
inline TVector VAdd(const TVector& v1, const TVector& v2) {
    return vector_ops::add(v1, v2);
}
inline CheckedVector VAdd(const CheckedVector& v1, const CheckedVector& v2) {
    return vector_ops::add(v1, v2);
}

inline TVector VsMult(Extended s, const TVector& v) {
    return vector_ops::scale(s, v);
}
inline CheckedVector VsMult(Checked s, const CheckedVector& v) {
    return vector_ops::scale(s, v);
}
inline CheckedVector VsMult(Extended s, const CheckedVector& v) {
    return vector_ops::scale(s, v);
}

// No rescaling: each square rounded, then the sum, then the root.
inline Extended VMag(const TVector& v) {
    return vector_ops::length(v);
}
inline Checked VMag(const CheckedVector& v) {
    return vector_ops::length(v);
}

// The unit vector of a compass azimuth in degrees: 0 is up the screen (negative v), clockwise.
inline TVector Dir2UV(Extended d) {
    return vector_ops::unitOfAzimuth(d);
}
inline CheckedVector Dir2UV(Checked d) {
    return vector_ops::unitOfAzimuth(d);
}

// The azimuth of q in degrees, in [0, 360). -0 counts as non-negative; the zero vector is 0 / 0 (invalid).
inline Extended V2Dir(const TVector& q) {
    return vector_ops::azimuthEnd(vector_ops::azimuthStart(q));
}
inline Checked V2Dir(const CheckedVector& q) {
    return vector_ops::azimuthEnd(vector_ops::azimuthStart(q));
}
