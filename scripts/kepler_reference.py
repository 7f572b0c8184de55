#!/usr/bin/env python3
"""Reference positions of the exact two-body motion, for tests/core/kepler_reference_test.cpp.

Each case is a record whose values are exact 80-bit numbers: both bodies move along the screen's v axis
(azimuth 0), so the integrator's velocity is speed x 1000 rounded to 64 bits times (0, -1), with nothing
else rounded. From those exact inputs the motion is solved with mpmath at 120 digits (universal Kepler
equation, Stumpff functions by series near zero) and printed as a C++ table of 25-digit literals.

    python3 scripts/kepler_reference.py > tests/core/kepler_reference_table.inc

Needs python3-mpmath (Debian).
"""

from mpmath import mp, mpf, sqrt, cos, sin, cosh, sinh, pi, floor, nint

mp.dps = 120

# The record's constants, as stored: G and the default masses.
G = mpf(0x92C3D7C47267EE77) * mpf(2) ** -97
MASS_A = mpf(0xC9F2C9CD04674EDE) * mpf(2) ** 37
MASS_B = mpf(0xFC6F7C4045812296) * mpf(2) ** 38


def round64(x):
    """x rounded to the nearest 80-bit value (64-bit significand, ties to even)."""
    with mp.workprec(64):
        return +x


def hex_literal(x):
    """An exact C++ long double literal of a 64-bit value."""
    x = round64(x)
    if x == 0:
        return "0.0L"
    man, exp = x.man_exp
    sign = "-" if x < 0 else ""
    return "%s0x%Xp%+dL" % (sign, abs(man), exp)


def dec_literal(x):
    return mp.nstr(x, 25, min_fixed=1, max_fixed=0, strip_zeros=False) + "L"


def stumpff(z):
    if abs(z) < mpf("0.01"):
        c = s = mpf(0)
        term_c, term_s = mpf(1) / 2, mpf(1) / 6
        k = 0
        while True:
            c += term_c
            s += term_s
            term_c *= -z / ((2 * k + 3) * (2 * k + 4))
            term_s *= -z / ((2 * k + 4) * (2 * k + 5))
            k += 1
            if abs(term_c) < mpf(10) ** -(mp.dps + 5) and abs(term_s) < mpf(10) ** -(mp.dps + 5):
                return c, s
    if z > 0:
        w = sqrt(z)
        return (1 - cos(w)) / z, (w - sin(w)) / (z * w)
    w = sqrt(-z)
    return (cosh(w) - 1) / -z, (sinh(w) - w) / (-z * w)


class Orbit:
    def __init__(self, pos_a, pos_b, vel_a, vel_b):
        self.total = MASS_A + MASS_B
        self.gm = G * self.total
        self.root_gm = sqrt(self.gm)
        self.centre = [(MASS_A * pos_a[i] + MASS_B * pos_b[i]) / self.total for i in range(2)]
        self.centre_vel = [(MASS_A * vel_a[i] + MASS_B * vel_b[i]) / self.total for i in range(2)]
        self.r0 = [pos_b[i] - pos_a[i] for i in range(2)]
        self.v0 = [vel_b[i] - vel_a[i] for i in range(2)]
        self.dist0 = sqrt(self.r0[0] ** 2 + self.r0[1] ** 2)
        v2 = self.v0[0] ** 2 + self.v0[1] ** 2
        self.alpha = 2 / self.dist0 - v2 / self.gm
        self.sigma0 = (self.r0[0] * self.v0[0] + self.r0[1] * self.v0[1]) / self.root_gm
        h = self.r0[0] * self.v0[1] - self.r0[1] * self.v0[0]
        self.e = sqrt(1 - self.alpha * h * h / self.gm)
        if self.alpha > 0:
            self.chi_period = 2 * pi / sqrt(self.alpha)
            self.period = self.chi_period / (self.root_gm * self.alpha)

    def scaled_time(self, chi):
        c, s = stumpff(self.alpha * chi * chi)
        return (self.sigma0 * chi * chi * c + (1 - self.alpha * self.dist0) * chi ** 3 * s
                + self.dist0 * chi)

    def anomaly(self, t):
        target = self.root_gm * t
        if target == 0:
            return mpf(0)
        if self.alpha > 0:
            lo, hi = -self.chi_period, self.chi_period
        else:
            far = abs(target) / self.dist0
            while (self.scaled_time(far) - abs(target)) < 0:
                far *= 2
            lo, hi = (0, far) if target > 0 else (-far, 0)
        # Bisection down to a narrow bracket, then Newton to full precision: the scaled time grows with chi.
        for _ in range(80):
            mid = (lo + hi) / 2
            if self.scaled_time(mid) < target:
                lo = mid
            else:
                hi = mid
        chi = (lo + hi) / 2
        for _ in range(60):
            c, s = stumpff(self.alpha * chi * chi)
            z = self.alpha * chi * chi
            slope = (self.sigma0 * chi * (1 - z * s) + (1 - self.alpha * self.dist0) * chi * chi * c
                     + self.dist0)
            step = (self.scaled_time(chi) - target) / slope
            chi -= step
            if abs(step) <= abs(chi) * mpf(10) ** -(mp.dps - 10):
                break
        return chi

    def bodies(self, t):
        turns = 0
        rest = t
        if self.alpha > 0:
            turns = nint(t / self.period)
            rest = t - turns * self.period
        chi = self.anomaly(rest)
        c, s = stumpff(self.alpha * chi * chi)
        f = 1 - chi * chi * c / self.dist0
        g = rest - chi ** 3 * s / self.root_gm
        r = [f * self.r0[i] + g * self.v0[i] for i in range(2)]
        dist = sqrt(r[0] ** 2 + r[1] ** 2)
        f_dot = self.root_gm * chi * (self.alpha * chi * chi * s - 1) / (dist * self.dist0)
        g_dot = 1 - chi * chi * c / dist
        v = [f_dot * self.r0[i] + g_dot * self.v0[i] for i in range(2)]
        centre = [self.centre[i] + t * self.centre_vel[i] for i in range(2)]
        a = [centre[i] - MASS_B / self.total * r[i] for i in range(2)]
        b = [centre[i] + MASS_A / self.total * r[i] for i in range(2)]
        speed = lambda share: sqrt(sum((self.centre_vel[i] + share * v[i]) ** 2 for i in range(2)))
        return a, b, max(speed(-MASS_B / self.total), speed(MASS_A / self.total))


