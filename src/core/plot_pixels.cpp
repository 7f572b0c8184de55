#include "core/plot_pixels.h"

#include "core/fp_error.h"
#include "core/orbit_fp_guard.h"

PlotPixel pixelOrThrow(const TVector& metres, Extended sf) {
    clearFpFlags();
    Extended x = metres.u / sf;
    Extended y = metres.v / sf;
    asm volatile("" : "+m"(x), "+m"(y));
    checkFpFlags();
    if (__builtin_isnan(x) || __builtin_isnan(y)) throw FloatingPointError("EInvalidOp", InvalidOpText);
    return {x87RoundToInteger(x), x87RoundToInteger(y)};
}

std::optional<PlotPixel> pixelOrNone(const TVector& metres, Extended sf) {
    OrbitFpGuard guard;
    if (!__builtin_isfinite(sf) || !(sf > 0)) return std::nullopt;
    Extended x = metres.u / sf;
    Extended y = metres.v / sf;
    asm volatile("" : "+m"(x), "+m"(y));
    if (!__builtin_isfinite(x) || !__builtin_isfinite(y)) return std::nullopt;
    return PlotPixel{x, y};
}
