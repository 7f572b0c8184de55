#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/extended.h"

// Number texts shown to the user; sep is the user's decimal separator. NaN, the infinities and the
// non-canonical 80-bit patterns the FPU refuses (only a damaged record holds them) read "NAN", "INF" and
// "-INF"; a pseudo-denormal reads as the finite value the FPU takes it for.

// 15 significant digits, trailing zeros dropped: 2E30, 6.6741E-11, 200000000000.
std::string GeneralText(Extended x, std::string_view sep);
// 4 significant digits, signed exponent of at least two digits: 2.000E+30.
std::string ExponentText(Extended x, std::string_view sep);
std::string IntegerText(std::int64_t n);
// One decimal or 9 significant digits, whichever is fewer; exponent form from 1e9: 365.3, 0.0, 1.23456789E9.
std::string OneDecimalText(Extended x, std::string_view sep);
// The elapsed days, in the form of OneDecimalText.
std::string ElapsedDaysText(Extended days, std::string_view sep);
