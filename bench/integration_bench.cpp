#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>

#include "core/run.h"
#include "core/vector_math.h"
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
// 6 FSQRT and 10 FDIV, each on operands loaded afresh, so none waits for another's result. What the
// processor takes for them is the floor under any step.
[[gnu::noinline]] void stepFloor(std::int64_t steps) {
    static const Extended angle = 1.9L, y = 0.4L, x = 0.9L, square = 2.5e22L, numerator = 6.6e19L,
                          divisor = 3.1e22L;
    for (std::int64_t i = 0; i < steps; ++i) {
        asm volatile(
            "fldt %[angle]\n\tfsincos\n\tfstp %%st(0)\n\tfstp %%st(0)\n\t"
            "fldt %[angle]\n\tfsincos\n\tfstp %%st(0)\n\tfstp %%st(0)\n\t"
            "fldt %[y]\n\tfldt %[x]\n\tfpatan\n\tfstp %%st(0)\n\t"
            "fldt %[y]\n\tfldt %[x]\n\tfpatan\n\tfstp %%st(0)\n\t"
            ".rept 6\n\tfldt %[square]\n\tfsqrt\n\tfstp %%st(0)\n\t.endr\n\t"
            ".rept 10\n\tfldt %[numerator]\n\tfldt %[divisor]\n\tfdivrp\n\tfstp %%st(0)\n\t.endr"
            :
            : [angle] "m"(angle), [y] "m"(y), [x] "m"(x), [square] "m"(square), [numerator] "m"(numerator),
              [divisor] "m"(divisor)
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

struct Body {
    Extended u, v, speed, dir;
};

inline Extended azimuth(Extended u, Extended v) {
    const Extended m = x87Sqrt(u * u + v * v);
    if (v >= 0 && u >= 0) return ArcSin(v / m) / DegreeFactor + 90;
    if (u >= 0) return ArcSin(u / m) / DegreeFactor;
    if (v >= 0) return ArcSin(-u / m) / DegreeFactor + 180;
    return ArcSin(-v / m) / DegreeFactor + 270;
}

inline Body advance(const Body& x, const Body& other, Extended otherMass, Extended dt) {
    Extended du = other.u - x.u, dv = other.v - x.v;
    const Extended r = x87Sqrt(du * du + dv * dv);
    const Extended inv = 1 / r;
    du *= inv;
    dv *= inv;
    const Extended k = (G * otherMass) / (r * r);
    const Extended au = k * du, av = k * dv;
    Extended s, c;
    x87SinCos(x.dir * DegreeFactor, s, c);
    const Extended sp = x.speed * 1000;
    const Extended vu = sp * s, vv = -(sp * c);
    const Extended wu = vu + dt * au, wv = vv + dt * av;
    const Extended half = (dt * 0.5L) * dt;
    return Body{(x.u + dt * vu) + half * au, (x.v + dt * vv) + half * av, x87Sqrt(wu * wu + wv * wv) / 1000,
                azimuth(wu, wv)};
}

// The same x87 arithmetic as plain values in a plain loop, one body after the other: the straightforward
// code the run loop is measured against.
void BM_PlainLoopStep(benchmark::State& state) {
    const TState d = defaultSettings();
    const Extended dt = d.dT() / d.cpT();
    const Extended massA = d.AMass(), massB = d.BMass();
    for (auto _ : state) {
        Body a{d.APos().u, d.APos().v, d.ASpeed(), d.ADir()};
        Body b{d.BPos().u, d.BPos().v, d.BSpeed(), d.BDir()};
        for (std::int64_t i = 0; i < StepsPerRun; ++i) {
            const Body na = advance(a, b, massB, dt);
            b = advance(b, a, massA, dt);
            a = na;
        }
        benchmark::DoNotOptimize(a);
        benchmark::DoNotOptimize(b);
    }
    reportPerStep(state);
}
BENCHMARK(BM_PlainLoopStep);

}  // namespace
