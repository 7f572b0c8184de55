#include "core/integration_error.h"

#include <cmath>

#include "core/orbit_fp_guard.h"

std::optional<IntegrationError> integrationError(const KeplerPropagation& exact, Extended t,
                                                 const TVector& simulatedA, const TVector& simulatedB) {
    OrbitFpGuard guard;
    const std::optional<ExactBodies> b = exact.at(t);
    if (!b) return std::nullopt;
    const auto apart = [](const TVector& x, const TVector& y) { return std::hypot(x.u - y.u, x.v - y.v); };
    const IntegrationError e{apart(simulatedA, b->positionA), apart(simulatedB, b->positionB)};
    if (!isFiniteValue(e.bodyA) || !isFiniteValue(e.bodyB)) return std::nullopt;
    return e;
}
