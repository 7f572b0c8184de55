#pragma once

#include <cstdint>

// The orbit maths runs between the integrator's steps, and the run loop reads the floating-point flags after
// each step. So every entry point keeps the caller's flags and control words exactly as found, and computes
// in the integrator's own mode (64-bit significand, round to nearest, every exception masked) meanwhile.
// fegetenv and fesetenv would do, but cost a tenth of a readout: the usual case, no flag set on entry,
// needs only a clear. The memory clobbers keep the results' stores before the flags are put back.
class OrbitFpGuard {
public:
    OrbitFpGuard() {
        asm volatile("fnstsw %0" : "=m"(status_));
        asm volatile("fnstcw %0" : "=m"(control_));
        asm volatile("stmxcsr %0" : "=m"(mxcsr_));
        if ((control_ & ControlFields) != WantedControl) {
            const std::uint16_t cw = static_cast<std::uint16_t>((control_ & ~ControlFields) | WantedControl);
            asm volatile("fldcw %0" : : "m"(cw) : "memory");
        }
    }
    ~OrbitFpGuard() {
        if ((status_ & X87Flags) == 0)
            asm volatile("fnclex" : : : "memory");
        else
            restoreFlags();
        asm volatile("fldcw %0" : : "m"(control_) : "memory");
        asm volatile("ldmxcsr %0" : : "m"(mxcsr_) : "memory");
    }
    OrbitFpGuard(const OrbitFpGuard&) = delete;
    OrbitFpGuard& operator=(const OrbitFpGuard&) = delete;

private:
    static constexpr std::uint16_t ControlFields = 0x0F3F;  // precision, rounding and exception masks
    static constexpr std::uint16_t WantedControl = 0x033F;
    static constexpr std::uint16_t X87Flags = 0x003F;

    // The flags found on entry, exactly: through the environment image, the only way to set them.
    void restoreFlags() const {
        struct {
            std::uint16_t control, unused0, status, unused1;
            std::uint32_t rest[5];
        } env;
        asm volatile("fnstenv %0" : "=m"(env) : : "memory");
        env.status = static_cast<std::uint16_t>((env.status & ~X87Flags) | (status_ & X87Flags));
        asm volatile("fldenv %0" : : "m"(env) : "memory");
    }

    std::uint16_t status_;
    std::uint16_t control_;
    std::uint32_t mxcsr_;
};
