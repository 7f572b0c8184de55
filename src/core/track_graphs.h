#pragma once

#include <cstddef>
#include <vector>

#include "core/plot_track.h"
#include "core/t_state.h"

// What the Graphs dock draws of a run: at each kept plot point, its day, the bodies' separation, their
// relative speed and the relative-motion energy drift since the start, each computed as the orbit readout
// computes it for that point's state. Nothing is run again: the values come from the kept points alone.
struct TrackGraphs {
    std::vector<Extended> days;
    std::vector<Extended> separation;     // m
    std::vector<Extended> relativeSpeed;  // m/s
    std::vector<Extended> energyDrift;    // since point 0, over its |potential energy|
};

// start: the record the points were computed from (its masses and dT). A point whose values are not finite
// ends the graphs there. Leaves the floating-point flags and control words as found.
TrackGraphs trackGraphs(const PlotTrack& track, const TState& start, Extended g = G);
