#pragma once

#include <string>
#include <string_view>

#include "core/orbit_drift.h"
#include "core/orbit_readout.h"

// The texts of the orbit readout, in the user's language, UTF-8. sep is the user's decimal separator; a
// quantity with no meaning (the period of an escape, the drift of a start without angular momentum) reads
// NoValueText.
inline constexpr std::string_view NoValueText = "\u2014";

// digits significant digits: fixed notation from 0.001 up to a million, else 5.4578E+08.
std::string significantText(Extended x, int digits, std::string_view sep);

std::string distanceText(const Quantity& metres, std::string_view sep);        // km, with AU from 0.1 AU
std::string speedText(const Quantity& metresPerSecond, std::string_view sep);  // km/s
std::string durationText(const Quantity& seconds, std::string_view sep);  // days, with years from one year
std::string energyText(const Quantity& joules, std::string_view sep);
std::string angularMomentumText(const Quantity& h, RotationSense sense, std::string_view sep);
std::string directionText(const Quantity& degrees, std::string_view sep);
std::string eccentricityText(const Quantity& e, std::string_view sep);
std::string stepsText(const Quantity& steps);
std::string driftText(const Quantity& drift, std::string_view sep);  // signed: + when the run gained

// "bound ellipse", "hyperbola: escape", "no orbit: a mass is zero or negative" ...
std::string kindText(const OrbitReadout& o);
// One line for the start before a run: "bound ellipse, e = 0.973, period 1356.6 days".
std::string summaryText(const OrbitReadout& o, std::string_view sep);
// The warning shown when the closest approach takes too few steps to follow; empty otherwise.
std::string closeApproachWarning(const OrbitReadout& o);

// Below this many steps across the closest approach the run drifts visibly.
inline constexpr Extended FewStepsAcrossPeriapsis = 100;
