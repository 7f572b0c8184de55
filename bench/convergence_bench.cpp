#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "core/convergence_sweep.h"

namespace {

std::size_t rowsDone(const ConvergenceSweep& sweep) {
    const ConvergenceResult r = sweep.snapshot();
    return static_cast<std::size_t>(
        std::count_if(r.rows.begin(), r.rows.end(),
                      [](const ConvergenceRow& row) { return row.state != ConvergenceRow::State::Waiting; }));
}

// The Accuracy Lab's sweep of the default start to one period (1356.6 days, every interval from a minute up),
// on 1 and on 2 workers, run one after the other: the wall time of the whole sweep, and when its first 8
// rows were in (first_8_rows_s), looked at every millisecond as the window would.
void BM_ConvergenceSweep(benchmark::State& state) {
    const TState start = defaultSettings();
    const Extended until = ConvergenceSweep::defaultUntil(start);
    const auto workers = static_cast<unsigned>(state.range(0));
    double firstRows = 0;
    for (auto _ : state) {
        ConvergenceSweep sweep(start, until);
        const auto begin = std::chrono::steady_clock::now();
        sweep.start(workers);
        bool seen = false;
        while (!sweep.finished()) {
            if (!seen && rowsDone(sweep) >= 8) {
                firstRows = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
                seen = true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        sweep.wait();
        benchmark::DoNotOptimize(sweep.snapshot());
    }
    state.counters["first_8_rows_s"] = firstRows;
}
BENCHMARK(BM_ConvergenceSweep)->Arg(1)->Arg(2)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

}  // namespace
