#include "core/run.h"

#include <algorithm>
#include <cfenv>

#include "core/body_step.h"
#include "core/fp_error.h"
#include "core/number_text.h"
#include "core/step_frame.h"

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

// Where the step counter stands against cpT, without a division per step: the remainder is carried along
// and recomputed only when cpT changes.
class PlotRhythm {
public:
    // Steps until the counter is next a multiple of cpT (at least 1), from stepCounter before them.
    std::int64_t stepsToPlotPoint(std::int32_t stepCounter, std::int32_t cpT) {
        if (cpT != cpT_) {
            cpT_ = cpT;
            remainder_ = stepCounter % period();
        }
        return period() - remainder_;
    }
    // n steps taken (no more than stepsToPlotPoint said); true when they end on a plot point.
    bool advance(std::int64_t n) {
        remainder_ += n;
        if (remainder_ == period()) remainder_ = 0;
        return remainder_ == 0;
    }
    // The step counter went back to 0.
    void restart() { remainder_ = 0; }

private:
    // |cpT|, wide enough for the most negative cpT.
    std::int64_t period() const { return cpT_ < 0 ? -static_cast<std::int64_t>(cpT_) : cpT_; }

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

    // The step works on a frame of its own, loaded from CurState and written back to the records only when
    // something outside the loop may look at them: at a plot point, before the host's pump, on the way out.
    X87Step step;
    // Flags raised by constants the step would compute itself fail its next step.
    int pendingFlags = step.setUp(dt, records.CurState);
    step.load(records.CurState);

    std::int32_t stepCounter = 0;
    std::int32_t plotCounter = records.PlotCount;
    PlotRhythm rhythm;
    // NextState is a whole copy of CurState after every step; nextIsCopy says it still is one from the last
    // write-back (no code outside the loop has run since), and only the step's fields are copied.
    bool nextIsCopy = false;
    const auto writeBack = [&] {
        step.store(records.CurState);
        if (nextIsCopy) {
            step.store(records.NextState);
        } else {
            records.NextState = records.CurState;
            nextIsCopy = true;
        }
    };
    while (records.SimState == Running) {
        // A handler served in the pump may have replaced CurState (a nested replay).
        const std::int32_t cpT = records.CurState.cpT();
        // The steps before anything outside the loop is due: a plot point, the counter's wrap, the host's
        // pump. With a zero cpT one step is taken and then the division error raised, as each step has its
        // plot point test after it.
        std::int64_t steps = 1;
        if (cpT != 0) {
            steps = std::min<std::int64_t>(rhythm.stepsToPlotPoint(stepCounter, cpT),
                                           StepCounterWrap - stepCounter);
            steps = std::min<std::int64_t>(steps, static_cast<std::int64_t>(host.quietSteps()) + 1);
        }
        for (std::int64_t i = 0; i < steps; ++i) {
            const int flags = pendingFlags != 0 ? pendingFlags : step.step();
            if (flags != 0) [[unlikely]] {
                // The frame is spoilt. Its last good state is i steps on from CurState: the same steps give
                // the same bits again. Then the failed step is recomputed from it to find its first failing
                // operation.
                step.load(records.CurState);
                for (std::int64_t j = 0; j < i; ++j) step.step();
                if (i > 0) writeBack();
                raiseFirstFailure(records.CurState, dt, flags);
            }
        }
        stepCounter += static_cast<std::int32_t>(steps);
        writeBack();
        if (cpT == 0) raiseZeroDivide();

        bool outsideCodeRan = false;
        if (rhythm.advance(steps)) {
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
            // The window's slots for the plot point ran.
            outsideCodeRan = true;
        }

        if (stepCounter == StepCounterWrap) {
            stepCounter = 0;
            rhythm.restart();
        }
        if (host.pumpEvents(static_cast<std::int32_t>(steps))) {
            clearFpFlags();
            ensureX87Control();
            outsideCodeRan = true;
        }
        // Code outside the loop may have changed any record: the step reads them afresh.
        if (outsideCodeRan) {
            nextIsCopy = false;
            step.load(records.CurState);
            pendingFlags = step.takeMasses(records.CurState);
        }
    }
    return plotCounter;
}
