#pragma once

#include <functional>
#include <utility>

#include "ui/main_window/run_controller.h"

// What the tests change in a window's run controller, which the program itself never does.
struct RunControllerSeams {
    // Without pacing a live run goes on at once after a plot point, with no wait for the clock.
    static void setPaced(RunController& controller, bool paced) { controller.paced_ = paced; }
    // With a hook every slice is a single step and the hook is called after it; nullptr ends that.
    static void setAfterStep(RunController& controller, std::function<void()> hook) {
        controller.afterStep_ = std::move(hook);
    }
};
