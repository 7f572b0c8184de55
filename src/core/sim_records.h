#pragma once

#include <cstdint>
#include <functional>

#include "core/t_state.h"

// The states of a run, as SimState holds them: Ready (nothing run since the start or a Reset), Running (a
// live run or a replay under way, or a live run that failed and waits for its Pause), Paused.
enum RunState : std::int32_t { Ready = 0, Running = 1, Paused = 2 };

// The two bodies, as the plot and the dialogs number them.
enum Body : std::int32_t { BodyA = 0, BodyB = 1 };

// The process-wide simulation records. The program makes one and hands it to its windows by reference;
// tests make their own.
struct SimRecords {
    TState CurSettings = defaultSettings();
    TState CurState{};
    TState NextState{};
    RunState SimState = Ready;
    std::int32_t PlotCount = 0;

    // Every change of CurSettings goes through here, and whoever shows them is told once: the windows
    // listen instead of looking again and again.
    void setCurSettings(const TState& s) {
        PreviousSettings = CurSettings;
        CurSettings = s;
        if (settingsChanged) settingsChanged();
    }
    // What CurSettings held before the last setCurSettings(): an undo step keeps both.
    TState PreviousSettings = defaultSettings();
    // Set by the window that announces the changes; empty in headless use.
    std::function<void()> settingsChanged;
};
