#pragma once

#include <cstdint>
#include <functional>

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

    // Every change of CurSettings goes through here, and whoever shows them is told once: the windows
    // listen instead of looking again and again.
    void setCurSettings(const TState& s) {
        CurSettings = s;
        if (settingsChanged) settingsChanged();
    }
    // Set by the window that announces the changes; empty in headless use.
    std::function<void()> settingsChanged;
};
