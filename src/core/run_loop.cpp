#include "core/run_loop.h"

#include <algorithm>
#include <cfenv>

#include "core/body_step.h"
#include "core/fp_error.h"
#include "core/number_text.h"
#include "core/step_frame.h"

namespace {

struct BodyFields {
    std::size_t pos, mass, speed, dir;
};
constexpr BodyFields FieldsOfA{TStateLayout::APos, TStateLayout::AMass, TStateLayout::ASpeed,
                               TStateLayout::ADir};
constexpr BodyFields FieldsOfB{TStateLayout::BPos, TStateLayout::BMass, TStateLayout::BSpeed,
                               TStateLayout::BDir};

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
    BodyStep<Checked> a = bodyAtStart<Checked>(cur, FieldsOfA);
    BodyStep<Checked> b = bodyAtStart<Checked>(cur, FieldsOfB);
    const Checked step{dt};
    a.inOrder(b.pos, fieldAs<Checked>(cur, FieldsOfB.mass), step);
    b.inOrder(a.pos, fieldAs<Checked>(cur, FieldsOfA.mass), step);
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

// |cpT|, wide enough for the most negative cpT.
inline std::int64_t period(std::int32_t cpT) {
    return cpT < 0 ? -static_cast<std::int64_t>(cpT) : cpT;
}

}  // namespace

RunLoop::RunLoop(SimRecords& records, std::int32_t count, std::string decimalSeparator)
    : r_(records), count_(count), separator_(std::move(decimalSeparator)), plotCounter_(records.PlotCount) {}

void RunLoop::writeBack() {
    // NextState is a whole copy of CurState after every step; nextIsCopy_ says it still is one from the last
    // write-back (no code outside the loop has run since), and only the step's fields are copied.
    step_.store(r_.CurState);
    if (nextIsCopy_) {
        step_.store(r_.NextState);
    } else {
        r_.NextState = r_.CurState;
        nextIsCopy_ = true;
    }
}

void RunLoop::enter(PlotSink& sink) {
    begun_ = true;
    // Whatever ran before (a click handler, the window system) may have left flags behind.
    clearFpFlags();
    ensureX87Control();
    sink.drawBody(r_.CurState.APos(), BodyA);
    sink.drawBody(r_.CurState.BPos(), BodyB);
    // The marks are the window's code, like those of every plot point: its flags are not the run's errors.
    clearFpFlags();

    dt_ = r_.CurState.dT() / r_.CurState.cpT();
    pinFpResult(dt_);
    // A zero divisor is the division error whatever dT holds (0 / 0 and NaN / 0 would say otherwise or
    // nothing), and the plot rhythm never takes a remainder by zero.
    if (r_.CurState.cpT() == 0) raiseZeroDivide();
    checkFpFlags();
    // Flags raised by constants the step would compute itself fail its next step.
    pendingFlags_ = step_.setUp(dt_, r_.CurState);
    step_.load(r_.CurState);
}

RunSlice RunLoop::advance(std::int64_t maxSteps, PlotSink& sink, bool outsideCodeRan) {
    if (!begun_) {
        enter(sink);
    } else if (outsideCodeRan) {
        // Code outside the loop ran since the last slice and may have changed any record: the step reads them
        // afresh, and its own flags are all that count.
        clearFpFlags();
        ensureX87Control();
        nextIsCopy_ = false;
        step_.load(r_.CurState);
        pendingFlags_ = step_.takeMasses(r_.CurState);
    }
    RunSlice slice;
    std::int64_t budget = std::max<std::int64_t>(1, maxSteps);
    while (budget > 0) {
        const std::int32_t cpT = r_.CurState.cpT();
        // The steps before anything outside the loop is due: a plot point, the counter's wrap, the end of the
        // slice. With a zero cpT one step is taken and then the division error raised, as each step has its
        // plot point test after it.
        std::int64_t steps = 1;
        if (cpT != 0) {
            if (cpT != cpTSeen_) {
                cpTSeen_ = cpT;
                remainder_ = stepCounter_ % period(cpT);
            }
            steps = std::min<std::int64_t>(period(cpT) - remainder_, StepCounterWrap - stepCounter_);
            steps = std::min(steps, budget);
        }
        for (std::int64_t i = 0; i < steps; ++i) {
            const int flags = pendingFlags_ != 0 ? pendingFlags_ : step_.step();
            if (flags != 0) [[unlikely]] {
                // The frame is spoilt. Its last good state is i steps on from CurState: the same steps give
                // the same bits again. Then the failed step is recomputed from it to find its first failing
                // operation.
                step_.load(r_.CurState);
                for (std::int64_t j = 0; j < i; ++j) step_.step();
                if (i > 0) writeBack();
                raiseFirstFailure(r_.CurState, dt_, flags);
            }
        }
        stepCounter_ += static_cast<std::int32_t>(steps);
        budget -= steps;
        slice.steps += steps;
        writeBack();
        if (cpT == 0) raiseZeroDivide();

        remainder_ += steps;
        if (remainder_ == period(cpT)) remainder_ = 0;
        atPlotPoint_ = remainder_ == 0;
        if (stepCounter_ == StepCounterWrap) {
            stepCounter_ = 0;
            // The rhythm restarts with the counter.
            if (!atPlotPoint_) remainder_ = 0;
        }
        if (atPlotPoint_) {
            sink.drawBody(r_.CurState.APos(), BodyA);
            sink.drawBody(r_.CurState.BPos(), BodyB);
            plotCounter_ = incremented(plotCounter_);
            sink.plotCounted(plotCounter_);
            // The window's own code is not ours to blame for the flags it leaves.
            clearFpFlags();
            if (count_ == 0) {
                Extended days = static_cast<Extended>(plotCounter_) * r_.CurSettings.dT();
                days = days / 86400;
                pinFpResult(days);
                checkFpFlags();
                slice.daysText = ElapsedDaysText(days, separator_);
                clearFpFlags();
            }
            slice.kind = count_ > 0 && plotCounter_ >= count_ ? RunSlice::ReplayEnd : RunSlice::PlotPoint;
            return slice;
        }
    }
    return slice;
}
