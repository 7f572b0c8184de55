#include "ui/orbit_readout/readout_text.h"

#include <QCoreApplication>
#include <QString>
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

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

std::string significantText(Extended x, int digits, std::string_view sep) {
    return signedSignificant(x, digits, sep, false);
}

std::string distanceText(const Quantity& metres, std::string_view sep) {
    if (!metres) return none();
    const QString km = qs(significantText(*metres / 1000, 5, sep));
    const Extended au = *metres / AstronomicalUnit;
    if (std::fabs(au) >= 0.1L)
        //: A distance in kilometres and in astronomical units: "5.4578E+08 km (3.648 AU)".
        return QCoreApplication::translate("ReadoutText", "%1 km (%2 AU)")
            .arg(km, qs(significantText(au, 4, sep)))
            .toStdString();
    //: A distance in kilometres: "6378.1 km".
    return QCoreApplication::translate("ReadoutText", "%1 km").arg(km).toStdString();
}

std::string speedText(const Quantity& metresPerSecond, std::string_view sep) {
    if (!metresPerSecond) return none();
    //: A speed in kilometres a second: "31.824 km/s".
    return QCoreApplication::translate("ReadoutText", "%1 km/s")
        .arg(qs(significantText(*metresPerSecond / 1000, 5, sep)))
        .toStdString();
}

std::string durationText(const Quantity& seconds, std::string_view sep) {
    if (!seconds) return none();
    const Extended days = *seconds / Day;
    const QString dayCount = qs(significantText(days, 5, sep));
    const Extended years = days / JulianYear;
    if (std::fabs(years) >= 1)
        //: A time in days and in years, both decimal numbers: "1356.6 days (3.714 years)".
        return QCoreApplication::translate("ReadoutText", "%1 days (%2 years)")
            .arg(dayCount, qs(significantText(years, 4, sep)))
            .toStdString();
    //: A time in days, a decimal number: "364.00 days".
    return QCoreApplication::translate("ReadoutText", "%1 days").arg(dayCount).toStdString();
}

std::string energyText(const Quantity& joules, std::string_view sep) {
    if (!joules) return none();
    //: An energy in joules: "-6.114E+38 J".
    return QCoreApplication::translate("ReadoutText", "%1 J")
        .arg(qs(significantText(*joules, 4, sep)))
        .toStdString();
}

std::string angularMomentumText(const Quantity& h, RotationSense sense, std::string_view sep) {
    if (!h) return none();
    const QString size = qs(significantText(std::fabs(*h), 4, sep));
    switch (sense) {
        case RotationSense::Clockwise:
            //: An angular momentum, and the sense the bodies turn in on the plot.
            return QCoreApplication::translate("ReadoutText", "%1 kg\u00b7m\u00b2/s, clockwise")
                .arg(size)
                .toStdString();
        case RotationSense::Anticlockwise:
            //: An angular momentum, and the sense the bodies turn in on the plot.
            return QCoreApplication::translate("ReadoutText", "%1 kg\u00b7m\u00b2/s, anticlockwise")
                .arg(size)
                .toStdString();
        default:
            break;
    }
    //: An angular momentum, of bodies that do not turn about each other.
    return QCoreApplication::translate("ReadoutText", "%1 kg\u00b7m\u00b2/s").arg(size).toStdString();
}

std::string directionText(const Quantity& degrees, std::string_view sep) {
    if (!degrees) return none();
    //: A direction in degrees: 0 is up, 90 right.
    return QCoreApplication::translate("ReadoutText", "%1\u00b0")
        .arg(qs(significantText(*degrees, 5, sep)))
        .toStdString();
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
    QString text;
    switch (o.kind) {
        case OrbitKind::Circle:
            //: The kind of orbit: the bodies circle each other for ever.
            text = QCoreApplication::translate("ReadoutText", "bound circle");
            break;
        case OrbitKind::Ellipse:
            //: The kind of orbit: the bodies go round each other on ellipses for ever.
            text = QCoreApplication::translate("ReadoutText", "bound ellipse");
            break;
        case OrbitKind::Parabola:
            //: The kind of orbit: the bodies part for ever, just fast enough to.
            text = QCoreApplication::translate("ReadoutText", "parabola: escape");
            break;
        case OrbitKind::Hyperbola:
            //: The kind of orbit: the bodies pass each other once and part for ever.
            text = QCoreApplication::translate("ReadoutText", "hyperbola: escape");
            break;
        case OrbitKind::Radial:
            if (bound)
                //: The kind of orbit: the bodies move straight towards each other and will meet.
                text = QCoreApplication::translate("ReadoutText", "radial: the bodies fall together");
            else
                //: The kind of orbit: the bodies move straight apart, for ever.
                text = QCoreApplication::translate("ReadoutText", "radial: escape");
            break;
        case OrbitKind::None:
            switch (o.whyNone) {
                case NoOrbitReason::BadMass:
                    //: A mass of the start is zero or negative.
                    text = QCoreApplication::translate("ReadoutText", "no orbit: a mass is zero or negative");
                    break;
                case NoOrbitReason::Coincident:
                    //: Both bodies start at the same place.
                    text = QCoreApplication::translate("ReadoutText", "no orbit: the bodies coincide");
                    break;
                default:
                    //: A value of the start is infinite or no number at all (a damaged record).
                    text = QCoreApplication::translate("ReadoutText",
                                                       "no orbit: a value is not a finite number");
                    break;
            }
            break;
    }
    return text.toStdString();
}

std::string summaryText(const OrbitReadout& o, std::string_view sep) {
    const QString kind = qs(kindText(o));
    const bool conic =
        o.kind == OrbitKind::Ellipse || o.kind == OrbitKind::Hyperbola || o.kind == OrbitKind::Parabola;
    QString e;
    if (conic && o.eccentricity) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.3Lf", *o.eccentricity);
        e = qs(withSeparator(buf, sep));
    }
    const QString period = o.period ? qs(significantText(*o.period / Day, 5, sep)) : QString();
    QString text = kind;
    if (!e.isEmpty() && !period.isEmpty())
        //: The start's orbit in one line: its kind, its eccentricity (e) and its period in days, a decimal
        //: number: "bound ellipse, e = 0.973, period 1356.6 days".
        text = QCoreApplication::translate("ReadoutText", "%1, e = %2, period %3 days").arg(kind, e, period);
    else if (!e.isEmpty())
        //: The start's orbit in one line: its kind and its eccentricity (e): "hyperbola: escape, e = 1.015".
        text = QCoreApplication::translate("ReadoutText", "%1, e = %2").arg(kind, e);
    else if (!period.isEmpty())
        //: The start's orbit in one line: its kind and its period in days, a decimal number.
        text = QCoreApplication::translate("ReadoutText", "%1, period %2 days").arg(kind, period);
    return text.toStdString();
}

std::string closeApproachWarning(const OrbitReadout& o) {
    if (!o.stepsAcrossPeriapsis || *o.stepsAcrossPeriapsis >= FewStepsAcrossPeriapsis) return {};
    // The plural form goes by the whole steps the text shows.
    const Extended steps = *o.stepsAcrossPeriapsis;
    const int count = steps >= 0 ? static_cast<int>(std::nearbyint(steps)) : 0;
    //: Shown when the closest approach of the bodies takes fewer than 100 steps of the run; %1 is how many.
    return QCoreApplication::translate(
               "ReadoutText",
               "closest approach in %1 steps: expect the run to drift; a shorter plot "
               "interval follows the orbit more closely",
               nullptr, count)
        .arg(qs(stepsText(o.stepsAcrossPeriapsis)))
        .toStdString();
}
