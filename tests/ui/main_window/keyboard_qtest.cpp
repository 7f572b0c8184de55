#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include "main_window_fixture.h"

// The program driven from the keyboard: its keys from every non-modal window, never past a modal one, never
// where the button is disabled; and the focus left where one more Space goes on with the run.
class KeyboardTest : public MainWindowFixture {
    Q_OBJECT

    bool quitCalled = false;

    QAction* action(const QString& name) const { return window->findChild<QAction*>(name); }
    void activate(QWidget* w) {
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        QCoreApplication::processEvents();
        QCOMPARE(QApplication::activeWindow(), w);
    }
    // Pauses a run after the given step; the keys under test are served between its steps as the user's would
    // be.
    void pauseAt(int step) {
        onStep = [this, step](int s) {
            if (s >= step && records->SimState == Running) window->controlRun(window->pauseButton);
        };
    }
    void reachPaused() {
        pauseAt(steps + 80);
        window->controlRun(window->runButton);
        QVERIFY(settle(*window));
        QCOMPARE(records->SimState, Paused);
    }

private slots:
    void initTestCase() { keepDataInDataHome(); }

    void init() {
        makeWindow(true);
        quitCalled = false;
        window->onQuit = [this] { quitCalled = true; };
        showWindow({900, 700});
        QVERIFY(QTest::qWaitForWindowActive(window));
    }

    void cleanup() { closeWindow(); }

