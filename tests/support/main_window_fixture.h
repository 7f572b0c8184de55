#pragma once

#include <QCoreApplication>
#include <QSize>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <memory>

#include "scripted_dialogs.h"
#include "step_counting.h"
#include "test_initial_state_dialog.h"
#include "ui/export/export_flow.h"
#include "ui/main_window/main_window.h"
#include "ui/plot/plot_surface.h"

// What the main window's test programs start from: the window over records and scripted dialogs of its
// own, its runs counted step by step (step_counting.h), its settings folder a temporary one. A program's
// test class derives from this and calls what it needs from initTestCase, init and cleanup.
class MainWindowFixture : public QObject {
protected:
    QTemporaryDir dataHome;
    std::unique_ptr<ScriptedDialogs> dialogs;
    std::unique_ptr<SimRecords> records;
    TestMainWindow* window = nullptr;
    TestInitialStateDialog* initialStateDialog = nullptr;  // the window owns it
    int steps = 0;
    std::function<void(int)> onStep;

    // For initTestCase: the settings files go to dataHome, and the configuration too where asked.
    void keepDataInDataHome(bool configToo = false) {
        QVERIFY(dataHome.isValid());
        qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());
        if (configToo) qputenv("XDG_CONFIG_HOME", dataHome.path().toLocal8Bit());
    }

    // A window over new records, with the initial state dialog that main() gives it where asked; its
    // steps counted, not yet shown. The scripted dialogs are new unless the test kept them from a window
    // before, as the same user over a restart.
    void makeWindow(bool withInitialStateDialog = false) {
        if (!dialogs) dialogs = std::make_unique<ScriptedDialogs>();
        records = std::make_unique<SimRecords>();
        window = new TestMainWindow(*records, *dialogs);
        if (withInitialStateDialog) {
            initialStateDialog = new TestInitialStateDialog(
                *records, [this](const TVector& p, Body b) { window->drawBody(p, b); }, window);
            window->setInitialStateDialog(initialStateDialog);
        }
        onStep = nullptr;
        countSteps(*window, steps, onStep);
    }

    // Shows the window, at the given size unless it is empty, and lets it settle.
    void showWindow(QSize size = {}) {
        window->show();
        if (!size.isEmpty()) window->resize(size);
        QCoreApplication::processEvents();
    }

    // Resizes the window so that its plot has the given size.
    void setPlotSize(QSize plot) {
        const QSize extra = window->size() - window->plotSurface()->size();
        window->resize(plot + extra);
        QCoreApplication::processEvents();
    }

    // The window (with the windows it owns) and its records gone; the scripted dialogs stay for the next.
    virtual void dropWindow() {
        delete window;
        window = nullptr;
        initialStateDialog = nullptr;
        records.reset();
    }

    // For cleanup.
    void closeWindow() {
        dropWindow();
        dialogs.reset();
    }

    // Serves the window's events until every export is written and its result shown; false if one never
    // ends.
    bool exportsDone() {
        // Served as the event loop serves them, with no pause between events: a run stepped one step a slice
        // (step_counting.h) would crawl otherwise. The writer's end is an event, so the wait wakes for it.
        QDeadlineTimer deadline(120000);
        while (window->exports()->writing() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        return !window->exports()->writing();
    }

    // Clicks Run and pauses the run on step `target` of the count.
    void runAndPauseAt(int target) {
        runToStep(*window, onStep, target);
        QCOMPARE(records->SimState, Paused);
    }
};
