#include "core/kepler_propagation.h"

#include <cmath>
#include <limits>

#include "core/kepler_stumpff.h"
#include "core/orbit_fp_guard.h"
#include "core/vector_math.h"

namespace {

constexpr Extended Pi = 3.141592653589793238462643383279502884L;
// Newton stops when its step is this small relative to the anomaly: a few units in the last place.
constexpr Extended AnomalyTolerance = 4 * LDBL_EPSILON;
// Doublings of the search interval of an open orbit before giving up.
constexpr int MaxWidenings = 200;

bool finiteBodies(const ExactBodies& b) {
    return isFiniteVector(b.positionA) && isFiniteVector(b.velocityA) && isFiniteVector(b.positionB) &&
           isFiniteVector(b.velocityB);
}

}  // namespace

KeplerPropagation::KeplerPropagation(const TState& start, Extended g) {
    OrbitFpGuard guard;
    const OrbitPair p = orbitPairOf(start, g);
    problem_ = p.problem;
    if (problem_ != NoOrbitReason::None) return;

    shareA_ = p.massB / p.totalMass;
    shareB_ = p.massA / p.totalMass;
    centreOfMass_ = p.centreOfMass;
    centreOfMassVelocity_ = p.centreOfMassVelocity;
    r0_ = p.r;
    v0_ = p.v;
    distance0_ = p.distance;
    rootGm_ = x87Sqrt(p.gm);
    sigma0_ = (r0_.u * v0_.u + r0_.v * v0_.v) / rootGm_;
    alpha_ = 2 / distance0_ - p.speed * p.speed / p.gm;
    if (alpha_ > 0) {
        const Extended rootAlpha = x87Sqrt(alpha_);
        chiPeriod_ = 2 * Pi / rootAlpha;
        period_ = chiPeriod_ / (rootGm_ * alpha_);
    }
    const bool finite = isFiniteValue(shareA_) && isFiniteValue(shareB_) && isFiniteValue(rootGm_) &&
                        isFiniteValue(sigma0_) && isFiniteValue(alpha_) && isFiniteValue(chiPeriod_) &&
                        isFiniteValue(period_);
    if (!finite) problem_ = NoOrbitReason::NotFinite;
}

std::optional<Extended> KeplerPropagation::period() const {
    if (!hasExactPath() || !(alpha_ > 0)) return std::nullopt;
    return period_;
}

Extended KeplerPropagation::scaledTimeAt(Extended chi) const {
    const Extended chi2 = chi * chi;
    const Stumpff st = stumpff(alpha_ * chi2);
    return sigma0_ * chi2 * st.c + (1 - alpha_ * distance0_) * chi2 * chi * st.s + distance0_ * chi;
}

Extended KeplerPropagation::solveAnomaly(Extended t) const {
    const Extended target = rootGm_ * t;
    if (target == 0) return 0;
    // The scaled time grows with chi at the rate r > 0, so a bracket with a sign change holds one root.
    auto mismatch = [&](Extended chi, Extended& slope) {
        const Extended chi2 = chi * chi;
        const Extended z = alpha_ * chi2;
        const Stumpff st = stumpff(z);
        const Extended shape = 1 - alpha_ * distance0_;
        slope = sigma0_ * chi * (1 - z * st.s) + shape * chi2 * st.c + distance0_;
        return sigma0_ * chi2 * st.c + shape * chi2 * chi * st.s + distance0_ * chi - target;
    };

    Extended lo = 0;
    Extended hi = 0;
    Extended slope = 0;
    if (alpha_ > 0) {
        hi = chiPeriod_;  // t lies within one period
        if (mismatch(hi, slope) <= 0) return hi;
    } else {
        Extended far = target / distance0_;
        for (int i = 0; mismatch(far, slope) * (t > 0 ? 1 : -1) < 0; ++i) {
            if (i == MaxWidenings || !isFiniteValue(far)) return std::numeric_limits<Extended>::quiet_NaN();
            far *= 2;
        }
        (t > 0 ? hi : lo) = far;
    }

    // Newton from the mean-motion guess, kept inside the bracket; a step that would leave it bisects.
    Extended chi = alpha_ > 0 ? rootGm_ * alpha_ * t : (lo + hi) / 2;
    if (!(chi > lo && chi < hi)) chi = (lo + hi) / 2;
    for (int i = 0; i < MaxIterations; ++i) {
        const Extended miss = mismatch(chi, slope);
        if (miss == 0) break;
        (miss < 0 ? lo : hi) = chi;
        Extended next = chi - miss / slope;
        if (!(next > lo && next < hi)) next = (lo + hi) / 2;
        const bool settled = __builtin_fabsl(next - chi) <= AnomalyTolerance * __builtin_fabsl(next);
        chi = next;
        if (settled) break;
    }
    return chi;
}

