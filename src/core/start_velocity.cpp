#include "core/start_velocity.h"

#include "core/orbit_fp_guard.h"
#include "core/vector_math.h"

namespace {

constexpr Extended Pi = 3.141592653589793238462643383279502884L;

bool finiteField(const TState& s, std::size_t offset) {
    return isFiniteCanonical(classifyExtended(&s.bytes[offset]));
}

// The azimuth Dir2UV turns back into the velocity's own direction. V2Dir would not do: its quarter turns
// add whole 90s, which DegreeFactor (not pi / 180) maps 5e-12 rad away from the true quarter.
StartMotion motionOf(const TVector& velocity) {
    StartMotion m;
    m.speed = VMag(velocity) / 1000;
    if (m.speed == 0) return m;
    Extended bearing = x87Atan2(velocity.u, -velocity.v);  // radians clockwise from up the screen
    if (bearing < 0) bearing += 2 * Pi;
    // Straight up from a velocity whose u is -0: the record gets 0, not -0.
    if (bearing == 0) bearing = 0;
    m.direction = bearing / DegreeFactor;
    return m;
}

}  // namespace

StartVelocity startVelocity(const TState& s, int body, StartOrbit orbit, Extended g) {
    using namespace TStateLayout;
    const OrbitFpGuard guard;
    StartVelocity out;
    const bool a = body == 0;

    // This body's own motion only gives the sense of rotation; a damaged speed or direction gives none.
    TState pending = s;
    const std::size_t speedField = a ? ASpeed : BSpeed;
    const std::size_t dirField = a ? ADir : BDir;
    if (!finiteField(s, speedField) || !finiteField(s, dirField)) {
        storeExtended(&pending.bytes[speedField], 0);
        storeExtended(&pending.bytes[dirField], 0);
    }
    const OrbitPair p = orbitPairOf(pending, g);
    if (p.problem == NoOrbitReason::NotFinite || p.problem == NoOrbitReason::BadMass ||
        p.problem == NoOrbitReason::Coincident) {
        out.whyNone = p.problem;
        return out;
    }

    // From the other body to this one.
    const TVector r = a ? VsMult(-1, p.r) : p.r;
    const Extended k = orbit == StartOrbit::Circle ? p.gm : 2 * p.gm;
    const Extended relativeSpeed = x87Sqrt(k / p.distance);
    // h > 0 is clockwise on the screen, whose v axis points down; (r.v, -r.u) turns anticlockwise.
    const bool clockwise = p.problem == NoOrbitReason::None && p.h > 0;
    const Extended perRadius = relativeSpeed / p.distance;
    const TVector relative =
        clockwise ? TVector{-r.v * perRadius, r.u * perRadius} : TVector{r.v * perRadius, -r.u * perRadius};
    const TVector otherVelocity = a ? p.b.velocity : p.a.velocity;
    const TVector velocity = VAdd(otherVelocity, relative);
    if (!isFiniteVector(velocity)) {
        out.whyNone = NoOrbitReason::NotFinite;
        return out;
    }
    out.motion = motionOf(velocity);
    return out;
}
