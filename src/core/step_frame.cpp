#include "core/step_frame.h"

#include <cmath>
#include <cstring>

#include "core/body_step.h"
#include "core/fp_error.h"
#include "core/vector_math.h"

namespace {

void put(StepFrame::Slot& slot, Extended x) {
    storeExtended(slot.bytes, x);
}

// Where each slot of the moving state sits in the record.
struct StateField {
    StepFrame::Slot StepFrame::*slot;
    std::size_t offset;
};
constexpr StateField StateFields[] = {
    {&StepFrame::posAU, TStateLayout::APos},
    {&StepFrame::posAV, TStateLayout::APos + TStateLayout::VectorV},
    {&StepFrame::posBU, TStateLayout::BPos},
    {&StepFrame::posBV, TStateLayout::BPos + TStateLayout::VectorV},
    {&StepFrame::speedA, TStateLayout::ASpeed},
    {&StepFrame::speedB, TStateLayout::BSpeed},
    {&StepFrame::dirA, TStateLayout::ADir},
    {&StepFrame::dirB, TStateLayout::BDir},
};

// Whether x converts to a double and back unchanged. The conversion may raise flags; the caller clears them.
bool fitsDouble(Extended x) {
    const double d = static_cast<double>(x);
    return static_cast<Extended>(d) == x;
}

// x as hi + lo: hi its first 53 significant bits, lo the last 11, both doubles, so that the x87 sum of the
// two is x exactly. False when a part falls outside the doubles' normal range (or x is not finite); the
// arithmetic may raise flags, which the caller clears.
bool splitIntoDoubles(Extended x, double& hi, double& lo) {
    const ExtendedBytes b = bytesOfExtended(x);
    std::uint64_t significand;
    std::memcpy(&significand, b.data(), 8);
    const int exponent = ((b[9] & 0x7F) << 8 | b[8]) - 16383 - 63;
    const double sign = (b[9] & 0x80) != 0 ? -1.0 : 1.0;
    hi = sign * std::ldexp(static_cast<double>(significand & ~std::uint64_t{0x7FF}), exponent);
    lo = sign * std::ldexp(static_cast<double>(significand & 0x7FF), exponent);
    Extended sum = static_cast<Extended>(hi) + static_cast<Extended>(lo);
    pinFpResult(sum);
    return bytesOfExtended(sum) == b;
}

}  // namespace

int X87Step::setUp(Extended dt, const TState& s) {
    Extended half = (dt * 0.5) * dt;
    pinFpResult(half);
    put(frame_.dt, dt);
    put(frame_.half, half);
    put(frame_.degreeFactor, DegreeFactor);
    degreeSplit_ = splitIntoDoubles(DegreeFactor, frame_.degreeFactorHi, frame_.degreeFactorLo);
    pullsKnown_ = false;
    const int flags = takeMasses(s);
    doubleSteps_ = fitsDouble(dt) && fitsDouble(half);
    if (doubleSteps_) {
        frame_.dt64 = static_cast<double>(dt);
        frame_.half64 = static_cast<double>(half);
    }
    chooseForm();
    clearFpFlags();
    return flags;
}

int X87Step::takeMasses(const TState& s) {
    // The pull on each body comes from the other's mass.
    Extended gmOfA = G * s.AMass();
    Extended gmOfB = G * s.BMass();
    pinFpResult(gmOfA);
    pinFpResult(gmOfB);
    const int flags = x87ErrorFlags();
    // Read afresh at every plot point; the masses seldom change, and only then are the pulls split again.
    StepFrame::Slot a, b;
    put(a, gmOfA);
    put(b, gmOfB);
    if (!pullsKnown_ || std::memcmp(a.bytes, frame_.gmOfA.bytes, 10) != 0 ||
        std::memcmp(b.bytes, frame_.gmOfB.bytes, 10) != 0) {
        frame_.gmOfA = a;
        frame_.gmOfB = b;
        pullsKnown_ = true;
        pullsSplit_ = splitIntoDoubles(gmOfA, frame_.gmOfAHi, frame_.gmOfALo) &&
                      splitIntoDoubles(gmOfB, frame_.gmOfBHi, frame_.gmOfBLo);
        chooseForm();
        if (flags == 0) clearFpFlags();
    }
    return flags;
}

void X87Step::chooseForm() {
    fast_ = doubleSteps_ && degreeSplit_ && pullsSplit_;
}

void X87Step::load(const TState& s) {
    for (const StateField& f : StateFields) std::memcpy((frame_.*f.slot).bytes, &s.bytes[f.offset], 10);
}

void X87Step::store(TState& s) const {
    for (const StateField& f : StateFields) std::memcpy(&s.bytes[f.offset], (frame_.*f.slot).bytes, 10);
}

int ReferenceStep::setUp(Extended dt, const TState& s) {
    dt_ = dt;
    Extended half = (dt * 0.5) * dt;
    pinFpResult(half);
    const int flags = takeMasses(s);
    clearFpFlags();
    return flags;
}

int ReferenceStep::takeMasses(const TState& s) {
    massA_ = s.AMass();
    massB_ = s.BMass();
    // Only for their flags: each step computes the pulls again from the masses.
    Extended gmOfA = G * massA_;
    Extended gmOfB = G * massB_;
    pinFpResult(gmOfA);
    pinFpResult(gmOfB);
    return x87ErrorFlags();
}

void ReferenceStep::load(const TState& s) {
    posA_ = s.APos();
    posB_ = s.BPos();
    speedA_ = s.ASpeed();
    speedB_ = s.BSpeed();
    dirA_ = s.ADir();
    dirB_ = s.BDir();
}

void ReferenceStep::store(TState& s) const {
    s.setAPos(posA_);
    s.setBPos(posB_);
    s.setASpeed(speedA_);
    s.setBSpeed(speedB_);
    s.setADir(dirA_);
    s.setBDir(dirB_);
}

int ReferenceStep::step() {
    BodyStep<Extended> a, b;
    a.pos = posA_;
    a.speed = speedA_;
    a.dir = dirA_;
    b.pos = posB_;
    b.speed = speedB_;
    b.dir = dirB_;
    // Both from the state at the start of the step.
    a.inOrder(b.pos, massB_, dt_);
    b.inOrder(a.pos, massA_, dt_);
    for (Extended* x :
         {&a.newPos.u, &a.newPos.v, &a.newSpeed, &a.newDir, &b.newPos.u, &b.newPos.v, &b.newSpeed, &b.newDir})
        pinFpResult(*x);
    posA_ = a.newPos;
    posB_ = b.newPos;
    speedA_ = a.newSpeed;
    speedB_ = b.newSpeed;
    dirA_ = a.newDir;
    dirB_ = b.newDir;
    return x87ErrorFlags();
}