KeplerPropagation::Relative KeplerPropagation::relativeAt(Extended chi, Extended t, bool withVelocity) const {
    const Extended chi2 = chi * chi;
    const Extended z = alpha_ * chi2;
    const Stumpff st = stumpff(z);
    // The Lagrange coefficients carry the start's separation and relative velocity to time t.
    const Extended f = 1 - chi2 * st.c / distance0_;
    const Extended g = t - chi2 * chi * st.s / rootGm_;
    Relative rel;
    rel.r = VAdd(VsMult(f, r0_), VsMult(g, v0_));
    if (withVelocity) {
        const Extended distance = VMag(rel.r);
        const Extended fDot = rootGm_ * chi * (z * st.s - 1) / (distance * distance0_);
        const Extended gDot = 1 - chi2 * st.c / distance;
        rel.v = VAdd(VsMult(fDot, r0_), VsMult(gDot, v0_));
    }
    return rel;
}

ExactBodies KeplerPropagation::bodiesAt(const Relative& rel, Extended t) const {
    const TVector centre = VAdd(centreOfMass_, VsMult(t, centreOfMassVelocity_));
    ExactBodies b;
    b.positionA = VAdd(centre, VsMult(-shareA_, rel.r));
    b.positionB = VAdd(centre, VsMult(shareB_, rel.r));
    b.velocityA = VAdd(centreOfMassVelocity_, VsMult(-shareA_, rel.v));
    b.velocityB = VAdd(centreOfMassVelocity_, VsMult(shareB_, rel.v));
    return b;
}

Extended KeplerPropagation::reduced(Extended t, Extended& turns) const {
    turns = 0;
    if (!(alpha_ > 0)) return t;
    Extended rest = std::fmod(t, period_);  // exact
    if (rest < 0) rest += period_;
    turns = std::round((t - rest) / period_);
    return rest;
}

std::optional<ExactBodies> KeplerPropagation::at(Extended t) const {
    OrbitFpGuard guard;
    if (!hasExactPath() || !isFiniteValue(t)) return std::nullopt;
    Extended turns;
    const Extended inPeriod = reduced(t, turns);
    const Relative rel = relativeAt(solveAnomaly(inPeriod), inPeriod, true);
    const ExactBodies b = bodiesAt(rel, t);
    if (!finiteBodies(b)) return std::nullopt;
    return b;
}

void KeplerPropagation::samplePath(Extended tEnd, int count, std::vector<ExactPathPoint>& out) const {
    OrbitFpGuard guard;
    out.clear();
    if (!hasExactPath() || count < 2 || !isFiniteValue(tEnd)) return;
    Extended turns;
    const Extended inPeriod = reduced(tEnd, turns);
    const Extended chiEnd = turns * chiPeriod_ + solveAnomaly(inPeriod);
    out.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const Extended chi = chiEnd * i / (count - 1);
        // Whole periods of a bound orbit are whole periods of time; the rest goes through Kepler's equation.
        Extended turn = 0;
        Extended rest = chi;
        if (alpha_ > 0) {
            turn = std::floor(chi / chiPeriod_);
            rest = chi - turn * chiPeriod_;
        }
        const Extended restTime = scaledTimeAt(rest) / rootGm_;
        const Extended t = turn * period_ + restTime;
        const ExactBodies b = bodiesAt(relativeAt(rest, restTime, false), t);
        if (!isFiniteVector(b.positionA) || !isFiniteVector(b.positionB) || !isFiniteValue(t)) break;
        out.push_back(ExactPathPoint{t, b.positionA, b.positionB});
    }
}
