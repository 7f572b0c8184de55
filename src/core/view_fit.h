#pragma once

#include <optional>

#include "core/extended.h"
#include "core/t_state.h"

// The view that shows both bodies' exact paths whole: the smallest scale (metres per pixel) at which they fit
// a plot of width x height pixels, less margin on every side, and the shift in whole pixels, at that scale,
// that puts their middle at the plot's centre. The plot has no view offset of its own, so a caller applies
// the shift to both start positions, as a re-centring does.
struct ViewFit {
    Extended sf = 0;
    Extended dx = 0;  // whole pixels
    Extended dy = 0;
};

// A bound orbit's paths are taken over the run so far and at least one period; an open orbit's over the run
// so far and the next year. None without an exact path, for a plot too small, or when the paths have no
// extent (both bodies at rest). Leaves the floating-point flags and control words as found.
std::optional<ViewFit> fitBothOrbits(const TState& start, Extended elapsed, int width, int height,
                                     int margin);
