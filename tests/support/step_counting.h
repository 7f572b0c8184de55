#pragma once

#include <QPushButton>
#include <QtTest>
#include <functional>

#include "ui/main_window/main_window.h"

// Makes the main window's runs testable step by step: no sleep at plot points, the event pump after every
// step, and the steps counted from 0 with onStep called after each, so that a test can pause on any step.
// steps and onStep are the test's own members and must outlive the window's runs.
inline void countSteps(MainWindow& window, int& steps, std::function<void(int)>& onStep) {
    window.liveDelayMs = 0;
    window.pumpEveryStep = true;
    steps = 0;
    window.afterStepHook = [&steps, &onStep] {
        ++steps;
        if (onStep) onStep(steps);
    };
}

// Clicks Run and serves each of the run's steps to `step` until the loop returns.
inline void runWith(MainWindow& window, std::function<void(int)>& onStep,
                    const std::function<void(int)>& step) {
    onStep = step;
    QTest::mouseClick(window.runButton, Qt::LeftButton);
    onStep = nullptr;
}

// Clicks Run and pauses the run when the count reaches step `target`.
inline void runToStep(MainWindow& window, std::function<void(int)>& onStep, int target) {
    runWith(window, onStep, [&window, target](int s) {
        if (s == target) window.controlRun(window.pauseButton);
    });
}
