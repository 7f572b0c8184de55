#pragma once

#include <optional>
#include <vector>

#include "core/orbit_pair.h"
#include "core/t_state.h"

struct ExactBodies {
    TVector positionA, velocityA;  // m, m/s
    TVector positionB, velocityB;
};

struct ExactPathPoint {
    Extended t;  // s since the start
    TVector positionA, positionB;
};

// The exact two-body motion from a record: the centre of mass moves uniformly, and B relative to A follows
// a conic, computed with universal variables so that ellipses, parabolas and hyperbolas share one path.
// A radial start, coincident bodies, a mass that is not finite and positive, or any value that is not
// finite give no exact path. Every member leaves the floating-point flags and control words as found.
class KeplerPropagation {
public:
    explicit KeplerPropagation(const TState& start, Extended g = G);

    bool hasExactPath() const { return problem_ == NoOrbitReason::None; }
    NoOrbitReason whyNoPath() const { return problem_; }
    // s; bound orbits only.
    std::optional<Extended> period() const;

    // Both bodies at t seconds after the start (t may be negative). None without an exact path, or when
    // the result is not finite (an open orbit at an enormous t).
    std::optional<ExactBodies> at(Extended t) const;

    // count points (at least 2) from t = 0 to tEnd, evenly spaced in the eccentric or hyperbolic anomaly
    // (dense where the path bends most). Each time comes from Kepler's equation, so nothing is solved but
    // the end. Leaves out clears out without an exact path.
    void samplePath(Extended tEnd, int count, std::vector<ExactPathPoint>& out) const;

    static constexpr int MaxIterations = 64;

private:
    struct Relative {
        TVector r, v;
    };
    // The universal anomaly chi reached at time t (already brought within one period when bound).
    Extended solveAnomaly(Extended t) const;
    Extended initialGuess(Extended t) const;
    // sqrt(GM) times the time to reach chi: Kepler's equation in universal form.
    Extended scaledTimeAt(Extended chi) const;
    Relative relativeAt(Extended chi, Extended t, bool withVelocity) const;
    ExactBodies bodiesAt(const Relative& rel, Extended t) const;
    // t less whole periods when bound and |t| exceeds one, keeping its sign; the whole periods in turns.
    Extended reduced(Extended t, Extended& turns) const;

    NoOrbitReason problem_ = NoOrbitReason::NotFinite;
    Extended shareA_ = 0, shareB_ = 0;  // mB / M and mA / M: each body's part of the separation
    TVector centreOfMass_, centreOfMassVelocity_;
    TVector r0_, v0_;
    Extended distance0_ = 0;
    Extended rootGm_ = 0;
    Extended sigma0_ = 0;     // (r0 . v0) / sqrt(GM)
    Extended alpha_ = 0;      // 1 / a: positive when bound
    Extended period_ = 0;     // bound orbits only
    Extended periodLow_ = 0;  // the period's rest beyond period_
    Extended chiPeriod_ = 0;  // the anomaly of one whole period, 2 pi / sqrt(alpha)
};
