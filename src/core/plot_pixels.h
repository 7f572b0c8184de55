#pragma once

#include <optional>

#include "core/extended.h"
#include "core/vector_math.h"

// Where a position in metres falls on the plot: metres / sf for each axis, the plot's origin at the top left.
// Every picture of the run uses this one rule, so the crosses, the overlay and the exports agree to the
// pixel.
struct PlotPixel {
    Extended x = 0;
    Extended y = 0;
};

// A cross's pixel, rounded half to even, as the run draws it. Raises the run's errors: "Floating point
// division by zero" when sf is 0, "Invalid floating point operation" for a NaN, an overflow for a scale too
// small.
PlotPixel pixelOrThrow(const TVector& metres, Extended sf);

// The unrounded pixel of a position for what is drawn over the run (the exact path, markers) and for exports;
// none when the scale or the result is not a finite number. Raises nothing and leaves the x87 flags as found.
std::optional<PlotPixel> pixelOrNone(const TVector& metres, Extended sf);
