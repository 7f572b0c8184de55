#pragma once

#include <optional>

#include "core/orbit_pair.h"
#include "core/t_state.h"

// A value that may have no meaning (the period of an escape, the direction of a body at rest); the window
// shows "—" for it and tulvane-trace an empty field.
using Quantity = std::optional<Extended>;

enum class OrbitKind { None, Radial, Circle, Ellipse, Parabola, Hyperbola };
enum class RotationSense { None, Clockwise, Anticlockwise };

// Below this eccentricity the orbit is a circle, and its periapsis a matter of rounding.
inline constexpr Extended CircleEccentricity = 1e-6L;
// |e - 1| at or below this is a parabola.
inline constexpr Extended ParabolaTolerance = 1e-9L;

struct BodyReadout {
    std::optional<TVector> position;  // m
    std::optional<TVector> velocity;  // m/s, as the integrator builds it
    Quantity speed;                   // m/s
    Quantity direction;               // azimuth of the velocity in degrees, [0, 360); none at rest
};

// Everything about the two bodies of a record, in SI units, with u to the right and v downward.
struct OrbitReadout {
    OrbitKind kind = OrbitKind::None;
    NoOrbitReason whyNone = NoOrbitReason::NotFinite;  // for kind None (and Radial, which has no ellipse)

    BodyReadout a, b;

    Quantity separation;     // m
    Quantity relativeSpeed;  // m/s
    std::optional<TVector> centreOfMass;
    std::optional<TVector> centreOfMassVelocity;
    Quantity relativeEnergy;   // J, mu v^2 / 2 - G mA mB / r in the centre-of-mass frame: negative when bound
    Quantity potentialEnergy;  // J, -G mA mB / r
    Quantity totalEnergy;      // J, in the plot's frame
    Quantity angularMomentum;  // kg m^2/s about the centre of mass; positive clockwise on the screen
    RotationSense sense = RotationSense::None;

    // The relative orbit (B around A).
    Quantity eccentricity;
    Quantity semiMajorAxis;  // m; negative for a hyperbola, none for a parabola
    Quantity periapsis;      // m, the closest approach
    Quantity apoapsis;       // m, bound orbits only
    Quantity period;         // s, bound orbits only
    // s; for a radial orbit the time until the bodies meet. None for a circle, and once an open orbit has
    // passed its periapsis.
    Quantity timeToPeriapsis;
    // q / (v_q x step length): how many integration steps the closest approach takes.
    Quantity stepsAcrossPeriapsis;
};

// Leaves the floating-point flags and control words as it found them.
OrbitReadout readOrbit(const TState& s, Extended g = G);