def vertical_velocity(speed_kms):
    """The integrator's velocity of a body at azimuth 0: speed x 1000 rounded, along (0, -1)."""
    return [mpf(0), -round64(speed_kms * 1000)]


def periapsis_case(name, q, e, centre, turns_of_a, times):
    """B to the right of A at distance q, at the periapsis of an orbit of eccentricity about e. Body A
    carries turns_of_a of the relative speed (in the opposite direction), so the centre of mass moves
    unless turns_of_a is mB / M."""
    gm = G * (MASS_A + MASS_B)
    speed = sqrt(gm * (1 + e) / q)
    speed_a = round64(-turns_of_a * speed / 1000)
    speed_b = round64((1 - turns_of_a) * speed / 1000)
    pos_a = [round64(centre[0] - q / 2), round64(centre[1])]
    pos_b = [round64(centre[0] + q / 2), round64(centre[1])]
    return general_case(name, pos_a, pos_b, speed_a, speed_b, times)


def general_case(name, pos_a, pos_b, speed_a, speed_b, times):
    orbit = Orbit(pos_a, pos_b, vertical_velocity(speed_a), vertical_velocity(speed_b))
    return dict(name=name, pos_a=pos_a, pos_b=pos_b, speed_a=speed_a, speed_b=speed_b, orbit=orbit,
                times=times)


def main():
    cases = []
    near_parabola = [mpf("-0.001"), mpf("0.001"), mpf(-1000), mpf(1e6), mpf(-1e9)]
    # e = 1 - 1e-12 at a separation of 7000 km: one period is about 5.4e18 s.
    c = periapsis_case("BoundNearParabola", mpf(7e6), 1 - mpf("1e-12"), [mpf(3e9), mpf(2e9)], 0,
                       near_parabola)
    p = c["orbit"].period
    c["times"] += [round64(p / 2), round64(-p / 2 - 1e6), round64(p + 1e5), round64(-p - 1e5)]
    cases.append(c)
    cases.append(periapsis_case("OpenNearParabola", mpf(7e6), 1 + mpf("1e-12"), [mpf(3e9), mpf(2e9)], 0,
                                near_parabola + [mpf(1e12), mpf(-1e15)]))
    # e = 1 - 1e-6: 10^4 periods and more, both ways.
    c = periapsis_case("MillionthFromParabola", mpf(1e9), 1 - mpf("1e-6"), [mpf(0), mpf(0)], mpf("0.3"), [])
    p = c["orbit"].period
    c["times"] = [mpf("-0.001"), round64(-p / 3), round64(1e4 * p + 1e3), round64(-1e4 * p - 1e3),
                  round64(mpf("12345.25") * p)]
    cases.append(c)
    # e = 1 - 1e-8, the centre of mass moving.
    c = periapsis_case("HundredMillionthFromParabola", mpf(5e8), 1 - mpf("1e-8"), [mpf(-4e10), mpf(1e11)],
                       mpf("0.1"), [])
    p = c["orbit"].period
    c["times"] = [mpf("-0.001"), mpf(-86400), round64(-p / 2), round64(300 * p + 7e3), round64(-1000 * p)]
    cases.append(c)
    # A start away from the apsides (separation 5e11 m at an angle to the velocity), like the default's.
    c = general_case("AwayFromTheApsides", [mpf(2e11), mpf(1e11)], [mpf(6e11), mpf(4e11)], mpf(0),
                     round64(mpf(-14)), [])
    p = c["orbit"].period
    c["times"] = [mpf("-1e-3"), mpf(-86400), round64(-p / 4), round64(-p + 86400), round64(-3 * p - 1),
                  round64(1000 * p + 1e5), round64(-1000 * p)]
    cases.append(c)

    print("// Made by scripts/kepler_reference.py from exact inputs with mpmath at %d digits. Do not edit."
          % mp.dps)
    print("// name, A and B positions (m), A and B speeds (km/s, azimuth 0), eccentricity, period (s, 0 when")
    print("// open), then the times (s) with B's and A's positions there and the faster body's speed (m/s).")
    print("const ReferenceOrbit ReferenceOrbits[] = {")
    for c in cases:
        o = c["orbit"]
        print("    {\"%s\"," % c["name"])
        print("     {%s, %s}, {%s, %s}," % tuple(hex_literal(x) for x in c["pos_a"] + c["pos_b"]))
        print("     %s, %s," % (hex_literal(c["speed_a"]), hex_literal(c["speed_b"])))
        print("     %s, %s," % (dec_literal(o.e), dec_literal(o.period) if o.alpha > 0 else "0.0L"))
        print("     {")
        for t in c["times"]:
            t = round64(t)
            a, b, fastest = o.bodies(t)
            print("         {%s, {%s, %s}, {%s, %s}, %s}," % (
                hex_literal(t), dec_literal(b[0]), dec_literal(b[1]), dec_literal(a[0]), dec_literal(a[1]),
                mp.nstr(fastest, 6) + "L"))
        print("     }},")
    print("};")


if __name__ == "__main__":
    main()
