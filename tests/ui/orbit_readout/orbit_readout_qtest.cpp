#include <QAction>
#include <QDockWidget>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSlider>
#include <QtTest>
#include <algorithm>
#include <functional>

#include "core/orbit_readout.h"
#include "default_locale.h"
#include "marking_translator.h"
#include "readout_fixture.h"
#include "ui/common/view_options.h"
#include "ui/orbit_readout/readout_text.h"

using Row = OrbitReadoutWindow;

namespace {

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

// The readout as the program wires it: following the main window's runs and replays and the initial-state
// dialog's unsaved values, opened from the View menu and remembered in the view options.
class OrbitReadoutTest : public ReadoutFixture {
    Q_OBJECT

    // The windows as at a start of the program: a test may start it again, with the same dialogs.
    void build() {
        makeWiredWindows({900, 700});
        QCoreApplication::processEvents();
    }
    void runUntil(const std::function<void(int)>& step) { runWith(*window, onStep, step); }
    // The default plot interval has 40 steps, so this pauses right on plot point `points`.
    void pauseAtPlotPoint(int points) { runToStep(*window, onStep, steps + points * 40); }
    void open() {
        window->orbitReadoutAction->setChecked(true);
        QVERIFY(readout->isVisible());
    }
    QDockWidget* dock() const { return window->findChild<QDockWidget*>(QStringLiteral("orbitReadoutDock")); }
    // The window's rectangle of one of its widgets.
    QRect inWindow(const QWidget* w) const { return QRect(w->mapTo(window, QPoint(0, 0)), w->size()); }
    // The now column shows what the readout of the record says, row by row.
    void checkNowColumnShows(const TState& s) {
        const OrbitReadout o = readOrbit(s);
        QCOMPARE(readout->nowText(Row::KindRow), qs(kindText(o)));
        QCOMPARE(readout->nowText(Row::EccentricityRow), qs(eccentricityText(o.eccentricity, ".")));
        QCOMPARE(readout->nowText(Row::SeparationRow), qs(distanceText(o.separation, ".")));
        QCOMPARE(readout->nowText(Row::RelativeEnergyRow), qs(energyText(o.relativeEnergy, ".")));
    }
    void checkDefaultStartColumn() {
        QCOMPARE(readout->startText(Row::KindRow), QString("bound ellipse"));
        QCOMPARE(readout->startText(Row::EccentricityRow), QString("0.97300"));
        QCOMPARE(readout->startText(Row::PeriodRow), QString("1356.6 days (3.714 years)"));
        QCOMPARE(readout->startText(Row::SemiMajorAxisRow), QString("5.4578E+08 km (3.648 AU)"));
        QCOMPARE(readout->startText(Row::PeriapsisRow), QString("1.4735E+07 km"));
        QCOMPARE(readout->startText(Row::RelativeEnergyRow), QString("-6.114E+38 J"));
        QCOMPARE(readout->startText(Row::TotalEnergyRow), QString("-4.248E+38 J"));
        QCOMPARE(readout->startText(Row::StepsRow), QString("27"));
    }

private slots:
    void initTestCase() {
        keepDataAndConfigApart();
        qputenv("LC_ALL", "C");
        QLocale::setDefault(QLocale::c());
    }
    void init() {
        QFile::remove(ViewOptions::filePath());
        build();
    }
    void cleanup() { closeWindow(); }

    void readyShowsThePreviewOfTheSettingsAndNothingNow() {
        open();
        checkDefaultStartColumn();
        QCOMPARE(readout->summaryText(), QString("bound ellipse, e = 0.973, period 1356.6 days"));
        QCOMPARE(readout->warningText(),
                 QString("closest approach in 27 steps: expect the run to drift; a shorter plot interval "
                         "follows the orbit more closely"));
        for (int r = Row::ElapsedRow; r < Row::RowCount; ++r)
            QCOMPARE(readout->nowText(static_cast<Row::Row>(r)), qs(std::string(NoValueText)));
        QCOMPARE(readout->energyDriftText(), qs(std::string(NoValueText)));
        QVERIFY(!readout->hintShown());
    }

