#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QPushButton>
#include <QtTest>
#include <functional>

#include "run_controller_seams.h"
#include "test_main_window.h"

// Makes the main window's runs testable step by step: no wait at plot points, every slice of the run a single
// step, and the steps counted from 0 with onStep called after each, so that a test can pause on any step.
// Between two steps the window serves its events, as it does between slices. steps and onStep are the test's
// own members and must outlive the window's runs.
inline void countSteps(MainWindow& window, int& steps, std::function<void(int)>& onStep) {
    RunControllerSeams::setPaced(*window.runController(), false);
    steps = 0;
    RunControllerSeams::setAfterStep(*window.runController(), [&steps, &onStep] {
        ++steps;
        if (onStep) onStep(steps);
    });
}

// Serves the window's events until no run or replay is under way (a live run stands still once paused or
// failed). A run that never stands still fails the test after two minutes instead of hanging it.
inline bool settle(MainWindow& window) {
    QDeadlineTimer deadline(120000);
    while (window.runActive() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    return !window.runActive();
}

// Clicks Run and serves each of the run's steps to `step` until the run stands still.
inline void runWith(TestMainWindow& window, std::function<void(int)>& onStep,
                    const std::function<void(int)>& step) {
    onStep = step;
    QTest::mouseClick(window.runButton, Qt::LeftButton);
    QVERIFY2(settle(window), "the run never stood still");
    onStep = nullptr;
}

// Clicks Run and pauses the run when the count reaches step `target`.
inline void runToStep(TestMainWindow& window, std::function<void(int)>& onStep, int target) {
    runWith(window, onStep, [&window, target](int s) {
        if (s == target) window.controlRun(window.pauseButton);
    });
}
