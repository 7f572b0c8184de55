#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>
#include <cstring>
#include <functional>

#include "main_window_fixture.h"
#include "run_controller_seams.h"
#include "test_initial_state_dialog.h"
#include "ui/common/platform_dialogs.h"

// The connections that capture a test's locals end with it: cleanup() deletes the window they hang on.
// clazy:excludeall=lambda-in-connect

namespace {

// What a run leaves behind: the picture and the records, byte for byte.
struct RunResult {
    QImage image;
    TState curState;
    TState nextState;
    std::int32_t plotCount = 0;
    QString elapsed;
    std::int64_t stepsTaken = 0;
};

}  // namespace

// The run as the event loop drives it, paced as a user watches it: at every speed the same steps and
// pixels; a modal dialog holds it still; every writer of the settings tells the windows once.
class RunControllerTest : public MainWindowFixture {
    Q_OBJECT

    // Runs paced at speed until the live run shows plot point `points`, where the run is paused at once.
    RunResult runAt(RunSpeed speed, int points) {
        makeWindow();
        showWindow();
        RunControllerSeams::setAfterStep(*window->runController(), nullptr);
        RunControllerSeams::setPaced(*window->runController(), true);
        window->runSpeedActions[static_cast<std::size_t>(speed)]->trigger();
        const QString stopAt = QString::number(points) + ".0";
        QObject::connect(window, &MainWindow::plotPointDrawn, window, [this, stopAt](const QString& days) {
            if (days == stopAt) window->controlRun(window->pauseButton);
        });
        QTest::mouseClick(window->runButton, Qt::LeftButton);
        [&] { QVERIFY(settle(*window)); }();
        RunResult r{window->plotSurface()->image(),
                    records->CurState,
                    records->NextState,
                    records->PlotCount,
                    window->elapsedLabel->text(),
                    window->session().stepsTaken()};
        dropWindow();
        return r;
    }

private slots:
    void initTestCase() { keepDataInDataHome(true); }
    void init() { dialogs = std::make_unique<ScriptedDialogs>(); }
    void cleanup() { closeWindow(); }

    // The speed changes only when the plot points are shown, never which they are.
    void everySpeedDrawsTheSameRun() {
        const RunResult classic = runAt(RunSpeed::Classic, 6);
        QCOMPARE(classic.plotCount, 6);
        QCOMPARE(classic.elapsed, QString("6.0"));
        for (const RunSpeed speed : {RunSpeed::Ten, RunSpeed::Hundred, RunSpeed::Fastest}) {
            const RunResult r = runAt(speed, 6);
            QVERIFY(r.image == classic.image);
            QVERIFY(r.curState == classic.curState);
            QVERIFY(r.nextState == classic.nextState);
            QCOMPARE(r.plotCount, classic.plotCount);
            QCOMPARE(r.elapsed, classic.elapsed);
            QCOMPARE(r.stepsTaken, classic.stepsTaken);
        }
    }

    void theSpeedIsRememberedBetweenStarts() {
        makeWindow();
        window->runSpeedActions[2]->trigger();
        QCOMPARE(window->runController()->speed(), RunSpeed::Hundred);
        dropWindow();
        makeWindow();
        QVERIFY(window->runSpeedActions[2]->isChecked());
        QCOMPARE(window->runController()->speed(), RunSpeed::Hundred);
        window->runSpeedActions[0]->trigger();
    }

