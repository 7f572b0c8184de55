#include "ui/orbit_readout/readout_text.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr Extended AstronomicalUnit = 149597870700.0L;  // m
constexpr Extended Day = 86400;                         // s
constexpr Extended JulianYear = 365.25L;                // days

// printf's text with the C library's decimal point (which follows the process locale, whatever it is)
// replaced by sep.
std::string withSeparator(const char* text, std::string_view sep) {
    std::string out;
    bool inPoint = false;
    for (const char* p = text; *p != '\0'; ++p) {
        const char c = *p;
        const bool plain = (c >= '0' && c <= '9') || c == '-' || c == '+' || c == 'E';
        if (plain) {
            out.push_back(c);
            inPoint = false;
        } else if (!inPoint) {
            out.append(sep);
            inPoint = true;
        }
    }
    return out;
}

int decimalExponent(Extended x, int digits) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*LE", digits - 1, x);
    const char* e = buf;
    while (*e != '\0' && *e != 'E') ++e;
    return *e == 'E' ? std::atoi(e + 1) : 0;
}

std::string signedSignificant(Extended x, int digits, std::string_view sep, bool sign) {
    char buf[96];
    const int e = x == 0 ? 0 : decimalExponent(x, digits);
    if (e >= -3 && e < 6) {
        const int decimals = digits - 1 - e > 0 ? digits - 1 - e : 0;
        std::snprintf(buf, sizeof buf, sign ? "%+.*Lf" : "%.*Lf", decimals, x);
    } else {
        std::snprintf(buf, sizeof buf, sign ? "%+.*LE" : "%.*LE", digits - 1, x);
    }
    return withSeparator(buf, sep);
}

std::string none() {
    return std::string(NoValueText);
}

}  // namespace

std::string significantText(Extended x, int digits, std::string_view sep) {
    return signedSignificant(x, digits, sep, false);
}

std::string distanceText(const Quantity& metres, std::string_view sep) {
    if (!metres) return none();
    std::string text = significantText(*metres / 1000, 5, sep) + " km";
    const Extended au = *metres / AstronomicalUnit;
    if (std::fabs(au) >= 0.1L) text += " (" + significantText(au, 4, sep) + " AU)";
    return text;
}

std::string speedText(const Quantity& metresPerSecond, std::string_view sep) {
    if (!metresPerSecond) return none();
    return significantText(*metresPerSecond / 1000, 5, sep) + " km/s";
}

std::string durationText(const Quantity& seconds, std::string_view sep) {
    if (!seconds) return none();
    const Extended days = *seconds / Day;
    std::string text = significantText(days, 5, sep) + " days";
    const Extended years = days / JulianYear;
    if (std::fabs(years) >= 1) text += " (" + significantText(years, 4, sep) + " years)";
    return text;
}

std::string energyText(const Quantity& joules, std::string_view sep) {
    if (!joules) return none();
    return significantText(*joules, 4, sep) + " J";
}

std::string angularMomentumText(const Quantity& h, RotationSense sense, std::string_view sep) {
    if (!h) return none();
    std::string text = significantText(std::fabs(*h), 4, sep) + " kg\u00b7m\u00b2/s";
    if (sense == RotationSense::Clockwise) text += ", clockwise";
    if (sense == RotationSense::Anticlockwise) text += ", anticlockwise";
    return text;
}

std::string directionText(const Quantity& degrees, std::string_view sep) {
    if (!degrees) return none();
    return significantText(*degrees, 5, sep) + "\u00b0";
}

std::string eccentricityText(const Quantity& e, std::string_view sep) {
    if (!e) return none();
    if (*e >= 10) return significantText(*e, 5, sep);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.5Lf", *e);
    return withSeparator(buf, sep);
}

std::string stepsText(const Quantity& steps) {
    if (!steps) return none();
    if (*steps >= 1e9L) return significantText(*steps, 3, ".");
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.0Lf", *steps);
    return buf;
}

std::string driftText(const Quantity& drift, std::string_view sep) {
    if (!drift) return none();
    if (*drift == 0) return "0";
    return signedSignificant(*drift, 3, sep, true);
}

std::string kindText(const OrbitReadout& o) {
    const bool bound = o.relativeEnergy && *o.relativeEnergy < 0;
    switch (o.kind) {
        case OrbitKind::Circle:
            return "bound circle";
        case OrbitKind::Ellipse:
            return "bound ellipse";
        case OrbitKind::Parabola:
            return "parabola: escape";
        case OrbitKind::Hyperbola:
            return "hyperbola: escape";
        case OrbitKind::Radial:
            return bound ? "radial: the bodies fall together" : "radial: escape";
        case OrbitKind::None:
            break;
    }
    switch (o.whyNone) {
        case NoOrbitReason::BadMass:
            return "no orbit: a mass is zero or negative";
        case NoOrbitReason::Coincident:
            return "no orbit: the bodies coincide";
        default:
            return "no orbit: a value is not a finite number";
    }
}

std::string summaryText(const OrbitReadout& o, std::string_view sep) {
    std::string text = kindText(o);
    const bool conic =
        o.kind == OrbitKind::Ellipse || o.kind == OrbitKind::Hyperbola || o.kind == OrbitKind::Parabola;
    if (conic && o.eccentricity) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.3Lf", *o.eccentricity);
        text += ", e = " + withSeparator(buf, sep);
    }
    if (o.period) text += ", period " + significantText(*o.period / Day, 5, sep) + " days";
    return text;
}

std::string closeApproachWarning(const OrbitReadout& o) {
    if (!o.stepsAcrossPeriapsis || *o.stepsAcrossPeriapsis >= FewStepsAcrossPeriapsis) return {};
    return "closest approach in " + stepsText(o.stepsAcrossPeriapsis) +
           " steps: expect the run to drift; a shorter plot interval follows the orbit more closely";
}
