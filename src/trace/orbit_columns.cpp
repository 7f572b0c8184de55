#include "trace/orbit_columns.h"

#include <cstdio>

#include "core/orbit_drift.h"

namespace {

// Computed values are always canonical and finite: 21 digits read back exactly.
void appendField(std::string& row, const Quantity& q) {
    row += ',';
    if (!q) return;
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.20Le", *q);
    row += buf;
}

}  // namespace

const char* OrbitColumns::header() {
    return ",relative_energy,total_energy,angular_momentum,eccentricity,semi_major_axis,period,energy_drift";
}

std::string OrbitColumns::fields(const TState& now) const {
    const OrbitReadout o = readOrbit(now);
    std::string row;
    for (const Quantity* q : {&o.relativeEnergy, &o.totalEnergy, &o.angularMomentum, &o.eccentricity,
                              &o.semiMajorAxis, &o.period})
        appendField(row, *q);
    appendField(row, driftGauge(start_, o).energy.value);
    return row;
}
