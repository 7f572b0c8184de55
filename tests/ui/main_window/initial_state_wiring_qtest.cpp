#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QtTest>
#include "ui/main_window/control_panel.h"

#include "main_window_fixture.h"

// The Initial State dialog as the main window uses it: opened from the Settings menu, fed by right clicks on
// the plot, and its Set State taking effect at the next start or replay.
class InitialStateWiringTest : public MainWindowFixture {
    Q_OBJECT

    QRgb pixel(int x, int y) const { return window->plotSurface()->image().pixel(x, y); }
    void runUntil(const std::function<void(int)>& step) { runWith(*window, onStep, step); }
    void pauseAfterSteps(int n) { runToStep(*window, onStep, steps + n); }

private slots:
    void initTestCase() { keepDataInDataHome(true); }
    void init() {
        makeWindow(true);
        showWindow({900, 700});
    }
    void cleanup() { closeWindow(); }

    void openingFromTheMenuDrawsTheStoredStart() {
        window->bodyBInitialStateAction->trigger();
        QVERIFY(initialStateDialog->isVisible());
        QCOMPARE(initialStateDialog->editedBody, BodyB);
        QCOMPARE(pixel(600, 400), qRgb(255, 0, 0));
        window->bodyAInitialStateAction->trigger();
        QCOMPARE(initialStateDialog->editedBody, BodyA);
        QCOMPARE(pixel(200, 100), qRgb(255, 255, 0));
    }

    void rightClicksOnThePlotPickOnlyWhileTheDialogIsVisible() {
        QTest::mouseClick(window->plotSurface(), Qt::RightButton, {}, QPoint(300, 150));
        QCOMPARE(initialStateDialog->ANewPos.u, 0.0L);
        window->bodyAInitialStateAction->trigger();
        QTest::mouseClick(window->plotSurface(), Qt::RightButton, {}, QPoint(300, 150));
        QCOMPARE(initialStateDialog->ANewPos.u, 3e11L);
        QCOMPARE(initialStateDialog->ANewPos.v, 1.5e11L);
        QCOMPARE(initialStateDialog->PosValLabel->text(), QString("(300000000000,150000000000)"));
        // A press on the control panel never reaches the plot surface.
        QTest::mouseClick(window->panel(), Qt::RightButton, {}, QPoint(40, 135));
        QTest::mouseClick(window->elapsedLabel, Qt::RightButton, {}, QPoint(3, 3));
        QCOMPARE(initialStateDialog->ANewPos.u, 3e11L);
        // The right button never re-centres, even while paused.
        QCOMPARE(records->CurSettings.APos().u, 2e11L);
    }

    void picksWorkWhileRunning() {
        window->bodyBInitialStateAction->trigger();
        runUntil([this](int s) {
            if (s == 2) QTest::mouseClick(window->plotSurface(), Qt::RightButton, {}, QPoint(10, 20));
            if (s == 3) window->controlRun(window->pauseButton);
        });
        QCOMPARE(initialStateDialog->BNewPos.u, 1e10L);
        QCOMPARE(initialStateDialog->BNewPos.v, 2e10L);
    }

    void setStateDuringAPausedRunAffectsOnlyTheNextStartOrReplay() {
        window->bodyAInitialStateAction->trigger();
        pauseAfterSteps(80);
        QCOMPARE(records->PlotCount, 2);
        const TState atPause = records->CurState;
        QTest::mouseClick(window->plotSurface(), Qt::RightButton, {}, QPoint(500, 300));
        QTest::mouseClick(initialStateDialog->SetButton, Qt::LeftButton);
        QCOMPARE(records->CurSettings.APos().u, 5e11L);
        QVERIFY(records->CurState == atPause);  // the paused run is untouched

        // Resuming continues the paused state, not the new start.
        TState firstResumed;
        const int resumeAt = steps + 1;
        runUntil([&](int s) {
            if (s == resumeAt) firstResumed = records->CurState;
            if (s == resumeAt + 39) window->controlRun(window->pauseButton);
        });
        QVERIFY(firstResumed.APos().u < 3e11L);
        QCOMPARE(records->PlotCount, 3);

        // A left-click replay starts from the new values.
        const QPoint centre(window->plotSurface()->width() / 2, window->plotSurface()->height() / 2);
        QTest::mouseClick(window->plotSurface(), Qt::LeftButton, {}, centre);
        QVERIFY(settle(*window));
        QCOMPARE(records->SimState, Paused);
        QCOMPARE(pixel(500, 300), qRgb(255, 255, 0));
        QCOMPARE(records->PlotCount, 3);

        // And so do Reset and Run.
        QTest::mouseClick(window->resetButton, Qt::LeftButton);
        TState firstStep;
        const int runAt = steps + 1;
        runUntil([&](int s) {
            if (s == runAt) firstStep = records->CurState;
            if (s == runAt + 1) window->controlRun(window->pauseButton);
        });
        QVERIFY(firstStep.APos().u > 4.9e11L && firstStep.APos().u < 5.1e11L);
    }
};

QTEST_MAIN(InitialStateWiringTest)
#include "initial_state_wiring_qtest.moc"
