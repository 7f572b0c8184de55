#pragma once

#include "core/extended.h"
#include "core/fp_error.h"

// An Extended whose every operation tests the flags right after it: the first operation that fails throws,
// with the text of its own error. The run uses it only to recompute a step that has failed, so the
// ordinary step keeps its single test.
struct Checked {
    Extended x = 0;
};

inline Checked checkedResult(Extended r) {
    pinFpResult(r);
    checkFpFlags();
    return Checked{r};
}

inline Checked operator+(Checked a, Checked b) {
    return checkedResult(a.x + b.x);
}
inline Checked operator+(Checked a, Extended b) {
    return checkedResult(a.x + b);
}
inline Checked operator-(Extended a, Checked b) {
    return checkedResult(a - b.x);
}
inline Checked operator*(Checked a, Checked b) {
    return checkedResult(a.x * b.x);
}
inline Checked operator*(Checked a, Extended b) {
    return checkedResult(a.x * b);
}
inline Checked operator*(Extended a, Checked b) {
    return checkedResult(a * b.x);
}
inline Checked operator/(Checked a, Checked b) {
    return checkedResult(a.x / b.x);
}
inline Checked operator/(Checked a, Extended b) {
    return checkedResult(a.x / b);
}
inline Checked operator/(Extended a, Checked b) {
    return checkedResult(a / b.x);
}

// A comparison with NaN may raise invalid as well.
inline bool operator>=(Checked a, Extended b) {
    bool r = a.x >= b;
    asm volatile("" : "+r"(r));
    checkFpFlags();
    return r;
}
