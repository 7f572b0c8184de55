#pragma once

#include "core/run.h"

// Draws nothing and serves no events: what is left is the integration itself.
class IdleHost : public RunHost {
public:
    void drawBody(const TVector&, Body) override {}
    void showElapsed(const std::string&) override {}
    void sleepMs(std::int32_t) override {}
    bool pumpEvents(std::int32_t) override { return false; }
    std::int32_t quietSteps() override { return AnyNumberOfSteps; }
};