    void bothColumnsDuringAndAfterTheRun() {
        open();
        QString elapsedAtFive, kindAtFive;
        runUntil([&](int s) {
            // Just after plot point 5; the repaint that was held back comes within the wait.
            if (s == 5 * 40 + 1) {
                QTest::qWait(OrbitReadoutWindow::RepaintIntervalMs + 100);
                elapsedAtFive = readout->nowText(Row::ElapsedRow);
                kindAtFive = readout->nowText(Row::KindRow);
            }
            if (s == 120 * 40) window->controlRun(window->pauseButton);
        });
        QCOMPARE(elapsedAtFive, QString("5.0 days"));
        QCOMPARE(kindAtFive, QString("bound ellipse"));

        // Past the closest approach the run has left the orbit it started on; the start column has not.
        checkDefaultStartColumn();
        QCOMPARE(readout->nowText(Row::ElapsedRow), QString("120.0 days"));
        QCOMPARE(readout->nowText(Row::KindRow), QString("hyperbola: escape"));
        QCOMPARE(readout->nowText(Row::PeriodRow), qs(std::string(NoValueText)));
        checkNowColumnShows(records->CurState);
        QCOMPARE(readout->energyDriftLevel(), DriftLevel::Red);
        QVERIFY(readout->energyDriftText().startsWith('+'));
        QVERIFY(readout->hintShown());

        // Reset brings back the preview.
        QTest::mouseClick(window->resetButton, Qt::LeftButton);
        QCOMPARE(readout->nowText(Row::KindRow), qs(std::string(NoValueText)));
        QVERIFY(!readout->hintShown());
    }

    void gaugeFollowsTheDriftOfTheRun_data() {
        QTest::addColumn<int>("days");
        QTest::addColumn<DriftLevel>("energy");
        QTest::addColumn<QChar>("sign");
        QTest::addColumn<QString>("kind");
        // The run loses energy on the way in, then gains far more than it lost across the closest approach.
        QTest::newRow("day 1") << 1 << DriftLevel::Green << QChar('-') << "bound ellipse";
        QTest::newRow("day 100") << 100 << DriftLevel::Amber << QChar('-') << "bound ellipse";
        QTest::newRow("day 106") << 106 << DriftLevel::Red << QChar('-') << "bound ellipse";
        QTest::newRow("day 112") << 112 << DriftLevel::Red << QChar('+') << "hyperbola: escape";
    }
    void gaugeFollowsTheDriftOfTheRun() {
        QFETCH(int, days);
        QFETCH(DriftLevel, energy);
        QFETCH(QChar, sign);
        QFETCH(QString, kind);
        open();
        pauseAtPlotPoint(days);
        QCOMPARE(readout->energyDriftLevel(), energy);
        QCOMPARE(readout->nowText(Row::KindRow), kind);
        QCOMPARE(readout->hintShown(), energy == DriftLevel::Red);
        QCOMPARE(readout->energyDriftText().front(), sign);
        const DriftGauge g = driftGauge(readOrbit(records->CurSettings), readOrbit(records->CurState));
        QCOMPARE(readout->energyDriftText(), qs(driftText(g.energy.value, ".")));
        QCOMPARE(readout->angularMomentumDriftText(), qs(driftText(g.angularMomentum.value, ".")));
    }

    void replayWorksOutTheReadoutOnceAtItsEnd() {
        open();
        pauseAtPlotPoint(20);
        const QString nowSeparation = readout->nowText(Row::SeparationRow);
        QSignalSpy points(window, &MainWindow::plotPointDrawn);
        const int computed = readout->computeCount;
        const int painted = readout->paintCount;

        // A re-centring replays from the moved start: the same orbit, shifted, worked out once at the end.
        QTest::mouseClick(window->plotSurface(), Qt::LeftButton, {}, QPoint(100, 100));
        QVERIFY(settle(*window));
        QCOMPARE(records->SimState, Paused);
        QCOMPARE(records->PlotCount, 20);
        QCOMPARE(points.count(), 0);
        QCOMPARE(readout->computeCount - computed, 2);
        QCOMPARE(readout->paintCount - painted, 1);
        checkNowColumnShows(records->CurState);
        checkDefaultStartColumn();
        QCOMPARE(readout->nowText(Row::ElapsedRow), QString("20.0 days"));
        QCOMPARE(readout->nowText(Row::SeparationRow), nowSeparation);

        // A zoom replays or redraws the kept points; either way nothing per point, and the same figures.
        QTest::mouseClick(window->zoomInButton, Qt::LeftButton);
        QVERIFY(settle(*window));
        QCOMPARE(points.count(), 0);
        QVERIFY(readout->computeCount - computed <= 4);
        QCOMPARE(readout->nowText(Row::SeparationRow), nowSeparation);
    }

