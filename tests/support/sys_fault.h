#pragma once

#include <functional>
#include <memory>

#include "settings_file/sys_calls.h"

// While it lives, makes the nth call (counting from 1) of one kind of system call of the settings-file code,
// and the times - 1 calls of that kind after it, turn out as outcome says; every other call runs normally.
class SysFault {
public:
    SysFault(SysCalls::Call call, int nth, SysCalls::Outcome outcome, int times = 1)
        : state_(std::make_shared<State>()) {
        auto state = state_;
        SysCalls::hook = [state, call, nth, outcome, times](SysCalls::Call c) {
            if (c != call) return SysCalls::Outcome{};
            const int seen = ++state->seen;
            if (seen < nth || seen >= nth + times) return SysCalls::Outcome{};
            state->fired = true;
            return outcome;
        };
    }
    ~SysFault() { SysCalls::hook = nullptr; }
    SysFault(const SysFault&) = delete;
    SysFault& operator=(const SysFault&) = delete;

    bool fired() const { return state_->fired; }

private:
    struct State {
        int seen = 0;
        bool fired = false;
    };
    std::shared_ptr<State> state_;
};

// While it lives, runs act before every system call of the settings-file code (to count calls, or to play
// another copy of the program at a chosen moment); act's outcome decides the call as SysFault's does.
class SysHook {
public:
    explicit SysHook(std::function<SysCalls::Outcome(SysCalls::Call)> act) {
        SysCalls::hook = std::move(act);
    }
    ~SysHook() { SysCalls::hook = nullptr; }
    SysHook(const SysHook&) = delete;
    SysHook& operator=(const SysHook&) = delete;
};
