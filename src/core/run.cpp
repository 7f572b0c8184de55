#include "core/run.h"

#include <cfenv>

#include "core/body_step.h"
#include "core/fp_error.h"
#include "core/number_text.h"

namespace {

constexpr std::int32_t StepCounterWrap = 1000000;

struct BodyFields {
    std::size_t pos, mass, speed, dir;
};
constexpr BodyFields BodyA{TStateLayout::APos, TStateLayout::AMass, TStateLayout::ASpeed, TStateLayout::ADir};
constexpr BodyFields BodyB{TStateLayout::BPos, TStateLayout::BMass, TStateLayout::BSpeed, TStateLayout::BDir};

template <class S>
[[gnu::always_inline]] inline S fieldAs(const TState& s, std::size_t off) {
    return S{loadExtended(&s.bytes[off])};
}

template <class S>
[[gnu::always_inline]] inline BodyStep<S> bodyAtStart(const TState& s, const BodyFields& f) {
    BodyStep<S> b;
    b.pos = {fieldAs<S>(s, f.pos), fieldAs<S>(s, f.pos + TStateLayout::VectorV)};
    b.speed = fieldAs<S>(s, f.speed);
    b.dir = fieldAs<S>(s, f.dir);
    return b;
}

// A step has failed: computes it again from the unchanged state with a test after every operation, Body A's
// in their order and then Body B's, so that the first failing operation decides the error.
[[noreturn, gnu::noinline, gnu::cold]] void raiseFirstFailure(const TState& cur, Extended dt, int flags) {
    std::feclearexcept(FE_ALL_EXCEPT);
    BodyStep<Checked> a = bodyAtStart<Checked>(cur, BodyA);
    BodyStep<Checked> b = bodyAtStart<Checked>(cur, BodyB);
    const Checked step{dt};
    a.inOrder(b.pos, fieldAs<Checked>(cur, BodyB.mass), step);
    b.inOrder(a.pos, fieldAs<Checked>(cur, BodyA.mass), step);
    // No operation of the step raised them: they were left before it.
    raiseFpError(flags);
}

[[gnu::always_inline]] inline void storeBody(TState& s, const BodyFields& f, const BodyStep<Extended>& b) {
    storeExtended(&s.bytes[f.pos], b.newPos.u);
    storeExtended(&s.bytes[f.pos + TStateLayout::VectorV], b.newPos.v);
    storeExtended(&s.bytes[f.speed], b.newSpeed);
    storeExtended(&s.bytes[f.dir], b.newDir);
}

// One step from CurState, built in locals and stored in CurState and NextState only after the flag test,
// so a failed step leaves CurState as the last completed one. The bodies go stage by stage side by side:
// their long instructions (FSINCOS, FSQRT, FDIV, FPATAN) are independent and overlap.
// NextState is a whole copy of CurState after every step; nextIsCopy says it still is one from the last
// step (no code outside the loop has run since), and the whole copy is skipped.
[[gnu::always_inline]] inline void integrationStep(SimRecords& records, Extended dt, bool nextIsCopy) {
    TState& cur = records.CurState;
    BodyStep<Extended> a = bodyAtStart<Extended>(cur, BodyA);
    BodyStep<Extended> b = bodyAtStart<Extended>(cur, BodyB);
    const Extended massA = fieldAs<Extended>(cur, BodyA.mass);
    const Extended massB = fieldAs<Extended>(cur, BodyB.mass);

    a.startVelocity();
    b.startVelocity();
    a.separate(b.pos);
    b.separate(a.pos);
    a.pull(massB);
    b.pull(massA);
    a.newVelocity(dt);
    b.newVelocity(dt);
    a.speedOfNewVelocity();
    b.speedOfNewVelocity();
    a.azimuthStart();
    b.azimuthStart();
    a.azimuthEnd();
    b.azimuthEnd();
    a.advance(dt);
    b.advance(dt);

    // Every result exists before the test, so none can be computed after it.
    pinFpResult(a.newPos.u);
    pinFpResult(a.newPos.v);
    pinFpResult(a.newSpeed);
    pinFpResult(a.newDir);
    pinFpResult(b.newPos.u);
    pinFpResult(b.newPos.v);
    pinFpResult(b.newSpeed);
    pinFpResult(b.newDir);
    if (const int flags = x87ErrorFlags(); flags != 0) [[unlikely]]
        raiseFirstFailure(cur, dt, flags);

    if (!nextIsCopy) records.NextState = cur;
    storeBody(cur, BodyA, a);
    storeBody(cur, BodyB, b);
    storeBody(records.NextState, BodyA, a);
    storeBody(records.NextState, BodyB, b);
}

// Plot counts wrap like the 32-bit counter they are, never into undefined behaviour.
inline std::int32_t incremented(std::int32_t n) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(n) + 1u);
}

