#include "core/view_fit.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/kepler_propagation.h"
#include "core/orbit_fp_guard.h"

namespace {

constexpr Extended Year = 365.25L * 86400;
// Enough samples a turn that the extremes are within a small fraction of a pixel of the true ones: the path
// is sampled densest where it bends most, at closest approach.
constexpr int SamplesPerTurn = 720;
constexpr int MaxSamples = 400000;

}  // namespace

std::optional<ViewFit> fitBothOrbits(const TState& start, Extended elapsed, int width, int height,
                                     int margin) {
    OrbitFpGuard guard;
    const int w = width - 2 * margin;
    const int h = height - 2 * margin;
    if (w < 1 || h < 1 || !(elapsed >= 0)) return std::nullopt;
    const KeplerPropagation exact(start);
    if (!exact.hasExactPath()) return std::nullopt;
    const std::optional<Extended> period = exact.period();
    const Extended tEnd = period ? std::max(elapsed, *period) : elapsed + Year;
    int count = SamplesPerTurn * 4;
    if (period)
        count =
            static_cast<int>(std::min<Extended>(MaxSamples, SamplesPerTurn * std::ceil(tEnd / *period) + 1));
    std::vector<ExactPathPoint> samples;
    exact.samplePath(tEnd, count, samples);
    if (samples.empty()) return std::nullopt;

    Extended minU = INFINITY, maxU = -INFINITY, minV = INFINITY, maxV = -INFINITY;
    for (const ExactPathPoint& s : samples) {
        for (const TVector& p : {s.positionA, s.positionB}) {
            minU = std::min(minU, p.u);
            maxU = std::max(maxU, p.u);
            minV = std::min(minV, p.v);
            maxV = std::max(maxV, p.v);
        }
    }
    ViewFit fit;
    fit.sf = std::max((maxU - minU) / w, (maxV - minV) / h);
    if (!__builtin_isfinite(fit.sf) || !(fit.sf > 0)) return std::nullopt;
    // The middle of the paths goes to the centre pixel, as a re-centring click there would put it.
    fit.dx = std::nearbyint(static_cast<Extended>(width / 2) - (minU + maxU) / 2 / fit.sf);
    fit.dy = std::nearbyint(static_cast<Extended>(height / 2) - (minV + maxV) / 2 / fit.sf);
    if (!__builtin_isfinite(fit.dx) || !__builtin_isfinite(fit.dy)) return std::nullopt;
    return fit;
}
