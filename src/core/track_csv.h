#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/orbit_readout.h"
#include "core/t_state.h"

// The table of a run's plot points that tulvane-trace prints and File > Export Track writes: one row per
// plot point, each value with 21 significant digits, which read back to the same 80-bit value. With the
// orbit columns, each row also holds the relative orbit of its state and the energy drift since the start;
// a field with no meaning (the period of an escape) is empty.
class TrackCsv {
public:
    TrackCsv(const TState& start, bool withOrbit);

    // The header line, without the line end.
    std::string header() const;
    // Plot point `point` at `days` since the start, the state s; without the line end.
    std::string row(std::int64_t point, Extended days, const TState& s) const;

private:
    std::optional<OrbitReadout> startOrbit_;
};

// The 21-digit text of one value; a damaged record's non-canonical patterns read "nan", like NaN.
std::string exactText(Extended x);

// The elapsed days of plot point `point`, computed as a live run computes them, each operation rounded:
// (point x dT) / 86400. Throws the floating-point error the computation raises.
Extended plotPointDays(std::int64_t point, Extended dT);
