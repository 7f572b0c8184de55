#pragma once

#include "core/extended.h"

// The plot intervals the Settings menu offers, shortest first: the menu's items and the convergence sweep's
// rows come from this one list.
struct PlotIntervalItem {
    const char* name;     // the menu item's object name
    const char* caption;  // its text
    Extended seconds;
};

inline constexpr PlotIntervalItem PlotIntervals[] = {
    {"N1minute1", "1 minute", 60},
    {"N100seconds1", "100 seconds", 100},
    {"N1000seconds1", "1000 seconds", 1000},
    {"N1hour1", "1 hour", 3600},
    {"N10000seconds1", "10000 seconds", 10000},
    {"N1day1", "1 day", 86400},
    {"N10E5seconds1", "10E5 seconds", 100000},
    {"N1week1", "1 week", 604800},
    {"N10E6seconds1", "10E6 seconds", 1000000},
    {"N1month1", "1 month", 2626560},
    {"N10E7seconds1", "10E7 seconds", 10000000},
    {"N1year1", "1 year", 31557600},
};