    // Every number of the readout takes the user's decimal separator: the start's elapsed 0,0 as much as the
    // run's days, the orbit's figures, the timeline's day and the pixels off the exact path.
    void numbersFollowAGermanLocale() {
        closeWindow();
        const DefaultLocale german(QLocale(QLocale::German, QLocale::Germany));
        build();
        open();
        QCOMPARE(readout->startText(Row::ElapsedRow), QString("0,0 days"));
        QCOMPARE(readout->startText(Row::EccentricityRow), QString("0,97300"));
        QCOMPARE(readout->startText(Row::PeriodRow), QString("1356,6 days (3,714 years)"));
        QCOMPARE(readout->startText(Row::SemiMajorAxisRow), QString("5,4578E+08 km (3,648 AU)"));
        QCOMPARE(readout->summaryText(), QString("bound ellipse, e = 0,973, period 1356,6 days"));

        pauseAtPlotPoint(5);
        QCOMPARE(readout->startText(Row::ElapsedRow), QString("0,0 days"));
        QCOMPARE(readout->nowText(Row::ElapsedRow), QString("5,0 days"));
        QVERIFY(readout->energyDriftText().contains(QLatin1Char(',')));
        readout->timeline()->setValue(3);
        QCOMPARE(readout->nowText(Row::ElapsedRow), QString("3,0 days"));
        QCOMPARE(readout->timelineText(), QString("Plot point 3 of 5, day 3,0"));
        static const QRegularExpression pixels(
            QStringLiteral("A .* \\([0-9]+,[0-9] px\\), B .* \\([0-9]+,[0-9] px\\)$"));
        QVERIFY2(pixels.match(readout->integrationErrorText()).hasMatch(),
                 qPrintable(readout->integrationErrorText()));
        closeWindow();
    }

    // Every text of the readout with a word in it reaches the user through a translation, whole: under a
    // catalogue that marks what it translates, each caption, heading and cell, the timeline's line and every
    // accessible name and description come marked.
    void everyTextIsTranslated() {
        closeWindow();
        {
            const MarkedTexts marked;
            build();
            open();
            pauseAtPlotPoint(120);
            readout->timeline()->setValue(111);
            QCOMPARE(untranslatedTexts(readout), QStringList());
            // The rows' captions and cells, the headings, the gauge, the lines below all have words.
            const auto labels = readout->findChildren<QLabel*>();
            QVERIFY(std::count_if(labels.begin(), labels.end(), [](const QLabel* l) {
                        return MarkingTranslator::hasWords(l->text());
                    }) > 3 * Row::RowCount);
            QVERIFY(MarkingTranslator::isMarked(readout->windowTitle()));
            QVERIFY(MarkingTranslator::isMarked(readout->timelineText()));
            QVERIFY(readout->hintShown());
            // The cells grow to the texts of the language: the widest kind of orbit fits.
            OrbitReadout lost;
            lost.kind = OrbitKind::None;
            lost.whyNone = NoOrbitReason::NotFinite;
            const auto* cell = readout->findChild<QLabel*>(QStringLiteral("start%1").arg(Row::KindRow));
            QVERIFY(cell->width() >= cell->fontMetrics().horizontalAdvance(qs(kindText(lost))));
        }
        closeWindow();
    }

    void closedReadoutPaintsNothing() {
        const int painted = readout->paintCount;
        pauseAtPlotPoint(5);
        QCOMPARE(readout->paintCount, painted);
        // Opened while paused, it shows the last plot point.
        open();
        QCOMPARE(readout->nowText(Row::ElapsedRow), QString("5.0 days"));
        checkNowColumnShows(records->CurState);
    }

