#pragma once

#include <cstdint>

#include "core/plot_track.h"
#include "core/run_loop.h"
#include "core/sim_records.h"

class PlotSurface;

// The run's crosses on the plot surface: each body's cross at its position, at the scale and in the colours
// of CurSettings, as the run draws them and as a zoom redraws them from the kept points.
class PlotCrosses : public PlotSink {
public:
    PlotCrosses(const SimRecords& records, PlotSurface& surface) : r_(records), surface_(surface) {}

    // Draws body Body's cross (0 = A, other = B) at NewPos in metres; a cross off the plot is not drawn.
    // Throws the mapping's error, as the run reports it.
    void drawBody(const TVector& NewPos, Body body) override;

    // The crosses a replay of plot points 0..n draws, in its order: both starts, then both bodies at each
    // point.
    void drawKeptPoints(const PlotTrack& points, std::int32_t n);

private:
    const SimRecords& r_;
    PlotSurface& surface_;
};
