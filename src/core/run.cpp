#include "core/run.h"

#include <utility>

#include "core/fp_error.h"
#include "core/number_text.h"
#include "core/vector_math.h"

namespace {

constexpr std::int32_t StepCounterWrap = 1000000;

// Bytes [Begin, End) of one record into another in 16-byte moves, the last one overlapping. A plain copy of
// a whole record becomes a rep movs, whose start-up alone costs a tenth of a step.
using Chunk [[gnu::vector_size(16), gnu::may_alias, gnu::aligned(1)]] = char;

template <std::size_t Begin, std::size_t End, std::size_t... I>
[[gnu::always_inline]] inline void copyChunks(TState& to, const TState& from, std::index_sequence<I...>) {
    static_assert(End - Begin >= 16 && End <= TStateLayout::Size);
    constexpr auto at = [](std::size_t i) { return i + 1 < sizeof...(I) ? Begin + 16 * i : End - 16; };
    const Chunk parts[] = {*reinterpret_cast<const Chunk*>(&from.bytes[at(I)])...};
    ((*reinterpret_cast<Chunk*>(&to.bytes[at(I)]) = parts[I]), ...);
}

template <std::size_t Begin, std::size_t End>
[[gnu::always_inline]] inline void copyBytes(TState& to, const TState& from) {
    copyChunks<Begin, End>(to, from, std::make_index_sequence<(End - Begin + 15) / 16>());
}

// Reads a field where it is used: the value is fetched again rather than kept in a spill slot, which for
// an 80-bit value costs a slow store.
[[gnu::always_inline]] inline Extended field(const TState& s, std::size_t off) {
    Extended x;
    asm volatile("fldt %1" : "=t"(x) : "m"(*reinterpret_cast<const std::uint8_t(*)[10]>(&s.bytes[off])));
    return x;
}

[[gnu::always_inline]] inline TVector vectorField(const TState& s, std::size_t off) {
    return TVector{field(s, off), field(s, off + TStateLayout::VectorV)};
}

struct BodyOffsets {
    std::size_t pos, otherPos, otherMass, speed, dir;
};

// One body over one step, read from in and written to out. The order of the operations is part of the
// trajectory: each is rounded once, as written.
[[gnu::always_inline]] inline void advanceBody(const TState& in, TState& out, const BodyOffsets& o,
                                               Extended dt) {
    TVector d = VAdd(vectorField(in, o.otherPos), VsMult(-1, vectorField(in, o.pos)));
    const Extended r = VMag(d);
    d = VsMult(1 / VMag(d), d);
    const TVector a = VsMult((G * field(in, o.otherMass)) / (r * r), d);
    const TVector v = VsMult(field(in, o.speed) * 1000, Dir2UV(field(in, o.dir)));
    const TVector w = VAdd(v, VsMult(dt, a));
    // The position moves with the velocity at the start of the step, not the new one.
    const TVector pos = VAdd(VAdd(vectorField(in, o.pos), VsMult(dt, v)), VsMult((dt * 0.5) * dt, a));
    storeExtended(&out.bytes[o.speed], VMag(w) / 1000);
    storeExtended(&out.bytes[o.dir], V2Dir(w));
    storeExtended(&out.bytes[o.pos], pos.u);
    storeExtended(&out.bytes[o.pos + TStateLayout::VectorV], pos.v);
}

// Builds the next state in NextState, then makes it CurState; throws before anything reaches CurState.
// NextState starts as a whole copy of CurState. nextIsCopy says it still is one from the last step (no
// code outside the loop has run since), and the copy is skipped.
[[gnu::always_inline]] inline void integrationStep(SimRecords& records, Extended dt, bool nextIsCopy) {
    using namespace TStateLayout;
    TState& next = records.NextState;
    if (!nextIsCopy) copyBytes<0, Size>(next, records.CurState);
    // Body A reads NextState before writing its own fields there; Body B reads CurState, which holds the
    // positions of the start of the step until the step is complete.
    advanceBody(next, next, BodyOffsets{APos, BPos, BMass, ASpeed, ADir}, dt);
    advanceBody(records.CurState, next, BodyOffsets{BPos, APos, AMass, BSpeed, BDir}, dt);

    // Every result is stored in NextState above, so none can be computed after this test.
    checkFpFlags();

    // CurState := NextState. They differ only in the positions, speeds and azimuths just written.
    copyBytes<APos, AMass>(records.CurState, next);
    copyBytes<ASpeed, AColor>(records.CurState, next);
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