    void previewFollowsTheDialogsBars() {
        open();
        const TState settings = records->CurSettings;
        window->bodyBInitialStateAction->trigger();
        QVERIFY(initialStateDialog->isVisible());
        // The bars hold the mass only to their resolution: the preview is what Set State would store.
        QCOMPARE(readout->startText(Row::EccentricityRow),
                 qs(eccentricityText(readOrbit(initialStateDialog->previewState()).eccentricity, ".")));

        initialStateDialog->SpeedBar->setValue(499);
        QCOMPARE(readout->startText(Row::KindRow), QString("hyperbola: escape"));
        QCOMPARE(readout->startText(Row::SpeedBRow), QString("499.00 km/s"));
        QCOMPARE(readout->startText(Row::PeriodRow), qs(std::string(NoValueText)));
        QVERIFY(records->CurSettings.bytes == settings.bytes);

        // A right click on the plot moves the edited body in the preview.
        QTest::mouseClick(window->plotSurface(), Qt::RightButton, {}, QPoint(300, 150));
        const OrbitReadout moved = readOrbit(initialStateDialog->previewState());
        QCOMPARE(readout->startText(Row::SeparationRow), qs(distanceText(moved.separation, ".")));
        QVERIFY(readout->startText(Row::SeparationRow) != QString("5.0000E+08 km (3.342 AU)"));

        // Cancel returns to the settings; Set State makes the preview the settings.
        QTest::mouseClick(initialStateDialog->CancelButton, Qt::LeftButton);
        checkDefaultStartColumn();
        window->bodyBInitialStateAction->trigger();
        initialStateDialog->SpeedBar->setValue(499);
        QTest::mouseClick(initialStateDialog->SetButton, Qt::LeftButton);
        QVERIFY(records->CurSettings.bytes != settings.bytes);
        QCOMPARE(readout->startText(Row::KindRow), QString("hyperbola: escape"));
        QVERIFY(readout->warningText().isEmpty() || readout->warningText().startsWith("closest approach in"));
    }

    void settingsChangedElsewhereShowWhileReady() {
        open();
        // The plot interval menu changes CurSettings outside the readout; the window's announcement reaches
        // it at once, with nothing left to poll.
        window->plotIntervalActions[3]->trigger();  // 1 hour: 24 times as many steps across the approach
        const Quantity stepsAcross = readOrbit(records->CurSettings).stepsAcrossPeriapsis;
        QVERIFY(stepsAcross && *stepsAcross > 24 * 27);
        QCOMPARE(readout->startText(Row::StepsRow), qs(stepsText(stepsAcross)));
        QVERIFY(readout->warningText().isEmpty());
    }

    void viewMenuItemWorksInEveryRunState() {
        int checkedWhileRunning = -1;
        runUntil([&](int s) {
            if (s == 10) {
                window->orbitReadoutAction->trigger();
                checkedWhileRunning = readout->isVisible();
                window->controlRun(window->pauseButton);
            }
        });
        QCOMPARE(checkedWhileRunning, 1);
        QVERIFY(window->viewMenu->menuAction()->isEnabled());
        QVERIFY(!window->currentSettingsAction->isEnabled());
        window->orbitReadoutAction->trigger();
        QVERIFY(!readout->isVisible());
    }

    void f3OpensAndClosesTheReadout() {
        window->activateWindow();
        if (!QTest::qWaitForWindowActive(window)) QSKIP("the platform does not activate windows");
        QTest::keyClick(window, Qt::Key_F3);
        QVERIFY(readout->isVisible());
        QVERIFY(window->orbitReadoutAction->isChecked());
        QTest::keyClick(window, Qt::Key_F3);
        QVERIFY(!readout->isVisible());
    }

    void openStateIsRememberedBetweenStarts() {
        QCOMPARE(ViewOptions::filePath(), configHome.path() + "/Tulvane/view-options.conf");
        QVERIFY(!readout->isVisible());
        open();
        QVERIFY(QFile::exists(ViewOptions::filePath()));
        dropWindow();
        build();
        QVERIFY(window->orbitReadoutAction->isChecked());
        QVERIFY(readout->isVisible());

        // Ending the program closes every window, as quitting the application does; the readout is still
        // remembered open.
        window->onQuit = [] { QApplication::closeAllWindows(); };
        window->exitAction->trigger();
        QVERIFY(!readout->isVisible());
        dropWindow();
        build();
        QVERIFY(readout->isVisible());

        // Closed with the window's close box, it stays closed at the next start.
        dock()->close();
        QVERIFY(!window->orbitReadoutAction->isChecked());
        dropWindow();
        build();
        QVERIFY(!window->orbitReadoutAction->isChecked());
        QVERIFY(!readout->isVisible());
    }

