#pragma once

#include "core/t_state.h"

// Degrees to radians: the stored value nearest 0.01745329252 (not pi/180).
extern const Extended DegreeFactor;

// x87 primitives (one instruction each). x87SinCos raises "Invalid floating point operation" for an
// argument of magnitude 2^63 or more, which FSINCOS would leave unreduced.
void x87SinCos(Extended x, Extended& s, Extended& c);
Extended x87Atan2(Extended y, Extended x);  // FPATAN: atan(y / x) with the quadrant from the signs
Extended x87Sqrt(Extended x);               // FSQRT

// Arc sine as atan2(x, sqrt(1 - x * x)).
Extended ArcSin(Extended x);

TVector VAdd(const TVector& v1, const TVector& v2);
TVector VsMult(Extended s, const TVector& v);
Extended VMag(const TVector& v);
TVector Dir2UV(Extended d);
Extended V2Dir(const TVector& q);
