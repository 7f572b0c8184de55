#include "core/orbit_readout.h"

#include <cmath>

#include "core/kepler_stumpff.h"
#include "core/orbit_fp_guard.h"
#include "core/vector_math.h"

namespace {

constexpr Extended Pi = 3.141592653589793238462643383279502884L;

Quantity finiteOrNone(Extended x) {
    return isFiniteValue(x) ? Quantity(x) : std::nullopt;
}

std::optional<TVector> finiteOrNone(const TVector& x) {
    return isFiniteVector(x) ? std::optional<TVector>(x) : std::nullopt;
}

// The stored azimuth brought into [0, 360), turned round for a negative speed.
BodyReadout bodyReadout(const BodyMotion& m, Extended storedSpeed, Extended storedDir) {
    BodyReadout b;
    if (!m.known) return b;
    b.position = m.position;
    b.velocity = m.velocity;
    b.speed = finiteOrNone(VMag(m.velocity));
    if (storedSpeed != 0) {
        Extended dir = std::fmod(storedSpeed < 0 ? storedDir + 180 : storedDir, Extended{360});
        if (dir < 0) dir += 360;
        b.direction = finiteOrNone(dir);
    }
    return b;
}

// Time since the periapsis, from the universal anomaly between it and now, whose Kepler equation
// sqrt(GM) t = e chi^3 S(alpha chi^2) + q chi holds for every conic and keeps its precision near e = 1.
// alpha = 1 / a; sigma = (r . v) / sqrt(GM). For an ellipse, t is within half a period of the periapsis.
Extended timeSincePeriapsis(Extended alpha, Extended sigma, Extended r, Extended e, Extended q,
                            Extended rootGm) {
    Extended chi = sigma;  // the parabola's own anomaly
    if (alpha > 0) {
        const Extended root = x87Sqrt(alpha);
        chi = x87Atan2(sigma * root, 1 - r * alpha) / root;  // eccentric anomaly / sqrt(alpha)
    } else if (alpha < 0) {
        const Extended root = x87Sqrt(-alpha);
        chi = std::asinh(sigma * root / e) / root;  // hyperbolic anomaly / sqrt(-alpha)
    }
    const Stumpff st = stumpff(alpha * chi * chi);
    return (e * chi * chi * chi * st.s + q * chi) / rootGm;
}

Extended stepLength(const TState& s) {
    if (!isFiniteCanonical(classifyExtended(&s.bytes[TStateLayout::dT])) || s.cpT() == 0) return 0;
    return s.dT() / s.cpT();
}

void fillRelativeOrbit(const OrbitPair& p, Extended dt, OrbitReadout& out) {
    const Extended r = p.distance;
    const Extended v2 = p.speed * p.speed;
    const Extended gm = p.gm;
    const Extended rootGm = x87Sqrt(gm);
    const Extended rv = p.r.u * p.v.u + p.r.v * p.v.v;
    const Extended alpha = p.alpha;  // 1 / a

    // The eccentricity vector ((v^2 - GM/r) r - (r . v) v) / GM: good to the last bits near 0 and near 1.
    const Extended k = v2 - gm / r;
    const TVector ev = VsMult(1 / gm, VAdd(VsMult(k, p.r), VsMult(-rv, p.v)));
    const Extended e = VMag(ev);
    if (!isFiniteValue(e) || !isFiniteValue(alpha)) {
        out.whyNone = NoOrbitReason::NotFinite;
        return;
    }

    out.eccentricity = e;
    const bool radial = p.problem == NoOrbitReason::Radial;
    if (radial) {
        out.kind = OrbitKind::Radial;
    } else if (e < CircleEccentricity) {
        out.kind = OrbitKind::Circle;
    } else if (__builtin_fabsl(e - 1) <= ParabolaTolerance) {
        out.kind = OrbitKind::Parabola;
    } else {
        out.kind = e < 1 ? OrbitKind::Ellipse : OrbitKind::Hyperbola;
    }
    const bool bound = alpha > 0 && out.kind != OrbitKind::Parabola && out.kind != OrbitKind::Hyperbola;

    // A radial orbit is the limit e = 1 with the periapsis at the other body.
    const Extended eUsed = radial ? 1 : e;
    const Extended q = radial ? 0 : (p.h * p.h) / (gm * (1 + e));
    out.periapsis = finiteOrNone(q);
    if (out.kind != OrbitKind::Parabola && alpha != 0) out.semiMajorAxis = finiteOrNone(1 / alpha);
    if (bound) out.apoapsis = finiteOrNone((1 / alpha) * (1 + eUsed));

    const Extended period = bound ? p.periodHigh : 0;
    if (bound && !radial) out.period = finiteOrNone(period);

    if (out.kind != OrbitKind::Circle) {
        const Extended t = timeSincePeriapsis(alpha, rv / rootGm, r, eUsed, q, rootGm);
        if (bound)
            out.timeToPeriapsis = finiteOrNone(t <= 0 ? -t : period - t);
        else if (t < 0)
            out.timeToPeriapsis = finiteOrNone(-t);
    }

    if (!radial && dt > 0) {
        const Extended speedAtPeriapsis = __builtin_fabsl(p.h) / q;
        out.stepsAcrossPeriapsis = finiteOrNone(q / (speedAtPeriapsis * dt));
    }
}

}  // namespace

OrbitReadout readOrbit(const TState& s, Extended g) {
    OrbitFpGuard guard;
    OrbitReadout out;
    const OrbitPair p = orbitPairOf(s, g);
    out.whyNone = p.problem;
    out.a = bodyReadout(p.a, s.ASpeed(), s.ADir());
    out.b = bodyReadout(p.b, s.BSpeed(), s.BDir());
    if (!p.a.known || !p.b.known) return out;

    out.separation = finiteOrNone(p.distance);
    out.relativeSpeed = finiteOrNone(p.speed);
    if (!p.massesValid) return out;

    out.centreOfMass = finiteOrNone(p.centreOfMass);
    out.centreOfMassVelocity = finiteOrNone(p.centreOfMassVelocity);
    const Extended reducedMass = p.massA * p.massB / p.totalMass;
    const Extended angularMomentum = reducedMass * p.h;
    out.angularMomentum = finiteOrNone(angularMomentum);
    if (p.problem == NoOrbitReason::None && angularMomentum != 0)
        out.sense = angularMomentum > 0 ? RotationSense::Clockwise : RotationSense::Anticlockwise;
    if (p.distance > 0 && isFiniteValue(p.distance)) {
        const Extended potential = -((g * p.massA * p.massB) / p.distance);
        const Extended speedA = VMag(p.a.velocity);
        const Extended speedB = VMag(p.b.velocity);
        const Extended kinetic = p.massA * speedA * speedA / 2 + p.massB * speedB * speedB / 2;
        out.potentialEnergy = finiteOrNone(potential);
        out.relativeEnergy = finiteOrNone(reducedMass * p.speed * p.speed / 2 + potential);
        out.totalEnergy = finiteOrNone(kinetic + potential);
    }

    if (p.problem == NoOrbitReason::None || p.problem == NoOrbitReason::Radial)
        fillRelativeOrbit(p, stepLength(s), out);
    return out;
}
