#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>
#include <functional>

#include "core/fp_error.h"
#include "main_window_fixture.h"
#include "posted_click.h"
#include "ui/common/error_guard.h"
#include "ui/main_window/control_panel.h"
#include "ui/main_window/fitting_label.h"

namespace {

const QRgb Blue = qRgb(0, 0, 255);
const QRgb Yellow = qRgb(255, 255, 0);
const QRgb Red = qRgb(255, 0, 0);

}  // namespace

class MainFormTest : public MainWindowFixture {
    Q_OBJECT

    bool quitCalled = false;

    void setClientSize(int w, int h) {
        setPlotSize({w, h});
        QCOMPARE(window->plotSurface()->size(), QSize(w, h));
    }
    QRgb pixel(int x, int y) const { return window->plotSurface()->image().pixel(x, y); }
    // Clicks Run and serves the run's steps through onStep until the loop returns.
    void runUntilPaused(const std::function<void(int)>& step) { runWith(*window, onStep, step); }
    void pauseAtPlotCount(int points) { runToStep(*window, onStep, std::max(1, points * 40)); }
    // Drags the panel by the point grab (panel pixels) through points of the plot, checking after each.
    void dragPanel(QPoint grab, const QList<QPoint>& through,
                   const std::function<void(QPoint)>& check = nullptr) {
        ControlPanel* p = window->panel();
        QTest::mousePress(p, Qt::LeftButton, {}, grab);
        for (const QPoint& to : through) {
            QTest::mouseMove(p, p->mapFromParent(to));
            if (check) check(to);
        }
        QTest::mouseRelease(p, Qt::LeftButton, {}, p->mapFromParent(through.back()));
    }
    int countPixels(QRgb c) const {
        const QImage& img = window->plotSurface()->image();
        int n = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) n += img.pixel(x, y) == c;
        return n;
    }
    void checkPattern(const QString& label, bool run, bool pause, bool reset, bool menus) {
        QCOMPARE(window->runStateLabel->text(), label);
        QCOMPARE(window->runButton->isEnabled(), run);
        QCOMPARE(window->pauseButton->isEnabled(), pause);
        QCOMPARE(window->resetButton->isEnabled(), reset);
        QCOMPARE(window->settingsMenu->menuAction()->isEnabled(), menus);
        // The View menu stays enabled for the extras; its two classic items follow the Settings menu.
        QVERIFY(window->viewMenu->menuAction()->isEnabled());
        QCOMPARE(window->currentSettingsAction->isEnabled(), menus);
        QCOMPARE(window->savedSettingsAction->isEnabled(), menus);
        QCOMPARE(window->openExampleAction->isEnabled(), menus);
        QVERIFY(window->orbitReadoutAction->isEnabled());
        QVERIFY(window->exactPathAction->isEnabled() && window->scaleBarAction->isEnabled() &&
                window->offscreenMarkersAction->isEnabled());
        QVERIFY(window->fileMenu->menuAction()->isEnabled());
        QVERIFY(window->helpMenu->menuAction()->isEnabled());
        QVERIFY(window->zoomOutButton->isEnabled() && window->zoomInButton->isEnabled());
    }

