#pragma once

#include <QString>
#include <cstddef>

// The name of the plot interval at index in PlotIntervals (core/plot_intervals.h), in the user's language,
// as the Settings menu and the Accuracy Lab show it.
QString plotIntervalText(std::size_t index);
