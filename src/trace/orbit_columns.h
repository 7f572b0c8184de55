#pragma once

#include <string>

#include "core/orbit_readout.h"

// The orbit fields tulvane-trace --orbit adds to each row: the relative orbit of the row's state and the
// energy drift since the start. A field with no meaning for the state (the period of an escape) is empty.
class OrbitColumns {
public:
    explicit OrbitColumns(const TState& start) : start_(readOrbit(start)) {}

    // The header's added names, each after a comma.
    static const char* header();
    // The row's added fields, each after a comma.
    std::string fields(const TState& now) const;

private:
    OrbitReadout start_;
};
