#pragma once

#include <cfenv>
#include <cstdint>

#include "core/t_state.h"
#include "core/vector_math.h"

// Records built from the physics a test wants, for the orbit readout and the exact propagation.
namespace orbit_test {

inline constexpr Extended Pi = 3.141592653589793238462643383279502884L;
inline constexpr Extended Day = 86400;
inline constexpr Extended SunMass = 2e30L;
inline constexpr Extended EarthMass = 6e24L;
inline constexpr Extended AU = 1.496e11L;

inline TVector plus(const TVector& a, const TVector& b) {
    return TVector{a.u + b.u, a.v + b.v};
}
inline TVector minus(const TVector& a, const TVector& b) {
    return TVector{a.u - b.u, a.v - b.v};
}
inline TVector times(Extended k, const TVector& a) {
    return TVector{k * a.u, k * a.v};
}
inline Extended length(const TVector& a) {
    return __builtin_sqrtl(a.u * a.u + a.v * a.v);
}
inline Extended distance(const TVector& a, const TVector& b) {
    return length(minus(a, b));
}

// Speed and azimuth such that the integrator rebuilds vel to the last bits. Not V2Dir: its quarter turns
// of 90 degrees are 5.1e-12 rad more than Dir2UV's, an error that would swamp the orbits' own tolerances.
inline void setVelocity(TState& s, int body, const TVector& vel) {
    const Extended speed = VMag(vel) / 1000;
    Extended bearing = x87Atan2(vel.u, -vel.v);  // radians clockwise from up the screen
    if (bearing < 0) bearing += 2 * Pi;
    const Extended dir = bearing / DegreeFactor;
    if (body == 0) {
        s.setASpeed(speed);
        s.setADir(dir);
    } else {
        s.setBSpeed(speed);
        s.setBDir(dir);
    }
}

// B at separation r from A with relative velocity v (both B minus A), the centre of mass at centre and
// moving with centreVelocity.
inline TState relativeRecord(Extended massA, Extended massB, const TVector& r, const TVector& v,
                             const TVector& centreVelocity = {}, const TVector& centre = {3e11L, 3e11L}) {
    const Extended total = massA + massB;
    TState s = defaultSettings();
    s.setAMass(massA);
    s.setBMass(massB);
    s.setAPos(minus(centre, times(massB / total, r)));
    s.setBPos(plus(centre, times(massA / total, r)));
    setVelocity(s, 0, minus(centreVelocity, times(massB / total, v)));
    setVelocity(s, 1, plus(centreVelocity, times(massA / total, v)));
    return s;
}

// B to the right of A at distance r, moving down (clockwise on the screen) or up, on a circle.
inline TState circularRecord(Extended massA, Extended massB, Extended r, bool clockwise,
                             const TVector& centreVelocity = {}) {
    const Extended speed = __builtin_sqrtl(G * (massA + massB) / r);
    return relativeRecord(massA, massB, {r, 0}, {0, clockwise ? speed : -speed}, centreVelocity);
}

// B at its periapsis q, to the right of A, moving down, on an orbit of eccentricity e.
inline TState periapsisRecord(Extended massA, Extended massB, Extended q, Extended e) {
    const Extended speed = __builtin_sqrtl(G * (massA + massB) * (1 + e) / q);
    return relativeRecord(massA, massB, {q, 0}, {0, speed});
}

// What a call leaves of the floating-point environment.
struct FpSnapshot {
    int flags;
    std::uint16_t x87Control;
    std::uint32_t mxcsr;
    bool operator==(const FpSnapshot&) const = default;
};

inline FpSnapshot fpSnapshot() {
    FpSnapshot f{};
    f.flags = std::fetestexcept(FE_ALL_EXCEPT);
    asm volatile("fnstcw %0" : "=m"(f.x87Control));
    asm volatile("stmxcsr %0" : "=m"(f.mxcsr));
    return f;
}

inline void setX87Control(std::uint16_t cw) {
    asm volatile("fldcw %0" : : "m"(cw));
}

// 53-bit significand, rounding up: a mode the orbit maths must neither use nor leave behind.
inline constexpr std::uint16_t ForeignX87Control = 0x0A7F;
inline constexpr std::uint16_t UsualX87Control = 0x037F;

}  // namespace orbit_test
