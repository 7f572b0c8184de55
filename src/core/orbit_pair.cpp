#include "core/orbit_pair.h"

#include "core/vector_math.h"

namespace {

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
    return p;
}