    // While a modal dialog is open the run stands still, to the byte; it goes on when the dialog closes.
    void aModalDialogHoldsTheRunStill_data() {
        QTest::addColumn<QString>("dialog");
        for (const char* d :
             {"message", "error", "confirm", "label prompt", "colour", "save file", "open file"})
            QTest::newRow(d) << d;
    }
    void aModalDialogHoldsTheRunStill() {
        QFETCH(QString, dialog);
        makeWindow();
        showWindow();
        RunControllerSeams::setAfterStep(*window->runController(), nullptr);
        RunControllerSeams::setPaced(*window->runController(), true);
        window->runSpeedActions[3]->trigger();  // Fastest: a run that never waits of its own
        QtPlatformDialogs real;
        bool checked = false;
        bool held = true;
        std::int32_t countWhenClosed = -1;
        int opened = 0;
        QObject::connect(window, &MainWindow::plotPointDrawn, window, [&](const QString&) {
            if (records->PlotCount != 0 || opened++ > 0) return;
            // Opened as a handler opens it, from the event loop, while the run is under way.
            QTimer::singleShot(0, window, [&] {
                const TState before = records->CurState;
                const std::int64_t stepsBefore = window->session().stepsTaken();
                QTimer::singleShot(300, window, [&, before, stepsBefore] {
                    held = records->CurState == before && window->session().stepsTaken() == stepsBefore &&
                           window->runActive();
                    checked = true;
                    QWidget* modal = QApplication::activeModalWidget();
                    if (modal) QMetaObject::invokeMethod(modal, "reject", Qt::QueuedConnection);
                });
                QString text = "x";
                QColor colour(Qt::red);
                PlatformDialogs::FileOptions options;
                options.initialDir = dataHome.path();
                if (dialog == "message") real.showMessage(window, aboutText());
                if (dialog == "error") real.showError(window, "An error.");
                if (dialog == "confirm") real.confirm(window, "Sure?");
                if (dialog == "label prompt") real.inputQuery(window, "Save Settings", "Label", text, 20);
                if (dialog == "colour") real.pickColor(window, colour);
                if (dialog == "save file") real.saveFile(window, options, text);
                if (dialog == "open file") real.openFile(window, options, text);
                countWhenClosed = static_cast<std::int32_t>(window->session().stepsTaken());
            });
        });
        QTest::mouseClick(window->runButton, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(countWhenClosed >= 0, 20000);
        QVERIFY(checked);
        QVERIFY2(held, "the run went on under the modal dialog");
        // And it goes on once the dialog is gone.
        QTRY_VERIFY_WITH_TIMEOUT(window->session().stepsTaken() > countWhenClosed + 40, 20000);
        window->controlRun(window->pauseButton);
        QCOMPARE(records->SimState, Paused);
    }

    // The Initial State dialog is not modal: the run goes on while it is open.
    void theInitialStateDialogDoesNotHoldTheRun() {
        makeWindow(true);
        showWindow();
        RunControllerSeams::setAfterStep(*window->runController(), nullptr);
        window->runSpeedActions[3]->trigger();
        initialStateDialog->show();
        QTest::mouseClick(window->runButton, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(window->session().stepsTaken() > 4000, 20000);
        window->controlRun(window->pauseButton);
        QVERIFY(records->PlotCount > 50);
    }

    // Every writer of CurSettings goes through one setter, which tells the windows exactly once.
    void everySettingsWriterAnnouncesOnce_data() {
        QTest::addColumn<QString>("writer");
        for (const char* w : {"zoom in", "zoom out", "re-centring", "plot interval", "Body A colour",
                              "Body B colour", "background colour", "Set State"})
            QTest::newRow(w) << w;
    }
    void everySettingsWriterAnnouncesOnce() {
        QFETCH(QString, writer);
        makeWindow(true);
        showWindow();
        const bool needsPause = writer.startsWith("zoom") || writer == "re-centring";
        if (needsPause) runAndPauseAt(80);
        QSignalSpy changed(window, &MainWindow::settingsChanged);
        const TState before = records->CurSettings;
        dialogs->colorAnswers.push_back(QColor(10, 20, 30));
        if (writer == "zoom in") window->zoom(window->zoomInButton);
        if (writer == "zoom out") window->zoom(window->zoomOutButton);
        if (writer == "re-centring") window->plotMousePress(Qt::LeftButton, 100, 100);
        if (writer == "plot interval") window->plotIntervalActions[2]->trigger();
        if (writer == "Body A colour") window->bodyAColorAction->trigger();
        if (writer == "Body B colour") window->bodyBColorAction->trigger();
        if (writer == "background colour") window->backgroundColorAction->trigger();
        if (writer == "Set State") {
            window->bodyAInitialStateAction->trigger();
            initialStateDialog->findChild<QPushButton*>("SetButton")->click();
        }
        QVERIFY(settle(*window));
        QCOMPARE(changed.count(), 1);
        if (writer != "Set State") QVERIFY(!(records->CurSettings == before));
    }
};

QTEST_MAIN(RunControllerTest)
#include "run_controller_qtest.moc"
