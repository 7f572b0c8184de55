#pragma once

#include <QCoreApplication>

#include "ui/main_window/main_window.h"

// Serves the window's events until its run or replay stands still, as the event loop would.
inline void untilStill(MainWindow& window) {
    while (window.runActive())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

// The replay a zoom or a re-centring starts, carried out to its end.
inline void replayToEnd(MainWindow& window) {
    window.replay();
    untilStill(window);
}
