#pragma once

#include <optional>

#include "core/kepler_propagation.h"

// How far the integrated bodies have strayed from the exact two-body motion at the same time, in metres.
struct IntegrationError {
    Extended bodyA = 0;
    Extended bodyB = 0;
};

// None without an exact path, or when a distance is not finite. Leaves the floating-point flags and control
// words as found.
std::optional<IntegrationError> integrationError(const KeplerPropagation& exact, Extended t,
                                                 const TVector& simulatedA, const TVector& simulatedB);
