#include "core/orbit_drift.h"

#include "core/orbit_fp_guard.h"

namespace {

Drift driftOf(const Quantity& start, const Quantity& now, const Quantity& scale) {
    Drift d;
    if (!start || !now || !scale || *scale == 0) return d;
    const Extended value = (*now - *start) / __builtin_fabsl(*scale);
    if (isFiniteValue(value)) d.value = value;
    d.level = driftLevel(d.value);
    return d;
}

}  // namespace

DriftLevel driftLevel(const Quantity& drift) {
    if (!drift) return DriftLevel::None;
    const Extended size = __builtin_fabsl(*drift);
    if (size < DriftAmberFrom) return DriftLevel::Green;
    if (size < DriftRedFrom) return DriftLevel::Amber;
    return DriftLevel::Red;
}

DriftGauge driftGauge(const OrbitReadout& start, const OrbitReadout& now) {
    OrbitFpGuard guard;
    DriftGauge g;
    g.energy = driftOf(start.relativeEnergy, now.relativeEnergy, start.potentialEnergy);
    if (start.kind != OrbitKind::Radial)
        g.angularMomentum = driftOf(start.angularMomentum, now.angularMomentum, start.angularMomentum);
    return g;
}
