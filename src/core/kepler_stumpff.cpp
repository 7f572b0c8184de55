#include "core/kepler_stumpff.h"

#include <cmath>

#include "core/vector_math.h"

namespace {

// Terms up to z^11 / 25!: below one part in 1e21 of the sum for |z| <= 1.
constexpr int SeriesTerms = 12;

Stumpff series(Extended z) {
    // C = sum (-z)^k / (2k + 2)!, S = sum (-z)^k / (2k + 3)!, summed from the smallest term up.
    Extended c = 0;
    Extended s = 0;
    for (int k = SeriesTerms - 1; k >= 0; --k) {
        const Extended twoK = 2 * k;
        c = (1 - z * c) / ((twoK + 1) * (twoK + 2));
        s = (1 - z * s) / ((twoK + 2) * (twoK + 3));
    }
    return Stumpff{c, s};
}

}  // namespace

Stumpff stumpff(Extended z) {
    if (__builtin_fabsl(z) < StumpffSeriesLimit) return series(z);
    if (z > 0) {
        const Extended root = x87Sqrt(z);
        Extended sine, cosine;
        x87SinCos(root, sine, cosine);
        return Stumpff{(1 - cosine) / z, (root - sine) / (z * root)};
    }
    const Extended root = x87Sqrt(-z);
    return Stumpff{(std::cosh(root) - 1) / -z, (std::sinh(root) - root) / (-z * root)};
}
