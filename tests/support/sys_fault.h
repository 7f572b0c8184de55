#pragma once

#include <memory>

#include "settings_file/sys_calls.h"

// While it lives, makes the nth call (counting from 1) of one kind of system call of the settings-file code
// turn out as outcome says; every other call runs normally.
class SysFault {
public:
    SysFault(SysCalls::Call call, int nth, SysCalls::Outcome outcome) : state_(std::make_shared<State>()) {
        auto state = state_;
        SysCalls::hook = [state, call, nth, outcome](SysCalls::Call c) {
            if (c != call || ++state->seen != nth) return SysCalls::Outcome{};
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
