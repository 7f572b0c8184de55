#pragma once

#include <optional>

#include "core/orbit_pair.h"
#include "core/t_state.h"

// The relative orbit a start velocity is chosen for: a circle, or the parabola at exactly escape speed.
enum class StartOrbit { Circle, Escape };

// A body's start motion in the record's own units.
struct StartMotion {
    Extended speed = 0;      // km/s
    Extended direction = 0;  // azimuth in degrees, [0, 360)
};

struct StartVelocity {
    std::optional<StartMotion> motion;
    // Why there is none: BadMass, Coincident or NotFinite.
    NoOrbitReason whyNone = NoOrbitReason::None;
};

// The speed and direction for body (0 A, 1 B) of s that put the relative orbit on a circle, or on a
// parabola, about the other body as s has it. The relative velocity is perpendicular to the separation,
// sqrt(G (mA + mB) / r) or sqrt(2 G (mA + mB) / r) long, and the other body's velocity is added to it. The
// sense of rotation of s's relative motion is kept; without one (no sideways motion) it is anticlockwise
// on the screen. The direction is chosen so that the integrator's Dir2UV rebuilds the velocity to its last
// bits. Leaves the floating-point flags and control words as found.
StartVelocity startVelocity(const TState& s, int body, StartOrbit orbit, Extended g = G);