    void programKeysWorkFromTheInitialStateDialog_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("actionName");
        const int ctrl = Qt::ControlModifier;
        QTest::newRow("F1 help") << int(Qt::Key_F1) << 0 << "helpContentsAction";
        QTest::newRow("F5 run") << int(Qt::Key_F5) << 0 << "runPauseAction";
        QTest::newRow("Ctrl+R reset") << int(Qt::Key_R) << ctrl << "resetAction";
        QTest::newRow("Ctrl++ zoom in") << int(Qt::Key_Plus) << ctrl << "zoomInAction";
        QTest::newRow("Ctrl+= zoom in") << int(Qt::Key_Equal) << ctrl << "zoomInAction";
        QTest::newRow("Ctrl+- zoom out") << int(Qt::Key_Minus) << ctrl << "zoomOutAction";
        QTest::newRow("Ctrl+S save") << int(Qt::Key_S) << ctrl << "saveSettingsAction";
        QTest::newRow("Ctrl+Q quit") << int(Qt::Key_Q) << ctrl << "exitAction";
    }

    void programKeysWorkFromTheInitialStateDialog() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, actionName);
        QAction* a = action(actionName);
        QVERIFY2(a, qPrintable(actionName));
        QSignalSpy triggered(a, &QAction::triggered);
        window->bodyAInitialStateAction->trigger();
        activate(initialStateDialog);
        if (QTest::currentTestFailed()) return;
        pauseAt(40);
        QTest::keyClick(initialStateDialog, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(triggered.count(), 1);
        // The dialog keeps the focus.
        QCOMPARE(QApplication::activeWindow(), initialStateDialog);
    }

    void keysDoWhatTheirButtonDoesInEachState_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("label");  // the state label once the key has been served
        QTest::addColumn<double>("scale");   // CurSettings.sf afterwards, in units of 1e9 m
        const int ctrl = Qt::ControlModifier;
        QTest::newRow("F5 while Ready runs") << int(Ready) << int(Qt::Key_F5) << 0 << "Running" << 1.0;
        QTest::newRow("F5 while Running pauses") << int(Running) << int(Qt::Key_F5) << 0 << "Paused" << 1.0;
        QTest::newRow("F5 while Paused resumes") << int(Paused) << int(Qt::Key_F5) << 0 << "Running" << 1.0;
        QTest::newRow("Ctrl+R while Ready: Reset is disabled")
            << int(Ready) << int(Qt::Key_R) << ctrl << "Ready" << 1.0;
        QTest::newRow("Ctrl+R while Running: Reset is disabled")
            << int(Running) << int(Qt::Key_R) << ctrl << "Running" << 1.0;
        QTest::newRow("Ctrl+R while Paused resets")
            << int(Paused) << int(Qt::Key_R) << ctrl << "Ready" << 1.0;
        QTest::newRow("Ctrl++ while Paused zooms in")
            << int(Paused) << int(Qt::Key_Plus) << ctrl << "Paused" << 0.5;
        QTest::newRow("Ctrl+= while Paused zooms in")
            << int(Paused) << int(Qt::Key_Equal) << ctrl << "Paused" << 0.5;
        QTest::newRow("Ctrl+- while Paused zooms out")
            << int(Paused) << int(Qt::Key_Minus) << ctrl << "Paused" << 2.0;
        QTest::newRow("Ctrl++ while Ready: zoom acts only when paused")
            << int(Ready) << int(Qt::Key_Plus) << ctrl << "Ready" << 1.0;
        QTest::newRow("Ctrl+- while Running: zoom acts only when paused")
            << int(Running) << int(Qt::Key_Minus) << ctrl << "Running" << 1.0;
    }

    void keysDoWhatTheirButtonDoesInEachState() {
        QFETCH(int, from);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, label);
        QFETCH(double, scale);
        activate(window);
        if (from == Paused) reachPaused();
        QString seen;
        const auto press = [&] {
            QTest::keyClick(window, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
            if (seen.isEmpty()) seen = window->runStateLabel->text();
        };
        // A key that starts a run is seen while the run goes on, which then pauses.
        const int start = steps;
        onStep = [&](int s) {
            if (from == Running && s == start + 3) press();
            if (seen.isEmpty() && s > start + 3) seen = window->runStateLabel->text();
            if (s > start + 40 && records->SimState == Running) window->controlRun(window->pauseButton);
        };
        if (from == Running)
            window->controlRun(window->runButton);
        else
            press();
        QVERIFY(settle(*window));
        QCOMPARE(seen, label);
        QCOMPARE(records->CurSettings.sf(), static_cast<Extended>(scale) * 1e9L);
    }

    void aModalDialogBlocksTheProgramKeys() {
        QSignalSpy quit(window->exitAction, &QAction::triggered);
        QSignalSpy run(window->runPauseAction, &QAction::triggered);
        QDialog modal(window);
        modal.setModal(true);
        bool tried = false;
        QTimer::singleShot(0, &modal, [&] {
            activate(&modal);
            QTest::keyClick(&modal, Qt::Key_Q, Qt::ControlModifier);
            QTest::keyClick(&modal, Qt::Key_F5);
            tried = true;
            modal.reject();
        });
        modal.exec();
        QVERIFY(tried);
        QCOMPARE(quit.count(), 0);
        QCOMPARE(run.count(), 0);
        QCOMPARE(records->SimState, Ready);
        QVERIFY(!quitCalled);
    }

    void theFocusRestsOnTheButtonThatGoesOn() {
        activate(window);
        window->runButton->setFocus();
        QWidget* whileRunning = nullptr;
        // Space on Run, then Space on whatever has the focus: it must pause the run.
        onStep = [&](int s) {
            if (s == 3) {
                whileRunning = window->focusWidget();
                QTest::keyClick(whileRunning, Qt::Key_Space);
            }
            if (s > 200 && records->SimState == Running) window->controlRun(window->pauseButton);
        };
        QTest::keyClick(window->runButton, Qt::Key_Space);
        QVERIFY(settle(*window));
        QCOMPARE(whileRunning, window->pauseButton);
        QCOMPARE(records->SimState, Paused);
        QCOMPARE(window->focusWidget(), window->runButton);

        // One more Space goes on with the run; it never resets it.
        const int resumed = steps;
        onStep = [&](int s) {
            if (s == resumed + 3) QTest::keyClick(window->focusWidget(), Qt::Key_Space);
            if (s > resumed + 200 && records->SimState == Running) window->controlRun(window->pauseButton);
        };
        QTest::keyClick(window->focusWidget(), Qt::Key_Space);
        QVERIFY(settle(*window));
        QCOMPARE(records->SimState, Paused);
        QVERIFY(steps > resumed);

        QTest::keyClick(window, Qt::Key_R, Qt::ControlModifier);
        QCOMPARE(records->SimState, Ready);
        QCOMPARE(window->focusWidget(), window->runButton);
    }

    void buttonsNameTheirKeysInTheirTooltips_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("tip");
        QTest::newRow("Run") << "runButton"
                             << "Run (F5)";
        QTest::newRow("Pause") << "pauseButton"
                               << "Pause (F5)";
        QTest::newRow("Reset") << "resetButton"
                               << "Reset (Ctrl+R)";
        QTest::newRow("+") << "zoomInButton"
                           << "Zoom in (Ctrl++)";
        QTest::newRow("-") << "zoomOutButton"
                           << "Zoom out (Ctrl+-)";
    }

    void buttonsNameTheirKeysInTheirTooltips() {
        QFETCH(QString, button);
        QFETCH(QString, tip);
        auto* b = window->findChild<QPushButton*>(button);
        QVERIFY(b);
        QCOMPARE(b->toolTip(), tip);
    }
};

QTEST_MAIN(KeyboardTest)
#include "keyboard_qtest.moc"
