#pragma once

#include <cstdint>

#include "core/t_state.h"

// Values of SimState.
constexpr std::int32_t Ready = 0;
constexpr std::int32_t Running = 1;
constexpr std::int32_t Paused = 2;

// The process-wide simulation records. The program makes one and hands it to its windows by reference;
// tests make their own.
struct SimRecords {
    TState CurSettings = defaultSettings();
    TState CurState{};
    TState NextState{};
    std::int32_t SimState = Ready;
    std::int32_t PlotCount = 0;
};