    void dockedReadoutLeavesThePlotUncovered_data() {
        QTest::addColumn<QSize>("size");
        QTest::newRow("1366x768") << QSize(1366, 768);
        QTest::newRow("1600x1000") << QSize(1600, 1000);
    }
    void dockedReadoutLeavesThePlotUncovered() {
        QFETCH(QSize, size);
        window->resize(size);
        open();
        QCoreApplication::processEvents();
        PlotSurface* plot = window->plotSurface();
        QVERIFY(dock()->isVisible() && !dock()->isFloating());
        QVERIFY(!inWindow(plot).intersects(inWindow(dock())));
        QVERIFY(!inWindow(plot).intersects(inWindow(readout)));
        // The plot keeps its scale and origin: the kept image is the plot without the dock.
        QCOMPARE(plot->image().width(), window->width());
        QVERIFY(plot->width() < window->width() - 200);

        // A cross beneath the dock is kept and shows when the dock goes.
        const int hiddenX = plot->width() + 40;
        const Extended sf = records->CurSettings.sf();
        window->drawBody({static_cast<Extended>(hiddenX) * sf, 100 * sf}, BodyA);
        const QRgb crossColor = plot->image().pixel(hiddenX, 100);
        QVERIFY(crossColor != plot->image().pixel(hiddenX + 10, 100));
        window->orbitReadoutAction->setChecked(false);
        QCoreApplication::processEvents();
        QVERIFY(plot->width() > hiddenX);
        QCOMPARE(plot->image().pixel(hiddenX, 100), crossColor);
        QCOMPARE(plot->renderWithOverlays().pixel(hiddenX, 100), crossColor);

        // Re-centring with the dock open takes the visible plot's centre: a click there moves nothing.
        window->orbitReadoutAction->setChecked(true);
        QCoreApplication::processEvents();
        pauseAtPlotPoint(2);
        const TState before = records->CurSettings;
        window->plotMousePress(Qt::LeftButton, plot->width() / 2, plot->height() / 2);
        QVERIFY(records->CurSettings == before);
    }

    void dockPlaceAndWidthAreRemembered() {
        window->resize(1366, 768);
        open();
        QCoreApplication::processEvents();
        window->resizeDocks({dock()}, {420}, Qt::Horizontal);
        QCoreApplication::processEvents();
        const int width = dock()->width();
        window->onQuit = [] {};
        window->exitAction->trigger();
        dropWindow();
        build();
        window->resize(1366, 768);
        QCoreApplication::processEvents();
        QVERIFY(dock()->isVisible());
        QCOMPARE(dock()->width(), width);

        // Floated, it comes back floating; F3 still hides and shows it.
        dock()->setFloating(true);
        QVERIFY(dock()->isFloating());
        window->exitAction->trigger();
        dropWindow();
        build();
        QVERIFY(dock()->isFloating());
        QVERIFY(dock()->isVisible());
        window->orbitReadoutAction->setChecked(false);
        QVERIFY(!dock()->isVisible());
        window->orbitReadoutAction->setChecked(true);
        QVERIFY(dock()->isVisible() && dock()->isFloating());
        // Docked again from its float.
        dock()->setFloating(false);
        QCoreApplication::processEvents();
        QVERIFY(!inWindow(window->plotSurface()).intersects(inWindow(dock())));
    }

    void viewOptionsFileFollowsTheConfigFolder_data() {
        QTest::addColumn<QString>("xdgConfigHome");
        QTest::addColumn<QString>("expected");
        QTest::newRow("absolute") << "/x/conf"
                                  << "/x/conf/Tulvane/view-options.conf";
        QTest::newRow("relative is ignored")
            << "conf" << QDir::homePath() + "/.config/Tulvane/view-options.conf";
        QTest::newRow("unset") << "" << QDir::homePath() + "/.config/Tulvane/view-options.conf";
    }
    void viewOptionsFileFollowsTheConfigFolder() {
        QFETCH(QString, xdgConfigHome);
        QFETCH(QString, expected);
        const QByteArray kept = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", xdgConfigHome.toLocal8Bit());
        const QString path = ViewOptions::filePath();
        qputenv("XDG_CONFIG_HOME", kept);
        QCOMPARE(path, expected);
    }
};

QTEST_MAIN(OrbitReadoutTest)
#include "orbit_readout_qtest.moc"
