#include "core/orbit_pair.h"

#include "core/vector_math.h"

namespace {

// 113-bit arithmetic for the few values that cancel. GCC's __float128 (software, a few dozen nanoseconds an
// operation) is exact for a difference of two 80-bit values and rounds a product or quotient far below the
// 80-bit format's last bit.
using Quad = __float128;

Quad quadSqrt(Quad x) {
    // One Newton step from the 64-bit root doubles its bits.
    const Quad first = x87Sqrt(static_cast<Extended>(x));
    return first + (x - first * first) / (2 * first);
}

// pi as the sum of its nearest 80-bit value and the rest.
constexpr Extended PiHigh = 3.141592653589793238462643383279502884L;
constexpr Extended PiLow = -5.016557612668332023557327e-20L;

void fillPreciseOrbit(OrbitPair& p, Extended g) {
    const Quad ru = Quad{p.b.position.u} - p.a.position.u;
    const Quad rv = Quad{p.b.position.v} - p.a.position.v;
    const Quad vu = Quad{p.b.velocity.u} - p.a.velocity.u;
    const Quad vv = Quad{p.b.velocity.v} - p.a.velocity.v;
    const Quad gm = Quad{g} * (Quad{p.massA} + p.massB);
    const Quad r = quadSqrt(ru * ru + rv * rv);
    const Quad alpha = 2 / r - (vu * vu + vv * vv) / gm;
    p.alpha = static_cast<Extended>(alpha);
    if (!(p.alpha > 0)) return;
    const Quad period = 2 * (Quad{PiHigh} + PiLow) / (quadSqrt(gm) * alpha * quadSqrt(alpha));
    p.periodHigh = static_cast<Extended>(period);
    p.periodLow = static_cast<Extended>(period - p.periodHigh);
}

bool finiteField(const TState& s, std::size_t offset) {
    return isFiniteCanonical(classifyExtended(&s.bytes[offset]));
}

BodyMotion motionOf(const TState& s, std::size_t pos, std::size_t speed, std::size_t dir) {
    BodyMotion m;
    if (!finiteField(s, pos) || !finiteField(s, pos + TStateLayout::VectorV) || !finiteField(s, speed) ||
        !finiteField(s, dir))
        return m;
    m.position = TVector{loadExtended(&s.bytes[pos]), loadExtended(&s.bytes[pos + TStateLayout::VectorV])};
    // The integrator's own rounding: the speed times 1000 is rounded, then scales the unit vector.
    m.velocity = VsMult(loadExtended(&s.bytes[speed]) * 1000, Dir2UV(loadExtended(&s.bytes[dir])));
    m.known = isFiniteVector(m.velocity);
    return m;
}

TVector weighted(Extended wa, const TVector& a, Extended wb, const TVector& b, Extended total) {
    return VsMult(1 / total, VAdd(VsMult(wa, a), VsMult(wb, b)));
}

}  // namespace

OrbitPair orbitPairOf(const TState& s, Extended g) {
    using namespace TStateLayout;
    OrbitPair p;
    p.a = motionOf(s, APos, ASpeed, ADir);
    p.b = motionOf(s, BPos, BSpeed, BDir);
    if (!p.a.known || !p.b.known || !finiteField(s, AMass) || !finiteField(s, BMass)) return p;

    p.r = VAdd(p.b.position, VsMult(-1, p.a.position));
    p.v = VAdd(p.b.velocity, VsMult(-1, p.a.velocity));
    p.distance = VMag(p.r);
    p.speed = VMag(p.v);
    p.h = p.r.u * p.v.v - p.r.v * p.v.u;
    p.massA = s.AMass();
    p.massB = s.BMass();
    if (!(p.massA > 0) || !(p.massB > 0)) {
        p.problem = NoOrbitReason::BadMass;
        return p;
    }
    p.massesValid = true;
    p.totalMass = p.massA + p.massB;
    p.gm = g * p.totalMass;
    p.centreOfMass = weighted(p.massA, p.a.position, p.massB, p.b.position, p.totalMass);
    p.centreOfMassVelocity = weighted(p.massA, p.a.velocity, p.massB, p.b.velocity, p.totalMass);

    const bool finite = isFiniteVector(p.r) && isFiniteVector(p.v) && isFiniteValue(p.distance) &&
                        isFiniteValue(p.speed) && isFiniteValue(p.h) && isFiniteValue(p.gm) && p.gm > 0 &&
                        isFiniteVector(p.centreOfMass) && isFiniteVector(p.centreOfMassVelocity);
    if (!finite)
        p.problem = NoOrbitReason::NotFinite;
    else if (p.distance == 0)
        p.problem = NoOrbitReason::Coincident;
    else if (__builtin_fabsl(p.h) <= RadialTolerance * p.distance * p.speed)
        p.problem = NoOrbitReason::Radial;
    else
        p.problem = NoOrbitReason::None;
    if (p.problem == NoOrbitReason::None || p.problem == NoOrbitReason::Radial) fillPreciseOrbit(p, g);
    return p;
}
