#pragma once

#include <algorithm>
#include <cstdint>

// When the window's event pump runs between steps: always on the first step after a sleep (a Pause clicked
// during the sleep is then served on the plot point), otherwise at least about once a millisecond. A pump
// costs as much as a step and a clock read a tenth of one, so the clock is read only every so many steps;
// that number follows the step cost measured between two reads.
class PumpSchedule {
public:
    // The pump runs once PumpAfterNs have passed since the last one; the clock is read about every
    // ReadEveryNs, so no more than about a millisecond passes between two pumps.
    static constexpr std::int64_t PumpAfterNs = 750'000;
    static constexpr std::int64_t ReadEveryNs = 250'000;

    // Called after every step with a monotonic clock in nanoseconds; true when the pump is to run now.
    template <class Clock>
    bool afterStep(Clock&& nowNs) {
        return afterSteps(1, nowNs);
    }
    // The same after n steps taken without a call, which quietSteps allowed.
    template <class Clock>
    bool afterSteps(std::int64_t n, Clock&& nowNs) {
        if (afterSleep_) return true;
        steps_ += n;
        if (steps_ < stride_) return false;
        const std::int64_t now = nowNs();
        const std::int64_t perStep = std::max<std::int64_t>(1, (now - lastRead_) / steps_);
        // Fewer steps between reads at once when steps grow slow; more only gradually when they grow fast.
        stride_ = std::clamp<std::int64_t>(ReadEveryNs / perStep, 1, 2 * stride_);
        lastRead_ = now;
        steps_ = 0;
        return now - lastPump_ >= PumpAfterNs;
    }
    // The pump has run and returned at nowNs.
    void pumped(std::int64_t nowNs) {
        afterSleep_ = false;
        lastPump_ = lastRead_ = nowNs;
        steps_ = 0;
    }
    void slept() { afterSleep_ = true; }
    // The steps that may follow the next one before the clock is due to be read: none after a sleep.
    std::int64_t quietSteps() const {
        return afterSleep_ ? 0 : std::max<std::int64_t>(0, stride_ - steps_ - 1);
    }

    std::int64_t stepsBetweenReads() const { return stride_; }

private:
    bool afterSleep_ = true;
    std::int64_t lastPump_ = 0;
    std::int64_t lastRead_ = 0;
    std::int64_t steps_ = 0;
    std::int64_t stride_ = 1;
};
