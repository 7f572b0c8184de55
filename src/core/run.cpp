#include "core/run.h"

#include "core/fp_error.h"
#include "core/number_text.h"
#include "core/vector_math.h"

namespace {

constexpr std::int32_t StepCounterWrap = 1000000;

struct BodyAdvance {
    TVector pos;
    Extended speed;
    Extended dir;
};

// One body over one step. P is its position and Q the other body's, both from the start of the step;
// otherMass pulls it. The order of the operations is part of the trajectory: each is rounded once, as
// written.
inline BodyAdvance advanceBody(const TVector& P, const TVector& Q, Extended otherMass, Extended speed,
                               Extended dir, Extended dt) {
    TVector d = VAdd(Q, VsMult(-1, P));
    const Extended r = VMag(d);
    d = VsMult(1 / VMag(d), d);
    const TVector a = VsMult((G * otherMass) / (r * r), d);
    const TVector v = VsMult(speed * 1000, Dir2UV(dir));
    const TVector w = VAdd(v, VsMult(dt, a));
    BodyAdvance next;
    next.speed = VMag(w) / 1000;
    next.dir = V2Dir(w);
    // The position moves with the velocity at the start of the step, not the new one.
    next.pos = VAdd(VAdd(P, VsMult(dt, v)), VsMult((dt * 0.5) * dt, a));
    return next;
}

// Builds the next state in NextState and throws before anything reaches CurState.
inline void integrationStep(SimRecords& records, Extended dt) {
    const TState& cur = records.CurState;
    TState& next = records.NextState;
    next = cur;
    const TVector PA = cur.APos();
    const TVector PB = cur.BPos();

    const BodyAdvance a = advanceBody(PA, PB, cur.BMass(), cur.ASpeed(), cur.ADir(), dt);
    next.setASpeed(a.speed);
    next.setADir(a.dir);
    next.setAPos(a.pos);

    const BodyAdvance b = advanceBody(PB, PA, cur.AMass(), cur.BSpeed(), cur.BDir(), dt);
    next.setBSpeed(b.speed);
    next.setBDir(b.dir);
    next.setBPos(b.pos);

    // Every result is stored in NextState above, so none can be computed after this test.
    checkFpFlags();
}

// Plot counts wrap like the 32-bit counter they are, never into undefined behaviour.
inline std::int32_t incremented(std::int32_t n) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(n) + 1u);
}

[[noreturn]] void raiseZeroDivide() {
    raiseFpError(FE_DIVBYZERO);
}

}  // namespace

std::int32_t Run(SimRecords& records, RunHost& host, std::int32_t Delay, std::int32_t Count) {
    // Whatever ran before (a click handler, the window system) may have left flags behind.
    clearFpFlags();
    host.drawBody(records.CurState.APos(), 0);
    host.drawBody(records.CurState.BPos(), 1);

    Extended dt = records.CurState.dT() / records.CurState.cpT();
    pinFpResult(dt);
    // A zero divisor is the division error whatever dT holds (0 / 0 and NaN / 0 would say otherwise or
    // nothing), and the plot rhythm below never takes a remainder by zero.
    if (records.CurState.cpT() == 0) raiseZeroDivide();
    checkFpFlags();

    std::int32_t stepCounter = 0;
    std::int32_t plotCounter = records.PlotCount;
    while (records.SimState == Running) {
        integrationStep(records, dt);
        records.CurState = records.NextState;
        ++stepCounter;

        // A handler served in the pump may have replaced CurState (a nested replay).
        const std::int32_t cpT = records.CurState.cpT();
        if (cpT == 0) raiseZeroDivide();
        if (stepCounter % cpT == 0) {
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
        }

        if (stepCounter == StepCounterWrap) stepCounter = 0;
        if (host.pumpEvents()) clearFpFlags();
    }
    return plotCounter;
}
