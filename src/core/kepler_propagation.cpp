#include "core/kepler_propagation.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/kepler_stumpff.h"
#include "core/orbit_fp_guard.h"
#include "core/vector_math.h"

namespace {

constexpr Extended Pi = 3.141592653589793238462643383279502884L;
// Newton stops when its step is this small relative to the anomaly, or when the mismatch of Kepler's
// equation is below this much of the size of its terms: there rounding decides the last bits.
constexpr Extended AnomalyTolerance = 64 * LDBL_EPSILON;
constexpr Extended MismatchNoise = 8 * LDBL_EPSILON;
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
    alpha_ = p.alpha;
    if (alpha_ > 0) {
        chiPeriod_ = 2 * Pi / x87Sqrt(alpha_);
        period_ = p.periodHigh;
        periodLow_ = p.periodLow;
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
    // Over a short enough time the anomaly grows at the rate r0: when the square and cube terms of Kepler's
    // equation fall below rounding, that is the answer. Newton would crawl down to a denormal t from
    // anywhere else.
    const Extended linear = target / distance0_;
    if (__builtin_fabsl(sigma0_ * linear) <= LDBL_EPSILON * distance0_ &&
        __builtin_fabsl((1 - alpha_ * distance0_) * linear * linear) <= LDBL_EPSILON * distance0_)
        return linear;
    // The scaled time grows with chi at the rate r > 0, so a bracket with a sign change holds one root.
    // noise: what rounding leaves of the sum; a mismatch below it is as good as zero.
    const Extended shape = 1 - alpha_ * distance0_;
    auto mismatch = [&](Extended chi, Extended& slope, Extended& noise) {
        const Extended chi2 = chi * chi;
        const Extended z = alpha_ * chi2;
        const Stumpff st = stumpff(z);
        slope = sigma0_ * chi * (1 - z * st.s) + shape * chi2 * st.c + distance0_;
        const Extended terms[] = {sigma0_ * chi2 * st.c, shape * chi2 * chi * st.s, distance0_ * chi};
        noise = MismatchNoise * (__builtin_fabsl(terms[0]) + __builtin_fabsl(terms[1]) +
                                 __builtin_fabsl(terms[2]) + __builtin_fabsl(target));
        return terms[0] + terms[1] + terms[2] - target;
    };

    Extended lo = 0;
    Extended hi = 0;
    Extended slope = 0;
    Extended noise = 0;
    if (alpha_ > 0) {
        // t lies within one period, either way.
        if (t > 0) {
            hi = chiPeriod_;
            if (mismatch(hi, slope, noise) <= 0) return hi;
        } else {
            lo = -chiPeriod_;
            if (mismatch(lo, slope, noise) >= 0) return lo;
        }
    } else {
        Extended far = target / distance0_;
        for (int i = 0; mismatch(far, slope, noise) * (t > 0 ? 1 : -1) < 0; ++i) {
            if (i == MaxWidenings || !isFiniteValue(far)) return std::numeric_limits<Extended>::quiet_NaN();
            far *= 2;
        }
        (t > 0 ? hi : lo) = far;
    }

    // Newton from a guess, kept inside the bracket. A step that would leave it, or that gains less than
    // bisection would (Newton creeps down the steep side of an escape's exponential), bisects instead.
    Extended chi = initialGuess(t);
    if (!(chi > lo && chi < hi)) chi = (lo + hi) / 2;
    Extended lastStep = hi - lo;
    for (int i = 0; i < MaxIterations; ++i) {
        const Extended miss = mismatch(chi, slope, noise);
        if (__builtin_fabsl(miss) <= noise) return chi;
        (miss < 0 ? lo : hi) = chi;
        const Extended step = miss / slope;
        Extended next = chi - step;
        const bool inside = next > lo && next < hi;
        if (inside && __builtin_fabsl(step) <= AnomalyTolerance * __builtin_fabsl(next)) return next;
        if (!inside || !(2 * __builtin_fabsl(step) < lastStep)) next = (lo + hi) / 2;
        if (next == lo || next == hi) return chi;  // the bracket is down to neighbouring values
        lastStep = __builtin_fabsl(next - chi);
        chi = next;
    }
    return std::numeric_limits<Extended>::quiet_NaN();
}

Extended KeplerPropagation::initialGuess(Extended t) const {
    if (alpha_ > 0) return rootGm_ * alpha_ * t;  // the mean anomaly over sqrt(alpha)
    // An open orbit's anomaly grows no faster than the start's rate r0 (its first term), nor than the
    // parabola's cube root once the cube term leads, nor than the hyperbola's logarithm far out: the
    // smallest of these is the nearest guess. Near e = 1 a long time is parabolic, and the logarithm's
    // formula holds only beyond the periapsis (a ratio above 1).
    const Extended sign = t > 0 ? 1 : -1;
    const Extended target = rootGm_ * __builtin_fabsl(t);
    Extended guess = target / distance0_;
    const Extended shape = 1 - alpha_ * distance0_;
    if (shape > 0) guess = std::min(guess, std::cbrt(6 * target / shape));
    if (alpha_ < 0) {
        const Extended a = 1 / alpha_;
        const Extended ratio = (-2 * rootGm_ * rootGm_ * alpha_ * __builtin_fabsl(t)) /
                               (sign * sigma0_ * rootGm_ + x87Sqrt(-a) * rootGm_ * shape);
        if (ratio > 1 && isFiniteValue(ratio)) guess = std::min(guess, x87Sqrt(-a) * std::log(ratio));
    }
    return sign * guess;
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
    // Within one period t is taken as it is: moving it by a period would round it to the period's last bit,
    // which near e = 1 is more than the whole of a short t.
    if (!(alpha_ > 0) || !(__builtin_fabsl(t) > period_)) return t;
    const Extended rest = std::fmod(t, period_);  // exact, with the sign of t
    turns = std::round((t - rest) / period_);
    // The period's low part, over all the turns: small beside rest, so rounded far below rest's last bit.
    return rest - turns * periodLow_;
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