private slots:
    void initTestCase() { keepDataInDataHome(true); }

    void init() {
        makeWindow();
        quitCalled = false;
        window->onQuit = [this] { quitCalled = true; };
        window->show();
        setClientSize(810, 537);
    }

    void cleanup() { closeWindow(); }

    void startsReadyWithBlueBackground() {
        checkPattern("Ready", true, false, false, true);
        QCOMPARE(window->elapsedLabel->text(), QString("0.0"));
        QCOMPARE(window->elapsedUnitLabel->text(), QString("days"));
        QCOMPARE(window->windowTitle(), QString("Tulvane"));
        QCOMPARE(pixel(400, 300), Blue);
        QCOMPARE(window->panel()->geometry(), QRect(8, 336, 81, 145));
        QVERIFY(window->font().bold());
    }

    void runPauseResumeResetFollowTheStateTable() {
        QString labelWhileRunning;
        bool patternWhileRunning = false;
        runUntilPaused([&](int s) {
            if (s == 1) {
                labelWhileRunning = window->runStateLabel->text();
                patternWhileRunning = !window->runButton->isEnabled() && window->pauseButton->isEnabled() &&
                                      !window->resetButton->isEnabled() &&
                                      !window->settingsMenu->menuAction()->isEnabled();
            }
            if (s == 120) QTest::mouseClick(window->pauseButton, Qt::LeftButton);
        });
        QCOMPARE(labelWhileRunning, QString("Running"));
        QVERIFY(patternWhileRunning);
        checkPattern("Paused", true, false, true, false);
        QCOMPARE(records->PlotCount, 3);
        QCOMPARE(window->elapsedLabel->text(), QString("3.0"));
        QCOMPARE(window->elapsedUnitLabel->text(), QString("days"));
        QVERIFY(countPixels(Yellow) > 0);

        // Resuming continues from the paused state: nothing is copied from CurSettings.
        records->CurSettings.setASpeed(1);
        const TState atPause = records->CurState;
        TState afterFirstResumedStep;
        runUntilPaused([&](int s) {
            if (s == 121) afterFirstResumedStep = records->CurState;
            if (s == 200) window->controlRun(window->pauseButton);
        });
        QVERIFY(afterFirstResumedStep.ASpeed() > 29);
        QVERIFY(!(afterFirstResumedStep == atPause));
        QCOMPARE(records->PlotCount, 5);  // 80 steps after the resume: two more plot points
        QCOMPARE(window->elapsedLabel->text(), QString("5.0"));

        QTest::mouseClick(window->resetButton, Qt::LeftButton);
        checkPattern("Ready", true, false, false, true);
        QCOMPARE(window->elapsedLabel->text(), QString("0.0"));
        QCOMPARE(countPixels(Yellow), 0);
        QCOMPARE(countPixels(Red), 0);
        QCOMPARE(records->SimState, Ready);
    }

    void clicksThatMatchNoRowDoNothing_data() {
        QTest::addColumn<int>("state");
        QTest::addColumn<QString>("button");
        QTest::newRow("Pause when Ready") << int(Ready) << "pauseButton";
        QTest::newRow("Reset when Ready") << int(Ready) << "resetButton";
        QTest::newRow("Pause when Paused") << int(Paused) << "pauseButton";
        QTest::newRow("Run while Running") << int(Running) << "runButton";
        QTest::newRow("Reset while Running") << int(Running) << "resetButton";
    }
    void clicksThatMatchNoRowDoNothing() {
        QFETCH(int, state);
        QFETCH(QString, button);
        records->SimState = static_cast<RunState>(state);
        records->PlotCount = 7;
        const TState before = records->CurState;
        const QImage image = window->plotSurface()->image();
        window->controlRun(window->findChild<QPushButton*>(button));
        QCOMPARE(records->SimState, state);
        QCOMPARE(records->PlotCount, 7);
        QVERIFY(records->CurState == before);
        QCOMPARE(window->plotSurface()->image(), image);
    }

    void runFromReadyKeepsMarksWhenTheColourIsUnchanged() {
        window->drawBody(TVector{100e9L, 100e9L}, BodyB);
        QCOMPARE(pixel(100, 100), Red);
        pauseAtPlotCount(0);
        QCOMPARE(pixel(100, 100), Red);
    }

    void exitEndsAtOnceWhenNoRunIsActive_data() {
        QTest::addColumn<bool>("paused");
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("Ready, File > Exit") << false << false;
        QTest::newRow("Paused, File > Exit") << true << false;
        QTest::newRow("Paused, close box") << true << true;
    }
    void exitEndsAtOnceWhenNoRunIsActive() {
        QFETCH(bool, paused);
        QFETCH(bool, closeBox);
        if (paused) pauseAtPlotCount(1);
        QVERIFY(!quitCalled);
        if (closeBox)
            window->close();
        else
            window->exitAction->trigger();
        QVERIFY(quitCalled);
    }

    void exitDuringARunWaitsForThePause_data() {
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("File > Exit") << false;
        QTest::newRow("close box") << true;
    }
    void exitDuringARunWaitsForThePause() {
        QFETCH(bool, closeBox);
        bool quitBeforePause = true;
        runUntilPaused([&](int s) {
            if (s == 5) {
                if (closeBox)
                    window->close();
                else
                    window->exitAction->trigger();
            }
            if (s == 90) {
                quitBeforePause = quitCalled;
                QTest::mouseClick(window->pauseButton, Qt::LeftButton);
            }
        });
        QVERIFY(!quitBeforePause);
        QVERIFY(quitCalled);
        QCOMPARE(records->PlotCount, 2);  // the run went on plotting until the Pause
    }

    void floatingPointErrorIsReportedOnceThenPauseAndResetWork() {
        records->CurSettings.setBPos(records->CurSettings.APos());
        runUntilPaused([](int) {});
        QCOMPARE(dialogs->texts("error"), QStringList{"Floating point division by zero."});
        QCOMPARE(records->SimState, Running);
        QVERIFY(!window->runActive());
        QVERIFY(window->pauseButton->isEnabled());
        QTest::mouseClick(window->pauseButton, Qt::LeftButton);
        checkPattern("Paused", true, false, true, false);
        QTest::mouseClick(window->resetButton, Qt::LeftButton);
        checkPattern("Ready", true, false, false, true);
        // With no loop left, Exit acts at once although SimState was Running after the error.
        window->exitAction->trigger();
        QVERIFY(quitCalled);
    }

    void exitRequestedDuringARunEndsWhenTheRunFails() {
        bool quitBeforeReport = true;
        dialogs->onShow = [&](const ScriptedDialogs::Shown&) { quitBeforeReport = quitCalled; };
        runUntilPaused([&](int s) {
            if (s == 3) {
                window->exitAction->trigger();
                // Both bodies at one point: the next step fails.
                records->CurState.setBPos(records->CurState.APos());
            }
        });
        QCOMPARE(dialogs->texts("error"), QStringList{"Floating point division by zero."});
        QVERIFY(!quitBeforeReport);
        QVERIFY(quitCalled);
    }

    void runServedInThePausePumpPassResumesWithTheRightCount() {
        int nestedStart = -1;
        runUntilPaused([&](int s) {
            if (s == 80) {  // two plot points drawn; both clicks wait for the same pump pass
                postClick(window->pauseButton);
                postClick(window->runButton);
            }
            if (s == 81) nestedStart = records->PlotCount;
            if (s == 81 + 120) window->controlRun(window->pauseButton);
        });
        QCOMPARE(nestedStart, 2);
        QCOMPARE(records->PlotCount, 5);  // 2 before the pause, 3 in the resumed run; not overwritten
        QCOMPARE(window->elapsedLabel->text(), QString("5.0"));
        checkPattern("Paused", true, false, true, false);
    }

    void aRunResumedInThePausePumpPassThatFailsIsReportedOnce() {
        runUntilPaused([&](int s) {
            if (s == 80) {
                postClick(window->pauseButton);
                postClick(window->runButton);
            }
            // Both bodies at one point: the resumed run's next step fails.
            if (s == 90) records->CurState.setBPos(records->CurState.APos());
        });
        QCOMPARE(dialogs->texts("error"), QStringList{"Floating point division by zero."});
        QCOMPARE(records->SimState, Running);
        QVERIFY(!window->runActive());
        checkPattern("Running", false, true, false, false);
        QTest::mouseClick(window->pauseButton, Qt::LeftButton);
        QTest::mouseClick(window->resetButton, Qt::LeftButton);
        checkPattern("Ready", true, false, false, true);
    }

    void aboutNamesTheDataFolder() {
        window->aboutAction->trigger();
        const QString dataDir = dataHome.path() + "/Tulvane/";
        QCOMPARE(window->dataDir(), dataDir);
        QVERIFY(QDir(dataDir).exists());
        QCOMPARE(dialogs->texts("message"), QStringList{aboutText() + "\r\n\r\nData directory: " + dataDir});
        QCOMPARE(aboutText(),
                 QStringLiteral("Tulvane simulates solutions for the two-body problem in classical "
                                "mechanics using Newton's laws.\r\n\r\nCopyright 2026 The Tulvane "
                                "developers\r\n\r\nVersion 1.0    "
                                "tulvane-developers@users.noreply.example.org"));
    }

    void generalErrorTextAppendsAFullStopByTheRule_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::newRow("plain") << "Disk full"
                               << "Disk full.";
        QTest::newRow("full stop") << "Done."
                                   << "Done.";
        QTest::newRow("code below the full stop") << "Odd)"
                                                  << "Odd)";
        QTest::newRow("newline") << "Line\n"
                                 << "Line\n";
        QTest::newRow("code above the full stop") << "a/b/"
                                                  << "a/b/.";
        QTest::newRow("empty") << ""
                               << ".";
    }
    void generalErrorTextAppendsAFullStopByTheRule() {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QCOMPARE(GeneralErrorText(text), shown);
    }

    void panelSwallowsPresses() {
        int presses = 0;
        window->plotSurface()->onMousePress = [&](Qt::MouseButton, int, int) { ++presses; };
        QTest::mousePress(window->panel(), Qt::RightButton, {}, QPoint(40, 135));
        QTest::mousePress(window->elapsedLabel, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mousePress(window->runStateLabel, Qt::MiddleButton, {}, QPoint(5, 5));
        QTest::mousePress(window->plotSurface(), Qt::RightButton, {}, QPoint(400, 100));
        QCOMPARE(presses, 1);
    }

    // ---- the plot ----

    void drawBodyMapsMetresToPixels_data() {
        QTest::addColumn<double>("u");
        QTest::addColumn<double>("v");
        QTest::addColumn<int>("body");
        QTest::addColumn<QPoint>("centre");
        QTest::newRow("default start of A") << 2e11 << 1e11 << 0 << QPoint(200, 100);
        QTest::newRow("B in red") << 6e11 << 4e11 << 1 << QPoint(600, 400);
        QTest::newRow("2.5 pixels rounds to 2") << 2.5e9 << 50e9 << 0 << QPoint(2, 50);
        QTest::newRow("3.5 pixels rounds to 4") << 3.5e9 << 50e9 << 0 << QPoint(4, 50);
    }
    void drawBodyMapsMetresToPixels() {
        QFETCH(double, u);
        QFETCH(double, v);
        QFETCH(int, body);
        QFETCH(QPoint, centre);
        window->drawBody(TVector{static_cast<Extended>(u), static_cast<Extended>(v)},
                         static_cast<Body>(body));
        const QRgb c = body == 0 ? Yellow : Red;
        const int x = centre.x(), y = centre.y();
        for (int d = -2; d <= 2; ++d) {
            QCOMPARE(pixel(x + d, y), c);
            QCOMPARE(pixel(x, y + d), c);
        }
        QCOMPARE(pixel(x + 3, y), Blue);
        QCOMPARE(pixel(x, y - 3), Blue);
        QCOMPARE(pixel(x + 1, y + 1), Blue);
        QCOMPARE(countPixels(c), 9);
    }

    void drawBodyDrawsNothingOutsideTheClientArea_data() {
        QTest::addColumn<double>("u");
        QTest::addColumn<double>("v");
        QTest::addColumn<int>("visible");
        QTest::newRow("x = width - 1, right arm cut") << 809e9 << 100e9 << 7;
        QTest::newRow("x = width") << 810e9 << 100e9 << 0;
        QTest::newRow("negative x") << -1e9 << 100e9 << 0;
        QTest::newRow("negative y") << 100e9 << -1e9 << 0;
        QTest::newRow("far away") << 1e30 << 1e30 << 0;
        QTest::newRow("y = height - 1") << 100e9 << 536e9 << 7;
    }
    void drawBodyDrawsNothingOutsideTheClientArea() {
        QFETCH(double, u);
        QFETCH(double, v);
        QFETCH(int, visible);
        window->drawBody(TVector{static_cast<Extended>(u), static_cast<Extended>(v)}, BodyA);
        QCOMPARE(countPixels(Yellow), visible);
    }

    void drawBodyOfNaNRaisesInvalidOperation() {
        TVector p{std::numeric_limits<Extended>::quiet_NaN(), 1e11L};
        try {
            window->drawBody(p, BodyA);
            QFAIL("no error");
        } catch (const FloatingPointError& e) {
            QCOMPARE(QString(e.what()), QString("Invalid floating point operation"));
        }
        records->CurSettings.setSf(0);
        QVERIFY_THROWS_EXCEPTION(FloatingPointError, window->drawBody(TVector{1e11L, 1e11L}, BodyA));
    }

    void zoomKeepsToItsLimits_data() {
        QTest::addColumn<double>("sf");
        QTest::addColumn<QString>("button");
        QTest::addColumn<double>("after");
        QTest::newRow("out from 8e9: ignored") << 8e9 << "zoomOutButton" << 8e9;
        QTest::newRow("out from 5e9 to 1e10") << 5e9 << "zoomOutButton" << 1e10;
        QTest::newRow("in from 2e8 to 1e8") << 2e8 << "zoomInButton" << 1e8;
        QTest::newRow("in from 1e9/8: ignored") << 1e9 / 8 << "zoomInButton" << 1e9 / 8;
        QTest::newRow("in from 1e9") << 1e9 << "zoomInButton" << 5e8;
    }
    void zoomKeepsToItsLimits() {
        QFETCH(double, sf);
        QFETCH(QString, button);
        QFETCH(double, after);
        pauseAtPlotCount(2);
        records->CurSettings.setSf(sf);
        const QImage before = window->plotSurface()->image();
        QTest::mouseClick(window->findChild<QPushButton*>(button), Qt::LeftButton);
        QVERIFY(settle(*window));
        QCOMPARE(static_cast<double>(records->CurSettings.sf()), after);
        if (after == sf) {
            QCOMPARE(window->plotSurface()->image(), before);  // nothing at all: no repaint, no replay
        } else {
            QVERIFY(window->plotSurface()->image() != before);
            QCOMPARE(records->PlotCount, 2);
            QCOMPARE(records->SimState, Paused);
        }
    }

    void zoomDoesNothingUnlessPaused() {
        window->zoomInButton->click();
        QCOMPARE(records->CurSettings.sf(), 1e9L);
        runUntilPaused([&](int s) {
            if (s == 3) window->zoom(window->zoomInButton);
            if (s == 4) window->controlRun(window->pauseButton);
        });
        QCOMPARE(records->CurSettings.sf(), 1e9L);
    }

    void replayDrawsExactlyWhatTheLiveRunDrew() {
        pauseAtPlotCount(30);
        const QImage live = window->plotSurface()->image();
        const TState atPause = records->CurState;
        QTest::mouseClick(window->zoomInButton, Qt::LeftButton);
        QVERIFY(settle(*window));
        QVERIFY(window->plotSurface()->image() != live);
        QTest::mouseClick(window->zoomOutButton, Qt::LeftButton);
        QVERIFY(settle(*window));
        QCOMPARE(window->plotSurface()->image(), live);
        QVERIFY(records->CurState == atPause);
        QCOMPARE(records->PlotCount, 30);
        QCOMPARE(records->SimState, Paused);
    }

    void replayOfZeroPointsDrawsOnlyTheStartCrosses() {
        runUntilPaused([&](int s) {
            if (s == 5) window->controlRun(window->pauseButton);
        });
        QCOMPARE(records->PlotCount, 0);
        const int stepsBefore = steps;
        QTest::mouseClick(window->zoomOutButton, Qt::LeftButton);
        QCOMPARE(steps, stepsBefore);  // no step taken
        QCOMPARE(countPixels(Yellow), 9);
        QCOMPARE(countPixels(Red), 9);
        QCOMPARE(pixel(100, 50), Yellow);  // (2e11, 1e11) at 2e9 m per pixel
        QCOMPARE(pixel(300, 200), Red);
        QCOMPARE(records->SimState, Paused);
    }

    void zoomServedInThePausePumpPassReplaysThePausedPoints() {
        runUntilPaused([&](int s) {
            if (s == 160) {
                postClick(window->pauseButton);
                postClick(window->zoomInButton);
            }
        });
        QCOMPARE(records->PlotCount, 4);
        QCOMPARE(records->CurSettings.sf(), 5e8L);
        QCOMPARE(records->SimState, Paused);
        QVERIFY(countPixels(Yellow) > 9 * 3);
    }

    void leftClickRecentresOnTheClickedPoint_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<QPoint>("click");
        QTest::addColumn<double>("shiftU");
        QTest::addColumn<double>("shiftV");
        QTest::newRow("801 wide: cx = 400") << 801 << QPoint(300, 168) << 100e9 << 100e9;
        QTest::newRow("click on the centre") << 810 << QPoint(405, 268) << 0.0 << 0.0;
    }
    void leftClickRecentresOnTheClickedPoint() {
        QFETCH(int, width);
        QFETCH(QPoint, click);
        QFETCH(double, shiftU);
        QFETCH(double, shiftV);
        setClientSize(width, 537);
        pauseAtPlotCount(3);
        const TVector a0 = records->CurSettings.APos();
        const TVector b0 = records->CurSettings.BPos();
        window->drawBody(TVector{700e9L, 50e9L}, BodyA);  // a mark that the clearing must remove
        QTest::mouseClick(window->plotSurface(), Qt::LeftButton, {}, click);
        QVERIFY(settle(*window));
        QCOMPARE(records->CurSettings.APos().u, a0.u + static_cast<Extended>(shiftU));
        QCOMPARE(records->CurSettings.APos().v, a0.v + static_cast<Extended>(shiftV));
        QCOMPARE(records->CurSettings.BPos().u, b0.u + static_cast<Extended>(shiftU));
        QCOMPARE(records->CurSettings.BPos().v, b0.v + static_cast<Extended>(shiftV));
        QCOMPARE(pixel(700, 50), Blue);
        QCOMPARE(records->PlotCount, 3);
        QCOMPARE(records->SimState, Paused);
        const QPoint start(static_cast<int>((a0.u + static_cast<Extended>(shiftU)) / 1e9L),
                           static_cast<int>((a0.v + static_cast<Extended>(shiftV)) / 1e9L));
        QCOMPARE(pixel(start.x(), start.y()), Yellow);
    }

    // Only a damaged scale or position from a settings file gets this far; the click must not leave an
    // infinite position (or one body moved without the other) in the settings.
    void recentringThatOverflowsIsReportedAndMovesNeitherBody_data() {
        QTest::addColumn<QPoint>("click");
        QTest::addColumn<bool>("bNearTheTop");  // B.u at 1.18e4932, just below the largest Extended
        QTest::newRow("dx × sf overflows") << QPoint(0, 268) << false;
        QTest::newRow("A.v overflows after A.u moved") << QPoint(404, 0) << false;
        QTest::newRow("B.u overflows after A moved") << QPoint(395, 268) << true;
    }
    void recentringThatOverflowsIsReportedAndMovesNeitherBody() {
        QFETCH(QPoint, click);
        QFETCH(bool, bNearTheTop);
        records->CurSettings.setSf(1e4930L);
        if (bNearTheTop) records->CurSettings.setBPos(TVector{1.18e4932L, records->CurSettings.BPos().v});
        records->SimState = Paused;
        records->PlotCount = 0;
        const TState before = records->CurSettings;
        QTest::mouseClick(window->plotSurface(), Qt::LeftButton, {}, click);
        QCOMPARE(dialogs->texts("error"), QStringList{"Floating point overflow."});
        QVERIFY(records->CurSettings == before);
        QCOMPARE(records->SimState, Paused);
        QCOMPARE(records->PlotCount, 0);
    }

    void failedReplayReturnsToPaused() {
        pauseAtPlotCount(2);
        records->CurSettings.setAPos(records->CurSettings.BPos());
        QTest::mouseClick(window->plotSurface(), Qt::LeftButton, {}, QPoint(405, 268));
        QVERIFY(settle(*window));
        QCOMPARE(dialogs->texts("error"), QStringList{"Floating point division by zero."});
        QCOMPARE(records->SimState, Paused);
        checkPattern("Paused", true, false, true, false);
        QTest::mouseClick(window->resetButton, Qt::LeftButton);
        QCOMPARE(records->SimState, Ready);
    }

    void droppingThePanelWithoutAPictureOnlyMovesIt() {
        pauseAtPlotCount(2);
        const QImage before = window->plotSurface()->image();
        dragPanel(QPoint(40, 135), {QPoint(68, 436), QPoint(308, 336)});
        QCOMPARE(window->panel()->pos(), QPoint(268, 201));
        QCOMPARE(window->plotSurface()->image(), before);
        QCOMPARE(records->PlotCount, 2);
    }

    void theDraggedPanelFollowsThePointerAndStaysInside_data() {
        QTest::addColumn<QPoint>("grab");  // in the panel
        QTest::addColumn<QPoint>("to");    // the pointer's last place on the plot
        QTest::addColumn<QPoint>("topLeft");
        // The client area is 810 x 537 and the panel 81 x 145: its top-left corner stays within 729 x 392.
        QTest::newRow("keeps the grab offset") << QPoint(40, 135) << QPoint(400, 300) << QPoint(360, 165);
        QTest::newRow("near the bottom-right corner")
            << QPoint(4, 60) << QPoint(805, 530) << QPoint(729, 392);
        QTest::newRow("beyond the right edge only") << QPoint(40, 70) << QPoint(900, 200) << QPoint(729, 130);
        QTest::newRow("past the top-left corner") << QPoint(40, 135) << QPoint(10, 20) << QPoint(0, 0);
        QTest::newRow("less than a drag distance") << QPoint(40, 135) << QPoint(49, 472) << QPoint(8, 336);
    }

    void theDraggedPanelFollowsThePointerAndStaysInside() {
        QFETCH(QPoint, grab);
        QFETCH(QPoint, to);
        QFETCH(QPoint, topLeft);
        const QPoint start = window->panel()->pos() + grab;
        const QPoint middle = start + (to - start) / 2;
        QList<QPoint> seen;
        QList<QPoint> expected;
        dragPanel(grab, {middle, to}, [&](QPoint pointer) {
            // While dragged the panel already stands where it will land.
            ControlPanel* p = window->panel();
            seen << p->pos();
            expected << (p->isDragging() ? p->placeInside(pointer - grab) : QPoint(8, 336));
        });
        QCOMPARE(seen, expected);
        QCOMPARE(window->panel()->pos(), topLeft);
        QVERIFY(window->plotSurface()->rect().contains(window->panel()->geometry()));
    }

    void thePanelStaysInsideWhenTheWindowShrinks_data() {
        QTest::addColumn<QPoint>("place");  // in a client area of 1000 x 700
        QTest::addColumn<QSize>("client");
        QTest::addColumn<QPoint>("kept");
        QTest::newRow("bottom-right corner") << QPoint(900, 540) << QSize(810, 537) << QPoint(729, 392);
        QTest::newRow("right edge only") << QPoint(900, 100) << QSize(810, 537) << QPoint(729, 100);
        QTest::newRow("bottom edge only") << QPoint(100, 540) << QSize(810, 537) << QPoint(100, 392);
        QTest::newRow("still inside") << QPoint(300, 200) << QSize(810, 537) << QPoint(300, 200);
        QTest::newRow("smaller than the panel") << QPoint(900, 540) << QSize(60, 100) << QPoint(0, 0);
    }

    void thePanelStaysInsideWhenTheWindowShrinks() {
        QFETCH(QPoint, place);
        QFETCH(QSize, client);
        QFETCH(QPoint, kept);
        setClientSize(1000, 700);
        window->dropPanel(place.x(), place.y());
        QCOMPARE(window->panel()->pos(), place);
        window->setMinimumSize(1, 1);
        window->plotSurface()->setMinimumSize(1, 1);
        const QSize extra = window->size() - window->plotSurface()->size();
        window->resize(client + extra);
        QCoreApplication::processEvents();
        if (window->plotSurface()->size() != client) QSKIP("the window cannot be made this small here");
        QCOMPARE(window->panel()->pos(), kept);
    }

    void aDropNearAnEdgeKeepsTheWholePanelInView() {
        window->dropPanel(800, 530);
        QCOMPARE(window->panel()->pos(), QPoint(729, 392));
        window->dropPanel(-20, -5);
        QCOMPARE(window->panel()->pos(), QPoint(0, 0));
    }

    void aHugeElapsedNumberShrinksToShowEveryDigit_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("a million days") << "1234567.8";
        QTest::newRow("nine digits") << "123456789";
        QTest::newRow("exponent form") << "1.23456789E+12";
    }

    void aHugeElapsedNumberShrinksToShowEveryDigit() {
        QFETCH(QString, text);
        QLabel* label = window->elapsedLabel;
        label->setText(text);
        const QImage shown = label->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QRgb background = shown.pixel(0, 0);
        int left = shown.width();
        int right = -1;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                if (shown.pixel(x, y) != background) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
        QVERIFY2(right >= 0, "no text drawn");
        // Nothing touches the label's edges: no digit is cut.
        QVERIFY2(left > 0 && right < shown.width() - 1,
                 qPrintable(QString("ink from %1 to %2").arg(left).arg(right)));
        // Centred: as much room on either side, within a pixel or two.
        QVERIFY(std::abs(left - (shown.width() - 1 - right)) <= 2);
    }

    void aShortElapsedNumberKeepsThePanelFont() {
        window->elapsedLabel->setText("70.0");
        const auto* fitting = qobject_cast<FittingLabel*>(window->elapsedLabel);
        QVERIFY(fitting);
        QCOMPARE(fitting->fittedFont(), window->elapsedLabel->font());
    }

    void droppingThePanelWithAPictureRepaintsItAndReplays() {
        QImage picture(4, 4, QImage::Format_RGB32);
        picture.fill(qRgb(0, 128, 0));
        window->usePicture(picture);
        QCOMPARE(pixel(700, 500), qRgb(0, 128, 0));
        pauseAtPlotCount(3);
        window->drawBody(TVector{700e9L, 50e9L}, BodyA);
        window->dropPanel(500, 20);
        QVERIFY(settle(*window));
        QCOMPARE(window->panel()->pos(), QPoint(500, 20));
        QCOMPARE(pixel(700, 50), qRgb(0, 128, 0));
        QCOMPARE(pixel(200, 100), Yellow);  // replayed start cross
        QCOMPARE(records->PlotCount, 3);
        QCOMPARE(records->SimState, Paused);
    }

    void thePlotSurvivesResizeAndRepaint() {
        window->drawBody(TVector{200e9L, 100e9L}, BodyA);
        setClientSize(1000, 700);
        QCOMPARE(pixel(200, 100), Yellow);
        QCOMPARE(pixel(950, 650), Blue);
        setClientSize(600, 400);
        setClientSize(900, 600);
        QCOMPARE(pixel(200, 100), Yellow);
        const QImage shown = window->plotSurface()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown.pixel(200, 100), Yellow);
    }
};

QTEST_MAIN(MainFormTest)
#include "main_window_qtest.moc"
