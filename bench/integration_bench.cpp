#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>

#include "core/run.h"
#include "core/step_frame.h"
#include "idle_host.h"

namespace {

constexpr std::int64_t StepsPerRun = 20000;

void reportPerStep(benchmark::State& state) {
    const auto steps = static_cast<double>(state.iterations() * StepsPerRun);
    state.SetItemsProcessed(state.iterations() * StepsPerRun);
    state.counters["per_step"] =
        benchmark::Counter(steps, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// One step's long x87 instructions, which no implementation of the step can avoid: 2 FSINCOS, 2 FPATAN,
// 5 FSQRT and 9 FDIV (the bodies share the length of their separation and its inverse), each on operands
// loaded afresh, so none waits for another's result. The operands arrive as in the step's fast form, through
// 8-byte loads, and two of the divisions take a double from memory (the 1000 of the speeds); 10-byte loads
// are microcoded and would cost more than the step spends on its operands. What the processor takes for the
// instructions is the floor under any step.
[[gnu::noinline]] void stepFloor(std::int64_t steps) {
    static const double angle = 1.9, y = 0.4, x = 0.9, square = 2.5e22, numerator = 6.6e19, divisor = 3.1e22,
                        thousand = 1000;
    for (std::int64_t i = 0; i < steps; ++i) {
        asm volatile(
            ".rept 2\n\tfldl %[angle]\n\tfsincos\n\tfstp %%st(0)\n\tfstp %%st(0)\n\t.endr\n\t"
            ".rept 2\n\tfldl %[y]\n\tfldl %[x]\n\tfpatan\n\tfstp %%st(0)\n\t.endr\n\t"
            ".rept 5\n\tfldl %[square]\n\tfsqrt\n\tfstp %%st(0)\n\t.endr\n\t"
            ".rept 7\n\tfldl %[numerator]\n\tfldl %[divisor]\n\tfdivrp\n\tfstp %%st(0)\n\t.endr\n\t"
            ".rept 2\n\tfldl %[numerator]\n\tfdivl %[thousand]\n\tfstp %%st(0)\n\t.endr"
            :
            : [angle] "m"(angle), [y] "m"(y), [x] "m"(x), [square] "m"(square), [numerator] "m"(numerator),
              [divisor] "m"(divisor), [thousand] "m"(thousand)
            : "st", "st(1)");
    }
}

double secondsOf(void (*work)(std::int64_t), std::int64_t steps) {
    const auto start = std::chrono::steady_clock::now();
    work(steps);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_StepFloor(benchmark::State& state) {
    for (auto _ : state) stepFloor(StepsPerRun);
    reportPerStep(state);
}
BENCHMARK(BM_StepFloor);

// The same long instructions where a step has them in its dependency chains, with the least work between:
// per body, the direction's FSINCOS, the root of the new speed, the arc sine's argument and root, FPATAN and
// the division back to degrees, each waiting for the one before, and the next step's FSINCOS for that.
// Two such chains, one per body, side by side as in the step. What FPATAN shares with the divider and with
// FSINCOS makes this slower than the floor's loose instructions on some processors: no step can be faster.
[[gnu::noinline]] void stepChains(std::int64_t steps) {
    static const double zero = 0, angle = 4.5, share = 0.3;
    Extended a = 1, b = 1;
    for (std::int64_t i = 0; i < steps; ++i) {
        asm volatile(
            ".irp chain, 0, 1\n\t"
            "fmull %[zero]\n\tfaddl %[angle]\n\tfsincos\n\tfstp %%st(0)\n\tfxch %%st(1)\n\t"
            ".endr\n\t"
            ".irp chain, 0, 1\n\t"
            "fmull %[zero]\n\tfaddl %[share]\n\tfsqrt\n\tfld1\n\tfdivp\n\tfsqrt\n\tfxch %%st(1)\n\t"
            ".endr\n\t"
            ".irp chain, 0, 1\n\t"
            "fld1\n\tfpatan\n\tfxch %%st(1)\n\t"
            ".endr\n\t"
            ".irp chain, 0, 1\n\t"
            "fld1\n\tfdivrp\n\tfxch %%st(1)\n\t"
            ".endr"
            : "+t"(a), "+u"(b)
            : [zero] "m"(zero), [angle] "m"(angle), [share] "m"(share));
    }
    benchmark::DoNotOptimize(a);
    benchmark::DoNotOptimize(b);
}

void BM_StepChains(benchmark::State& state) {
    for (auto _ : state) stepChains(StepsPerRun);
    reportPerStep(state);
    state.counters["vs_floor"] = secondsOf(stepChains, state.iterations() * StepsPerRun) /
                                 secondsOf(stepFloor, state.iterations() * StepsPerRun);
}
BENCHMARK(BM_StepChains);

// Run's loop from the defaults as a replay, which has no sleep and no label text: the flag test, the plot
// rhythm, the record stores and an empty host around each step. vs_floor is its time over that of the same
// number of steps of BM_StepFloor's instructions, measured right after it in the same run.
void BM_IntegrationStep(benchmark::State& state) {
    SimRecords records;
    IdleHost host;
    double seconds = 0;
    for (auto _ : state) {
        records.CurState = records.CurSettings;
        records.SimState = Running;
        const auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(Run(records, host, 0, StepsPerRun / 40));
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    reportPerStep(state);
    state.counters["vs_floor"] = seconds / secondsOf(stepFloor, state.iterations() * StepsPerRun);
}
BENCHMARK(BM_IntegrationStep);

// A step in a plain loop from the start, back there for each run of steps; vs_floor as for
// BM_IntegrationStep.
template <class Step>
void stepsInALoop(benchmark::State& state, Step& step, const TState& start) {
    if (step.setUp(start.dT() / start.cpT(), start) != 0) state.SkipWithError("the constants failed");
    double seconds = 0;
    for (auto _ : state) {
        step.load(start);
        const auto begin = std::chrono::steady_clock::now();
        for (std::int64_t i = 0; i < StepsPerRun; ++i)
            if (step.step() != 0) state.SkipWithError("a step failed");
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    }
    reportPerStep(state);
    state.counters["vs_floor"] = seconds / secondsOf(stepFloor, state.iterations() * StepsPerRun);
}

// The step's C++ definition as the compiler makes it (what a TULVANE_REFERENCE_STEP build runs): the
// straightforward code the assembly is measured against.
void BM_PlainLoopStep(benchmark::State& state) {
    ReferenceStep step;
    stepsInALoop(state, step, defaultSettings());
}
BENCHMARK(BM_PlainLoopStep);

// The assembly alone, without Run's loop around it: in its fast form (the default start, whose dt and
// constants doubles hold) and in the form that loads every constant as its 10 bytes (cpT 999).
void BM_AssemblyStep(benchmark::State& state) {
    TState start = defaultSettings();
    start.setCpT(static_cast<std::int32_t>(state.range(0)));
    X87Step step;
    stepsInALoop(state, step, start);
    if (step.usesDoubles() != (state.range(0) == 40)) state.SkipWithError("not the form meant");
}
BENCHMARK(BM_AssemblyStep)->ArgName("cpT")->Arg(40)->Arg(999);

}  // namespace
