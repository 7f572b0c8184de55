#include "core/fp_error.h"

void raiseFpError(int flags) {
    std::feclearexcept(FE_ALL_EXCEPT);
    // One step may raise several; the first of these is the one reported.
    if (flags & FE_DIVBYZERO) throw FloatingPointError("EZeroDivide", ZeroDivideText);
    if (flags & FE_OVERFLOW) throw FloatingPointError("EOverflow", OverflowText);
    throw FloatingPointError("EInvalidOp", InvalidOpText);
}
