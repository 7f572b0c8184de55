#include "core/step_frame.h"

#include <cstring>

#include "core/fp_error.h"
#include "core/vector_math.h"

namespace {

void put(StepFrame::Slot& slot, Extended x) {
    storeExtended(slot.bytes, x);
}

void copyIn(StepFrame::Slot& slot, const TState& s, std::size_t offset) {
    std::memcpy(slot.bytes, &s.bytes[offset], 10);
}

void copyOut(TState& s, std::size_t offset, const StepFrame::Slot& slot) {
    std::memcpy(&s.bytes[offset], slot.bytes, 10);
}

// Whether x converts to a double and back unchanged. The conversion may raise flags; the caller clears them.
bool fitsDouble(Extended x) {
    const double d = static_cast<double>(x);
    return static_cast<Extended>(d) == x;
}

}  // namespace

int X87Step::setUp(Extended dt, const TState& s) {
    Extended half = (dt * 0.5) * dt;
    pinFpResult(half);
    put(frame_.dt, dt);
    put(frame_.half, half);
    put(frame_.degreeFactor, DegreeFactor);
    const int flags = takeMasses(s);
    fast_ = fitsDouble(dt) && fitsDouble(half);
    if (fast_) {
        frame_.dt64 = static_cast<double>(dt);
        frame_.half64 = static_cast<double>(half);
    }
    clearFpFlags();
    return flags;
}

int X87Step::takeMasses(const TState& s) {
    // The pull on each body comes from the other's mass.
    Extended gmOfA = G * s.AMass();
    Extended gmOfB = G * s.BMass();
    pinFpResult(gmOfA);
    pinFpResult(gmOfB);
    put(frame_.gmOfA, gmOfA);
    put(frame_.gmOfB, gmOfB);
    return x87ErrorFlags();
}

void X87Step::load(const TState& s) {
    using namespace TStateLayout;
    copyIn(frame_.posAU, s, APos);
    copyIn(frame_.posAV, s, APos + VectorV);
    copyIn(frame_.posBU, s, BPos);
    copyIn(frame_.posBV, s, BPos + VectorV);
    copyIn(frame_.speedA, s, ASpeed);
    copyIn(frame_.speedB, s, BSpeed);
    copyIn(frame_.dirA, s, ADir);
    copyIn(frame_.dirB, s, BDir);
}

void X87Step::store(TState& s) const {
    using namespace TStateLayout;
    copyOut(s, APos, frame_.posAU);
    copyOut(s, APos + VectorV, frame_.posAV);
    copyOut(s, BPos, frame_.posBU);
    copyOut(s, BPos + VectorV, frame_.posBV);
    copyOut(s, ASpeed, frame_.speedA);
    copyOut(s, BSpeed, frame_.speedB);
    copyOut(s, ADir, frame_.dirA);
    copyOut(s, BDir, frame_.dirB);
}
