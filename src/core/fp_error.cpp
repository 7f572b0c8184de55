#include "core/fp_error.h"

void raiseFpError(int flags) {
    std::feclearexcept(FE_ALL_EXCEPT);
    if (flags & FE_DIVBYZERO) throw FloatingPointError("EZeroDivide", ZeroDivideText);
    if (flags & FE_OVERFLOW) throw FloatingPointError("EOverflow", OverflowText);
    throw FloatingPointError("EInvalidOp", InvalidOpText);
}