// The trajectory is defined for 64-bit significands and rounding to nearest, and errors are read from the
// flags with every exception masked. Code outside the core may change the control word; put it back.
inline void ensureX87Control() {
    constexpr std::uint16_t Fields = 0x0F3F;  // precision, rounding and exception masks
    constexpr std::uint16_t Wanted = 0x033F;  // 64-bit significand, to nearest, all masked
    std::uint16_t cw;
    asm volatile("fnstcw %0" : "=m"(cw));
    if ((cw & Fields) != Wanted) {
        cw = static_cast<std::uint16_t>((cw & ~Fields) | Wanted);
        asm volatile("fldcw %0" : : "m"(cw));
    }
}

[[noreturn]] void raiseZeroDivide() {
    raiseFpError(FE_DIVBYZERO);
}

// Tells whether the step counter is a multiple of cpT without a division per step (an integer division
// costs a few per cent of a step): the remainder is carried along and recomputed only when cpT changes.
class PlotRhythm {
public:
    bool endsInterval(std::int32_t stepCounter, std::int32_t cpT) {
        if (cpT != cpT_) {
            cpT_ = cpT;
            remainder_ = stepCounter % cpT;
        } else if (++remainder_ == cpT || remainder_ == -static_cast<std::int64_t>(cpT)) {
            remainder_ = 0;
        }
        return remainder_ == 0;
    }
    // The step counter went back to 0.
    void restart() { remainder_ = 0; }

private:
    std::int32_t cpT_ = 0;  // never a valid divisor: the first call divides
    std::int64_t remainder_ = 0;
};

}  // namespace

std::int32_t Run(SimRecords& records, RunHost& host, std::int32_t Delay, std::int32_t Count) {
    // Whatever ran before (a click handler, the window system) may have left flags behind.
    clearFpFlags();
    ensureX87Control();
    host.drawBody(records.CurState.APos(), 0);
    host.drawBody(records.CurState.BPos(), 1);
    // The marks are the window's code, like those of every plot point: its flags are not the run's errors.
    clearFpFlags();

    Extended dt = records.CurState.dT() / records.CurState.cpT();
    pinFpResult(dt);
    // A zero divisor is the division error whatever dT holds (0 / 0 and NaN / 0 would say otherwise or
    // nothing), and the plot rhythm below never takes a remainder by zero.
    if (records.CurState.cpT() == 0) raiseZeroDivide();
    checkFpFlags();

    std::int32_t stepCounter = 0;
    std::int32_t plotCounter = records.PlotCount;
    PlotRhythm rhythm;
    bool nextIsCopy = false;
    while (records.SimState == Running) {
        integrationStep(records, dt, nextIsCopy);
        nextIsCopy = true;
        ++stepCounter;

        // A handler served in the pump may have replaced CurState (a nested replay).
        const std::int32_t cpT = records.CurState.cpT();
        if (cpT == 0) raiseZeroDivide();
        if (rhythm.endsInterval(stepCounter, cpT)) {
            host.drawBody(records.CurState.APos(), 0);
            host.drawBody(records.CurState.BPos(), 1);
            if (Delay > 0) host.sleepMs(Delay);
            plotCounter = incremented(plotCounter);
            host.plotCounted(plotCounter);
            // The window's own code is not ours to blame for the flags it leaves.
            clearFpFlags();
            if (Count == 0) {
                Extended days = static_cast<Extended>(plotCounter) * records.CurSettings.dT();
                days = days / 86400;
                pinFpResult(days);
                checkFpFlags();
                host.showElapsed(ElapsedDaysText(days, host.decimalSeparator()));
                clearFpFlags();
            }
            if (Count > 0 && plotCounter >= Count) break;
            nextIsCopy = false;
        }

        if (stepCounter == StepCounterWrap) {
            stepCounter = 0;
            rhythm.restart();
        }
        // Handlers served here may change any record.
        if (host.pumpEvents()) {
            clearFpFlags();
            ensureX87Control();
            nextIsCopy = false;
        }
    }
    return plotCounter;
}
