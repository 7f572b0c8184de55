#pragma once

#include "core/orbit_readout.h"

// How far a run has strayed from the orbit it started on.
enum class DriftLevel { None, Green, Amber, Red };

inline constexpr Extended DriftAmberFrom = 1e-4L;
inline constexpr Extended DriftRedFrom = 1e-2L;

struct Drift {
    Quantity value;  // signed: positive when the run gained
    DriftLevel level = DriftLevel::None;
};

struct DriftGauge {
    // Relative-motion energy since the start over the start's |potential energy|: a start near the
    // parabola, whose energy is near zero, is measured on the same footing.
    Drift energy;
    // Angular momentum since the start over the start's |angular momentum|; none when the start has none
    // (a radial start, whose remaining angular momentum is rounding).
    Drift angularMomentum;
};

DriftLevel driftLevel(const Quantity& drift);

// Leaves the floating-point flags and control words as it found them.
DriftGauge driftGauge(const OrbitReadout& start, const OrbitReadout& now);
