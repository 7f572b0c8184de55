#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/run.h"

// The state at each plot point of the core's own run from start, as a replay of points plot points
// computes it: the first entry is plot point 1.
inline std::vector<TState> plotPointStates(const TState& start, std::int32_t points) {
    class Recorder : public RunHost {
    public:
        explicit Recorder(const SimRecords& r) : records_(r) {}
        void drawBody(const TVector&, Body) override {}
        void showElapsed(const std::string&) override {}
        void sleepMs(std::int32_t) override {}
        bool pumpEvents(std::int32_t) override { return false; }
        void plotCounted(std::int32_t) override { states.push_back(records_.CurState); }
        std::vector<TState> states;

    private:
        const SimRecords& records_;
    };
    SimRecords r;
    r.CurSettings = start;
    r.CurState = start;
    r.SimState = Running;
    Recorder host(r);
    Run(r, host, 0, points);
    return host.states;
}
