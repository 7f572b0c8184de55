#pragma once

#include <cstddef>
#include <cstdint>

#include "core/extended.h"
#include "core/step_frame_offsets.h"
#include "core/t_state.h"

// What the integrator's x87 step (step_x87.S) works on: the moving part of the state, which each step
// replaces by the state after it, and the run's constants. Values sit in 16-byte slots, the 10 bytes of the
// record's own form first. The assembly takes the offsets from step_frame_offsets.h, hence the checks below.
struct alignas(16) StepFrame {
    struct Slot {
        alignas(16) std::uint8_t bytes[16];
    };
    Slot posAU, posAV, posBU, posBV, speedA, speedB, dirA, dirB;
    Slot dt, half;      // half = (dt * 0.5) * dt
    Slot gmOfA, gmOfB;  // G times each body's mass
    Slot degreeFactor;
    // The fast form of the step reads these instead: dt and half as doubles, which hold them exactly, and
    // the degree factor and the pulls each as the sum of two doubles, the first with the value's leading 53
    // significant bits and the second with the last 11. 8-byte operands are read far faster than 10-byte
    // loads, and give the same bits.
    double dt64, half64;
    double degreeFactorHi, degreeFactorLo, gmOfAHi, gmOfALo, gmOfBHi, gmOfBLo;
};
static_assert(offsetof(StepFrame, posAU) == STEP_FRAME_POS_AU);
static_assert(offsetof(StepFrame, posAV) == STEP_FRAME_POS_AV);
static_assert(offsetof(StepFrame, posBU) == STEP_FRAME_POS_BU);
static_assert(offsetof(StepFrame, posBV) == STEP_FRAME_POS_BV);
static_assert(offsetof(StepFrame, speedA) == STEP_FRAME_SPEED_A);
static_assert(offsetof(StepFrame, speedB) == STEP_FRAME_SPEED_B);
static_assert(offsetof(StepFrame, dirA) == STEP_FRAME_DIR_A);
static_assert(offsetof(StepFrame, dirB) == STEP_FRAME_DIR_B);
static_assert(offsetof(StepFrame, dt) == STEP_FRAME_DT);
static_assert(offsetof(StepFrame, half) == STEP_FRAME_HALF);
static_assert(offsetof(StepFrame, gmOfA) == STEP_FRAME_GM_A);
static_assert(offsetof(StepFrame, gmOfB) == STEP_FRAME_GM_B);
static_assert(offsetof(StepFrame, degreeFactor) == STEP_FRAME_DEGREE);
static_assert(offsetof(StepFrame, dt64) == STEP_FRAME_DT64);
static_assert(offsetof(StepFrame, half64) == STEP_FRAME_HALF64);
static_assert(offsetof(StepFrame, degreeFactorHi) == STEP_FRAME_DEGREE_HI);
static_assert(offsetof(StepFrame, degreeFactorLo) == STEP_FRAME_DEGREE_LO);
static_assert(offsetof(StepFrame, gmOfAHi) == STEP_FRAME_GM_A_HI);
static_assert(offsetof(StepFrame, gmOfALo) == STEP_FRAME_GM_A_LO);
static_assert(offsetof(StepFrame, gmOfBHi) == STEP_FRAME_GM_B_HI);
static_assert(offsetof(StepFrame, gmOfBLo) == STEP_FRAME_GM_B_LO);

// One step of both bodies on the frame; returns the x87 error flags it left (or invalid for an angle FSINCOS
// cannot reduce). Nonzero leaves the frame spoilt. The _dt_double form reads the doubles.
extern "C" int tulvane_step(StepFrame* frame);
extern "C" int tulvane_step_dt_double(StepFrame* frame);

// The integration step as the run uses it: the frame with its constants, and the form of the step they
// allow. Every value moves as its 10 bytes, so any pattern, NaNs included, reaches the step unchanged.
class X87Step {
public:
    // The run's constants from dt and the masses in s. Returns the error flags computing them raised: then
    // the first step fails too (it computes the same values), and the caller says which error it is.
    int setUp(Extended dt, const TState& s);
    // The masses again, after event handlers that may have changed the record. Same return.
    int takeMasses(const TState& s);

    void load(const TState& s);
    void store(TState& s) const;

    int step() { return fast_ ? tulvane_step_dt_double(&frame_) : tulvane_step(&frame_); }

    bool usesDoubles() const { return fast_; }

private:
    void chooseForm();

    StepFrame frame_{};
    bool doubleSteps_ = false;  // dt and half are doubles
    bool degreeSplit_ = false;  // the degree factor is the sum of its two doubles
    bool pullsKnown_ = false;   // the pulls in the frame are those of the masses last read
    bool pullsSplit_ = false;   // both pulls are sums of their two doubles
    bool fast_ = false;
};

// The same step computed by its C++ definition, BodyStep with S = Extended (body_step.h), behind the same
// calls: what a build with TULVANE_REFERENCE_STEP runs, so that whole runs of the assembly can be compared
// with runs of the definition. Like the assembly it reads each value as its 10 bytes, counts flags left
// before a step as the step's own, and leaves its state spoilt when a step fails.
class ReferenceStep {
public:
    // As X87Step's: the flags of the constants the step computes, (dt * 0.5) * dt and the pulls.
    int setUp(Extended dt, const TState& s);
    int takeMasses(const TState& s);

    void load(const TState& s);
    void store(TState& s) const;

    int step();

private:
    Extended dt_ = 0, massA_ = 0, massB_ = 0;
    TVector posA_, posB_;
    Extended speedA_ = 0, speedB_ = 0, dirA_ = 0, dirB_ = 0;
};

// The step the run takes: the assembly, or the definition in a reference build.
#ifdef TULVANE_REFERENCE_STEP
using RunStep = ReferenceStep;
#else
using RunStep = X87Step;
#endif
