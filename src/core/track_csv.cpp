#include "core/track_csv.h"

#include <cstdio>

#include "core/fp_error.h"
#include "core/orbit_drift.h"

namespace {

void appendField(std::string& row, const Quantity& q) {
    row += ',';
    if (q) row += exactText(*q);
}

}  // namespace

std::string exactText(Extended x) {
    switch (classifyExtended(x)) {
        case ExtendedClass::NaN:
        case ExtendedClass::NonCanonical:
            return "nan";
        case ExtendedClass::Infinity:
            return x < 0 ? "-inf" : "inf";
        default:
            break;
    }
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.20Le", canonicalExtended(x));
    return buf;
}

Extended plotPointDays(std::int64_t point, Extended dT) {
    Extended days = static_cast<Extended>(point) * dT;
    days = days / 86400;
    pinFpResult(days);
    checkFpFlags();
    return days;
}

TrackCsv::TrackCsv(const TState& start, bool withOrbit) {
    if (withOrbit) startOrbit_ = readOrbit(start);
}

std::string TrackCsv::header() const {
    std::string h = "point,days,a_u,a_v,b_u,b_v,a_speed,a_dir,b_speed,b_dir";
    if (startOrbit_)
        h +=
            ",relative_energy,total_energy,angular_momentum,eccentricity,semi_major_axis,period,energy_drift";
    return h;
}

std::string TrackCsv::row(std::int64_t point, Extended days, const TState& s) const {
    const TVector a = s.APos();
    const TVector b = s.BPos();
    std::string row = std::to_string(point);
    for (Extended x : {days, a.u, a.v, b.u, b.v, s.ASpeed(), s.ADir(), s.BSpeed(), s.BDir()}) {
        row += ',';
        row += exactText(x);
    }
    if (startOrbit_) {
        const OrbitReadout o = readOrbit(s);
        for (const Quantity* q : {&o.relativeEnergy, &o.totalEnergy, &o.angularMomentum, &o.eccentricity,
                                  &o.semiMajorAxis, &o.period})
            appendField(row, *q);
        appendField(row, driftGauge(*startOrbit_, o).energy.value);
    }
    return row;
}
