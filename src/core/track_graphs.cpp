#include "core/track_graphs.h"

#include "core/orbit_fp_guard.h"
#include "core/orbit_pair.h"
#include "core/vector_math.h"

namespace {

// The readout's relative energy, operation for operation: reduced mass x v^2 / 2 plus the potential energy.
struct Energy {
    Extended relative;
    Extended potential;
};

Energy energyOf(Extended massA, Extended massB, Extended g, Extended distance, Extended speed) {
    const Extended reducedMass = massA * massB / (massA + massB);
    const Extended potential = -((g * massA * massB) / distance);
    return Energy{reducedMass * speed * speed / 2 + potential, potential};
}

}  // namespace

TrackGraphs trackGraphs(const PlotTrack& track, const TState& start, Extended g) {
    OrbitFpGuard guard;
    TrackGraphs out;
    const std::size_t n = track.size();
    if (n == 0) return out;
    const Extended massA = start.AMass();
    const Extended massB = start.BMass();
    const Extended dT = start.dT();
    for (auto* v : {&out.days, &out.separation, &out.relativeSpeed, &out.energyDrift}) v->reserve(n);
    Energy first{};
    for (std::size_t i = 0; i < n; ++i) {
        // The velocities as the integrator builds them from speed and azimuth.
        const TVector va = VsMult(track.speedA(i) * 1000, Dir2UV(track.directionA(i)));
        const TVector vb = VsMult(track.speedB(i) * 1000, Dir2UV(track.directionB(i)));
        const Extended distance = VMag(VAdd(track.positionB(i), VsMult(-1, track.positionA(i))));
        const Extended speed = VMag(VAdd(vb, VsMult(-1, va)));
        const Energy e = energyOf(massA, massB, g, distance, speed);
        if (i == 0) first = e;
        Extended days = static_cast<Extended>(track.plotIndexAt(i)) * dT;
        days = days / 86400;
        const Extended drift = (e.relative - first.relative) / __builtin_fabsl(first.potential);
        if (!isFiniteValue(days) || !isFiniteValue(distance) || !isFiniteValue(speed) ||
            !isFiniteValue(drift))
            break;
        out.days.push_back(days);
        out.separation.push_back(distance);
        out.relativeSpeed.push_back(speed);
        out.energyDrift.push_back(drift);
    }
    return out;
}
