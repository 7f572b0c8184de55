#pragma once

#include <vector>

#include "core/t_state.h"

// The examples the package ships, in the order of the file.
enum class Example { Circular, EarthAndSun, EqualMassBinary, EscapeFlyby, Comet, CometHourly, Slingshot };
inline constexpr int ExampleCount = 7;

// The example records, built from typed values (see parseQuantity) on top of the defaults, so that the same
// program gives the same bytes on every build: the save date is fixed, and every label says what to look for.
std::vector<TState> exampleSettings();
