#include <benchmark/benchmark.h>

#include "core/kepler_propagation.h"
#include "core/orbit_drift.h"
#include "core/orbit_readout.h"

namespace {

// What the readout computes at a plot point: everything about the state, and the drift since the start.
void BM_OrbitReadout(benchmark::State& state) {
    const TState s = defaultSettings();
    const OrbitReadout start = readOrbit(s);
    for (auto _ : state) {
        const OrbitReadout now = readOrbit(s);
        benchmark::DoNotOptimize(now);
        benchmark::DoNotOptimize(driftGauge(start, now));
    }
}
BENCHMARK(BM_OrbitReadout);

// One exact position of the default start, at times spread over the first year.
void BM_ExactPosition(benchmark::State& state) {
    const KeplerPropagation k(defaultSettings());
    Extended t = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(k.at(t));
        t += 86400 * 1.37L;
        if (t > 86400 * 365) t = 0;
    }
}
BENCHMARK(BM_ExactPosition);

// The same, from the record each time: the cost when the start changes (a preview of the dialog's bars).
void BM_ExactPositionFromRecord(benchmark::State& state) {
    const TState s = defaultSettings();
    for (auto _ : state) benchmark::DoNotOptimize(KeplerPropagation(s).at(111 * 86400.0L));
}
BENCHMARK(BM_ExactPositionFromRecord);

// The samples of one drawing of the path: a period of the default orbit in 2000 points.
void BM_ExactPathSamples(benchmark::State& state) {
    const KeplerPropagation k(defaultSettings());
    std::vector<ExactPathPoint> path;
    for (auto _ : state) {
        k.samplePath(1356.6L * 86400, 2000, path);
        benchmark::DoNotOptimize(path.data());
    }
}
BENCHMARK(BM_ExactPathSamples);

}  // namespace
