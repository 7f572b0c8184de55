#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>
#include <functional>

#include "core/kepler_propagation.h"
#include "core/run.h"
#include "main_window_fixture.h"
#include "run_controller_seams.h"
#include "ui/common/distance_in_words.h"
#include "ui/common/view_options.h"
#include "ui/main_window/control_panel.h"
#include "ui/plot/plot_overlay.h"
#include "ui/plot/view_aids.h"

// A connection that captures a test's locals is disconnected before they go, or with the window in cleanup().
// clazy:excludeall=lambda-in-connect

namespace {

const QColor Yellow(255, 255, 0);
const QColor Red(255, 0, 0);

bool hasColor(const QImage& layer, int x, int y, const QColor& c) {
    if (!layer.rect().contains(x, y)) return false;
    const QRgb p = layer.pixel(x, y);
    return qAlpha(p) == 255 && qRed(p) == c.red() && qGreen(p) == c.green() && qBlue(p) == c.blue();
}

double segmentDistance(const QPointF& p, const QPointF& a, const QPointF& b) {
    const QPointF ab = b - a;
    const double len2 = QPointF::dotProduct(ab, ab);
    const double t = len2 > 0 ? std::clamp(QPointF::dotProduct(p - a, ab) / len2, 0.0, 1.0) : 0.0;
    const QPointF d = p - (a + t * ab);
    return std::hypot(d.x(), d.y());
}

// A record whose bodies pass each other too fast to be bound.
TState openStart() {
    TState s = defaultSettings();
    s.setBSpeed(s.BSpeed() * 10);
    return s;
}

// A light body flying past a heavy one at rest: the heavy body drifts by under a metre a second.
TState flybyPastAHeavyBody() {
    TState s = defaultSettings();
    s.setAMass(2e30L);
    s.setASpeed(0);
    s.setBMass(6e24L);
    s.setBSpeed(100);
    return s;
}

}  // namespace

// Takes steps one pump at a time and pauses after a given number.
class CountingHost : public RunHost {
public:
    CountingHost(SimRecords& records, std::int64_t pauseAfter) : records_(records), pauseAfter_(pauseAfter) {}
    void drawBody(const TVector&, Body) override {}
    void showElapsed(const std::string&) override {}
    void sleepMs(std::int32_t) override {}
    bool pumpEvents(std::int32_t n) override {
        steps_ += n;
        if (steps_ == pauseAfter_) records_.SimState = Paused;
        return false;
    }

private:
    SimRecords& records_;
    std::int64_t pauseAfter_;
    std::int64_t steps_ = 0;
};

class ViewAidsTest : public MainWindowFixture {
    Q_OBJECT

    QTemporaryDir home;  // data and configuration in folders of their own, for the pictures beside them

    PlotSurface* surface() const { return window->plotSurface(); }
    ViewAids* aids() const { return window->viewAids(); }
    QImage shown() const { return surface()->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    void runUntilPaused(const std::function<void(int)>& step) { runWith(*window, onStep, step); }
    void pauseAtStep(int target) { runToStep(*window, onStep, target); }
    // The window as at a start of the program.
    void openWindow() {
        makeWindow();
        window->show();
        setPlotSize({810, 537});
    }

private slots:
    void initTestCase() {
        QVERIFY(home.isValid());
        qputenv("XDG_DATA_HOME", (home.path() + "/data").toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toLocal8Bit());
    }
    void init() {
        QFile::remove(ViewOptions::filePath());
        openWindow();
    }
    void cleanup() { closeWindow(); }

    void allOffByDefaultAndRememberedAcrossStarts() {
        QCOMPARE(aids()->options().any(), false);
        QVERIFY(surface()->overlay().isNull());
        for (QAction* a : {window->exactPathAction, window->scaleBarAction, window->offscreenMarkersAction}) {
            QVERIFY(a->isCheckable());
            QVERIFY(!a->isChecked());
        }
        window->exactPathAction->trigger();
        window->offscreenMarkersAction->trigger();
        QVERIFY(aids()->options().exactPath && aids()->options().offscreenMarkers &&
                !aids()->options().scaleBar);

        dropWindow();
        openWindow();
        QVERIFY(window->exactPathAction->isChecked());
        QVERIFY(!window->scaleBarAction->isChecked());
        QVERIFY(window->offscreenMarkersAction->isChecked());
        QVERIFY(aids()->options().exactPath && aids()->options().offscreenMarkers &&
                !aids()->options().scaleBar);
        QVERIFY(!surface()->overlay().isNull());
    }

    void viewMenuServesTheAidsInEveryState() {
        bool checkedWhileRunning = false;
        bool classicItemsOffWhileRunning = false;
        runUntilPaused([&](int s) {
            if (s != 3) return;
            QVERIFY(window->viewMenu->menuAction()->isEnabled());
            classicItemsOffWhileRunning =
                !window->currentSettingsAction->isEnabled() && !window->savedSettingsAction->isEnabled();
            window->scaleBarAction->trigger();
            checkedWhileRunning = window->scaleBarAction->isChecked() && !surface()->overlay().isNull();
            window->controlRun(window->pauseButton);
        });
        QVERIFY(checkedWhileRunning);
        QVERIFY(classicItemsOffWhileRunning);
        QVERIFY(window->viewMenu->menuAction()->isEnabled());
        QVERIFY(!window->currentSettingsAction->isEnabled());
        window->controlRun(window->resetButton);
        QVERIFY(window->currentSettingsAction->isEnabled() && window->savedSettingsAction->isEnabled());
    }

    void exactPathPixelsLieOnThePropagatedOrbit_data() {
        QTest::addColumn<int>("which");
        QTest::addColumn<double>("sf");
        QTest::newRow("default start, default scale") << 0 << 1e9;
        QTest::newRow("default start, zoomed in past the orbit") << 0 << 5e8;
        QTest::newRow("open orbit until it leaves the view") << 1 << 1e9;
    }
    void exactPathPixelsLieOnThePropagatedOrbit() {
        QFETCH(int, which);
        QFETCH(double, sf);
        records->CurSettings = which == 0 ? defaultSettings() : openStart();
        records->CurSettings.setSf(sf);
        aids()->setExactPath(true);
        const QImage layer = surface()->overlay();
        QVERIFY(!layer.isNull());

        const KeplerPropagation exact(records->CurSettings);
        QVERIFY(exact.hasExactPath());
        QCOMPARE(exact.period().has_value(), which == 0);
        const Extended tEnd = aids()->overlay().pathEnd();
        QVERIFY(tEnd > 0);
        // The propagator's positions, densely in time, as unrounded plot pixels.
        constexpr int Dense = 30000;
        std::vector<QPointF> curve[2];
        for (int i = 0; i <= Dense; ++i) {
            const auto b = exact.at(tEnd * i / Dense);
            QVERIFY(b.has_value());
            curve[0].emplace_back(double(b->positionA.u / sf), double(b->positionA.v / sf));
            curve[1].emplace_back(double(b->positionB.u / sf), double(b->positionB.v / sf));
        }
        const QColor tint[2] = {pathShade(Yellow), pathShade(Red)};
        // Every path pixel lies within 2 px of its body's orbit: the line is 2 px wide, and a pixel is taken
        // by its corner, not its centre.
        int pathPixels = 0;
        double worst = 0;
        for (int y = 0; y < layer.height(); ++y) {
            for (int x = 0; x < layer.width(); ++x) {
                for (int body = 0; body < 2; ++body) {
                    if (!hasColor(layer, x, y, tint[body])) continue;
                    ++pathPixels;
                    double nearest = INFINITY;
                    const QPointF p(x, y);
                    for (int i = 1; i <= Dense; ++i)
                        nearest = std::min(nearest, segmentDistance(p, curve[body][i - 1], curve[body][i]));
                    worst = std::max(worst, nearest);
                }
            }
        }
        QVERIFY2(pathPixels > 200, qPrintable(QString("only %1 path pixels").arg(pathPixels)));
        QVERIFY2(worst <= 2.0, qPrintable(QString("a path pixel lies %1 px from the orbit").arg(worst)));
        // And the dashes leave no gap longer than theirs (4 px): every on-screen position of either body has
        // a path pixel within 3 px.
        for (int body = 0; body < 2; ++body) {
            for (int i = 0; i <= Dense; i += 37) {
                const QPointF c = curve[body][i];
                const int x = int(std::lround(c.x()));
                const int y = int(std::lround(c.y()));
                if (x < 1 || y < 1 || x >= layer.width() - 1 || y >= layer.height() - 1) continue;
                bool found = false;
                for (int dy = -3; dy <= 3 && !found; ++dy)
                    for (int dx = -3; dx <= 3 && !found; ++dx)
                        found = hasColor(layer, x + dx, y + dy, tint[0]) ||
                                hasColor(layer, x + dx, y + dy, tint[1]);
                QVERIFY2(found, qPrintable(QString("no path pixel near body %1 at t = %2 s, (%3, %4)")
                                               .arg(body)
                                               .arg(double(tEnd * i / Dense))
                                               .arg(x)
                                               .arg(y)));
            }
        }
    }

    // How far the exact path reaches: a bound orbit's path covers the run and at least one period; an open
    // one's covers the run and lasts until the relative motion has left the view, not until the slowest body
    // has drifted out of it (once ~10^5 years for a heavy body at near rest, drawn as a line across the
    // plot).
    void exactPathSpansTheRunAndAPeriodOrTheFlyby_data() {
        QTest::addColumn<TState>("start");
        QTest::addColumn<double>("elapsedDays");
        QTest::addColumn<double>("withinDays");  // 0: no bound of its own
        QTest::newRow("bound, at the start") << defaultSettings() << 0.0 << 0.0;
        QTest::newRow("bound, after three periods") << defaultSettings() << 3 * 1356.6 << 0.0;
        QTest::newRow("open, at the start") << openStart() << 0.0 << 0.0;
        QTest::newRow("light body past a heavy one at rest") << flybyPastAHeavyBody() << 0.0 << 365.25;
        QTest::newRow("flyby, long after the pass") << flybyPastAHeavyBody() << 20000.0 << 0.0;
    }
    void exactPathSpansTheRunAndAPeriodOrTheFlyby() {
        QFETCH(TState, start);
        QFETCH(double, elapsedDays);
        QFETCH(double, withinDays);
        OverlayFrame frame;
        frame.start = start;
        frame.elapsed = elapsedDays * 86400.0L;
        frame.sf = 1e9L;
        frame.size = QSize(810, 537);
        const KeplerPropagation exact(start);
        QVERIFY(exact.hasExactPath());
        PlotOverlay overlay;
        const Extended end = overlay.endOfPath(exact, frame);
        QVERIFY(end >= frame.elapsed);
        if (const std::optional<Extended> period = exact.period()) {
            QCOMPARE(double(end), double(std::max(frame.elapsed, *period)));
            return;
        }
        const auto apartInPixels = [&](Extended t) {
            const std::optional<ExactBodies> b = exact.at(t);
            return double(std::hypot(b->positionB.u - b->positionA.u, b->positionB.v - b->positionA.v) /
                          frame.sf);
        };
        const double diagonal = std::hypot(810.0, 537.0);
        if (frame.elapsed == 0) {
            // Far enough that the pair has left the view, and at most twice the time that took.
            QVERIFY(apartInPixels(end) > diagonal);
            QVERIFY(apartInPixels(end / 2) <= diagonal + 40);
            if (withinDays > 0) QVERIFY(end < withinDays * 86400.0L);
        } else {
            QCOMPARE(double(end), double(frame.elapsed));
        }
    }

    // The path is built once for a frame; timeline steps, repaints and aid toggles that leave the start, the
    // scale, the size and the run's end alone build nothing and leave the path's layer as it was.
    void pathIsBuiltOnceAndKept() {
        aids()->setExactPath(true);
        pauseAtStep(40 * 60);
        const int builds = aids()->overlay().pathBuilds();
        const QImage before = surface()->overlay();
        for (int i = 0; i < 5; ++i) {
            const TVector a{TVector{Extended(1e11L * i), 2e11L}};
            aids()->setTimelineMarker(std::make_pair(a, TVector{3e11L, 3e11L}));
            aids()->refresh();
        }
        aids()->setScaleBar(true);
        aids()->setScaleBar(false);
        aids()->setTimelineMarker(std::nullopt);
        QCOMPARE(aids()->overlay().pathBuilds(), builds);
        QCOMPARE(surface()->overlay(), before);
        // A zoom builds it again.
        window->zoomInAction->trigger();
        settle(*window);
        QVERIFY(aids()->overlay().pathBuilds() > builds);
    }

    // An off-screen marker's distance never hides under the control panel: a body far to the left at the
    // panel's height has its label above or below the panel.
    void markerLabelStaysClearOfThePanel() {
        const QRect panel = window->panel()->geometry();
        QVERIFY(panel.isValid());
        const Extended sf = records->CurSettings.sf();
        records->CurSettings.setBPos(TVector{-4000 * sf, Extended(panel.center().y()) * sf});
        aids()->setOffscreenMarkers(true);
        const std::optional<OffscreenMarker> m =
            offscreenMarkerFor(records->CurSettings.BPos(), sf, surface()->size());
        QVERIFY(m && m->edge == PlotEdge::Left);
        const QImage layer = surface()->overlay();
        int redBeside = 0, redUnder = 0;
        for (int y = 0; y < layer.height(); ++y)
            for (int x = 0; x < 120; ++x) {
                if (!hasColor(layer, x, y, Red)) continue;
                // The arrow itself points at the body from the edge; the label's pixels are the rest.
                const bool arrow = x < 16 && std::abs(y - int(m->tip.y())) < 8;
                if (arrow) continue;
                ++redBeside;
                if (panel.contains(x, y)) ++redUnder;
            }
        QVERIFY2(redBeside > 10, qPrintable(QString("%1 label pixels").arg(redBeside)));
        QCOMPARE(redUnder, 0);
    }

    // Exit during a run says on the plot that the program ends at the next Pause, above the kept image, and
    // the Pause then ends it.
    void exitDuringARunSaysWhenItHappens() {
        bool ended = false;
        window->onQuit = [&ended] { ended = true; };
        bool noticed = false, keptClean = false;
        runUntilPaused([&](int s) {
            if (s == 40 * 5) window->exitAction->trigger();
            if (s == 40 * 8) {
                noticed = surface()->notice() == QStringLiteral("Ends at the next Pause") &&
                          !surface()->overlay().isNull();
                keptClean = surface()->renderWithOverlays() == surface()->image().copy(surface()->rect());
                QVERIFY(!ended);
                window->pauseButton->click();
            }
        });
        QVERIFY(noticed);
        QVERIFY(keptClean);
        QVERIFY(ended);
    }

    void turningTheAidsOffRestoresTheRunsPixels() {
        pauseAtStep(40 * 120 + 17);
        QCOMPARE(records->PlotCount, 120);
        // The panel is a child widget over the plot; without it the screen shows the plot alone.
        window->panel()->hide();
        const QImage kept = surface()->image().copy();
        const QImage before = shown();
        QCOMPARE(before, kept);

        aids()->setExactPath(true);
        aids()->setScaleBar(true);
        aids()->setOffscreenMarkers(true);
        QCOMPARE(surface()->image(), kept);
        QVERIFY(shown() != before);
        QVERIFY(surface()->renderWithOverlays() != kept);
        QCOMPARE(surface()->renderWithOverlays(), shown());

        aids()->setExactPath(false);
        aids()->setScaleBar(false);
        aids()->setOffscreenMarkers(false);
        QVERIFY(surface()->overlay().isNull());
        QCOMPARE(surface()->image(), kept);
        QCOMPARE(shown(), before);
        QCOMPARE(surface()->renderWithOverlays(), kept);
    }

    void exportedPictureShowsTheAidsAsTheScreenDoes() {
        pauseAtStep(40 * 30);
        const QString off = home.path() + "/off.png";
        const QString on = home.path() + "/on.png";
        dialogs->saveAnswers.push_back(off);
        window->exportPicture();
        aids()->setExactPath(true);
        aids()->setScaleBar(true);
        dialogs->saveAnswers.push_back(on);
        window->exportPicture();
        QVERIFY(exportsDone());
        QCOMPARE(QImage(off).convertToFormat(QImage::Format_RGB32), surface()->image());
        const QImage withAids = QImage(on).convertToFormat(QImage::Format_RGB32);
        QVERIFY(withAids != surface()->image());
        QCOMPARE(withAids, surface()->renderWithOverlays());
    }

    void runClockCountsStepsAcrossPausesAndReplays() {
        const Extended dt = records->CurSettings.dT() / records->CurSettings.cpT();
        // The readout hears of each plot point before the step's hook: the clock must already include that
        // step, so plot point n reads n x dT.
        int points = 0, mismatches = 0;
        const auto c = connect(window, &MainWindow::plotPointDrawn, this, [&](const QString& days) {
            ++points;
            mismatches += aids()->stepsTaken() != std::int64_t{steps} + 1 ||
                          aids()->elapsed() != points * records->CurSettings.dT() ||
                          days.toDouble() != points * 1.0;
        });
        pauseAtStep(130);
        disconnect(c);
        QCOMPARE(points, 3);
        QCOMPARE(mismatches, 0);
        QCOMPARE(aids()->stepsTaken(), std::int64_t(130));
        QCOMPARE(aids()->elapsed(), 130 * dt);
        // A run started from a record keeps that record: CurSettings may change meanwhile.
        const TState start = records->CurSettings;
        records->CurSettings.setBSpeed(1);
        QVERIFY(aids()->runStart() == start);
        records->CurSettings = start;

        const int before = steps;
        runUntilPaused([this, before](int s) {
            if (s == before + 45) window->controlRun(window->pauseButton);
        });
        QCOMPARE(aids()->stepsTaken(), std::int64_t(175));
        QCOMPARE(records->PlotCount, 4);

        // A re-centring replays whole plot points only, and draws the overlay once, when it has ended.
        aids()->setExactPath(true);
        bool overlayDuringReplay = false;
        int replaySteps = 0;
        onStep = [&](int) {
            ++replaySteps;
            overlayDuringReplay |= !surface()->overlay().isNull();
        };
        window->plotMousePress(Qt::LeftButton, 300, 200);
        QVERIFY(settle(*window));
        onStep = nullptr;
        QCOMPARE(records->SimState, Paused);
        QVERIFY2(replaySteps > 0, "the re-centring did not replay");
        QVERIFY(!overlayDuringReplay);
        QVERIFY(!surface()->overlay().isNull());
        QCOMPARE(aids()->stepsTaken(), std::int64_t(4 * 40));
        QVERIFY(aids()->runStart() == records->CurSettings);

        // So does a zoom, whether it replays or redraws the kept points; the overlay follows the new scale.
        const QImage unzoomed = surface()->overlay().copy();
        window->zoom(window->zoomInButton);
        QVERIFY(settle(*window));
        QCOMPARE(aids()->stepsTaken(), std::int64_t(4 * 40));
        QCOMPARE(aids()->elapsed(), 4 * records->CurSettings.dT());
        QVERIFY(!surface()->overlay().isNull() && surface()->overlay() != unzoomed);
    }

    // Without the step hook the run takes as many steps in a slice as the window's clock allows; the run
    // clock still counts every one of them.
    void runClockCountsEveryStepWhenThePumpWaitsForTheClock() {
        RunControllerSeams::setAfterStep(*window->runController(), nullptr);
        QTimer::singleShot(300, window, [this] { window->controlRun(window->pauseButton); });
        QTest::mouseClick(window->runButton, Qt::LeftButton);
        QVERIFY(settle(*window));
        QCOMPARE(records->SimState, Paused);
        const std::int64_t taken = aids()->stepsTaken();
        QVERIFY2(taken > 1000, qPrintable(QString::number(taken)));
        QCOMPARE(records->PlotCount, std::int32_t(taken / records->CurSettings.cpT()));
        // As many steps from the start, one pump after each, end on the same records.
        SimRecords again;
        again.CurSettings = again.CurState = records->CurSettings;
        again.SimState = Running;
        CountingHost host(again, taken);
        ::Run(again, host, 0, 0);
        QVERIFY(again.CurState == records->CurState);
        QVERIFY(again.NextState == records->NextState);
    }

    void integrationErrorShowsTheDotsLeavingAtClosestApproach_data() {
        QTest::addColumn<double>("interval");
        QTest::addColumn<double>("atLeast");
        QTest::addColumn<double>("below");
        // The default run's dots leave their orbit at the closest approach on day 111; at one hour a step
        // they stay with it.
        QTest::newRow("1 day") << 86400.0 << 1e9 << 1e11;
        QTest::newRow("1 hour") << 3600.0 << 1e6 << 1e9;
    }
    void integrationErrorShowsTheDotsLeavingAtClosestApproach() {
        QFETCH(double, interval);
        QFETCH(double, atLeast);
        QFETCH(double, below);
        QVERIFY(!aids()->integrationError().has_value());
        records->CurSettings.setDT(interval);
        const int stepsTo130Days = int(130 * 86400 / interval) * records->CurSettings.cpT();
        int stepsTo60Days = int(60 * 86400 / interval) * records->CurSettings.cpT();
        std::optional<IntegrationError> early;
        runUntilPaused([&](int s) {
            if (s == stepsTo60Days) early = aids()->integrationError();
            if (s == stepsTo130Days) window->controlRun(window->pauseButton);
        });
        QVERIFY(early.has_value());
        const std::optional<IntegrationError> late = aids()->integrationError();
        QVERIFY(late.has_value());
        // Before the approach the error is a small part of what it becomes after it.
        // The error jumps at the approach.
        QVERIFY(early->bodyB * 100 < late->bodyB);
        QVERIFY2(late->bodyB >= atLeast && late->bodyB < below,
                 qPrintable(QString("body B is %1 m from its exact place").arg(double(late->bodyB))));
        // Momentum is shared: the errors stand in the inverse ratio of the masses.
        const Extended ratio = records->CurSettings.BMass() / records->CurSettings.AMass();
        QVERIFY(std::fabs(double(late->bodyA / late->bodyB - ratio)) < 0.05 * double(ratio));
    }

    void scaleBarIsARoundLengthAtTheScale_data() {
        QTest::addColumn<double>("sf");
        QTest::addColumn<QString>("label");
        QTest::addColumn<int>("pixels");
        QTest::newRow("default 1e9 m/px") << 1e9 << "100 million km" << 100;
        QTest::newRow("zoomed out to 2e9") << 2e9 << "200 million km" << 100;
        QTest::newRow("fully zoomed in to 1e8") << 1e8 << "10 million km" << 100;
        QTest::newRow("1.25e9: an AU fits better") << 1.25e9 << "1 AU" << 120;
        QTest::newRow("fully zoomed out to 1e10") << 1e10 << "1 billion km" << 100;
        QTest::newRow("5e9: 5 AU beats 500 million km") << 5e9 << "5 AU" << 150;
        QTest::newRow("0.1 AU is the smallest") << 1e8 * 1.3 << "0.1 AU" << 115;
        QTest::newRow("a damaged scale: 1000 AU") << 1.5e12 << "1000 AU" << 100;
    }
    void scaleBarIsARoundLengthAtTheScale() {
        QFETCH(double, sf);
        QFETCH(QString, label);
        QFETCH(int, pixels);
        const int room = pixels > PlotOverlay::ScaleBarMaxPixels ? pixels : PlotOverlay::ScaleBarMaxPixels;
        const std::optional<ScaleBar> bar = scaleBarFor(sf, room);
        QVERIFY(bar.has_value());
        QCOMPARE(bar->label, label);
        QCOMPARE(bar->pixels, pixels);
        if (room != PlotOverlay::ScaleBarMaxPixels) return;

        // Drawn as a white bar on the blue background, its ends ticked, clear of the panel.
        records->CurSettings.setSf(sf);
        aids()->setScaleBar(true);
        const QImage layer = surface()->overlay();
        const int y = layer.height() - PlotOverlay::ScaleBarBottomMargin;
        const int x0 = PlotOverlay::ScaleBarLeft;
        for (int x = x0; x <= x0 + pixels; ++x) QVERIFY(hasColor(layer, x, y, Qt::white));
        QVERIFY(!hasColor(layer, x0 - 1, y, Qt::white));
        QVERIFY(!hasColor(layer, x0 + pixels + 1, y, Qt::white));
        QVERIFY(hasColor(layer, x0 + pixels, y - 4, Qt::white));
        QVERIFY(!window->panel()->geometry().intersects(QRect(x0, y - 20, pixels + 1, 21)));
    }

    void scaleBarFollowsTheZoom() {
        pauseAtStep(40);
        aids()->setScaleBar(true);
        const std::optional<ScaleBar> before =
            scaleBarFor(records->CurSettings.sf(), PlotOverlay::ScaleBarMaxPixels);
        const QImage first = surface()->overlay().copy();
        window->zoom(window->zoomOutButton);
        QVERIFY(settle(*window));
        QCOMPARE(double(records->CurSettings.sf()), 2e9);
        QVERIFY(surface()->overlay() != first);
        const std::optional<ScaleBar> after = scaleBarFor(2e9, PlotOverlay::ScaleBarMaxPixels);
        QVERIFY(before->label != after->label);
    }

    void distanceInWordsRoundsToThreeDigits_data() {
        QTest::addColumn<double>("metres");
        QTest::addColumn<QString>("text");
        QTest::newRow("hundreds of millions") << 3.1249e11 << "312 million km";
        QTest::newRow("tens of thousands") << 4.83e7 << "48.3 thousand km";
        QTest::newRow("rounds up into the next word") << 9.9996e11 << "1 billion km";
        QTest::newRow("under a thousand km") << 5e5 << "500 km";
    }
    void distanceInWordsRoundsToThreeDigits() {
        QFETCH(double, metres);
        QFETCH(QString, text);
        QCOMPARE(distanceInWords(metres), text);
    }

    void offscreenArrowSitsOnTheEdgeTowardsTheBody_data() {
        QTest::addColumn<double>("u");
        QTest::addColumn<double>("v");
        QTest::addColumn<int>("edge");
        QTest::newRow("far right") << 3e12 << 2.7e11 << int(PlotEdge::Right);
        QTest::newRow("left, just off") << -5e9 << 2e11 << int(PlotEdge::Left);
        QTest::newRow("above") << 4e11 << -2e12 << int(PlotEdge::Top);
        QTest::newRow("below and a little left") << 3e11 << 4e12 << int(PlotEdge::Bottom);
    }
    void offscreenArrowSitsOnTheEdgeTowardsTheBody() {
        QFETCH(double, u);
        QFETCH(double, v);
        QFETCH(int, edge);
        records->CurSettings.setBPos(TVector{u, v});
        aids()->setOffscreenMarkers(true);
        const std::optional<OffscreenMarker> m =
            offscreenMarkerFor(records->CurSettings.BPos(), records->CurSettings.sf(), surface()->size());
        QVERIFY(m.has_value());
        QCOMPARE(int(m->edge), edge);

        // Body B's red arrow is drawn in a band along that edge, and nowhere along the others.
        const QImage layer = surface()->overlay();
        const int w = layer.width(), h = layer.height();
        const QRect bands[4] = {QRect(0, 0, 16, h), QRect(0, 0, w, 16), QRect(w - 16, 0, 16, h),
                                QRect(0, h - 16, w, 16)};
        const auto redIn = [&](const QRect& band) {
            int red = 0;
            for (int y = band.top(); y <= band.bottom(); ++y)
                for (int x = band.left(); x <= band.right(); ++x) red += hasColor(layer, x, y, Red);
            return red;
        };
        QVERIFY2(redIn(bands[edge]) >= 20,
                 qPrintable(QString("%1 red pixels on the arrow's edge").arg(redIn(bands[edge]))));
        QCOMPARE(redIn(bands[(edge + 2) % 4]), 0);
        // Body A is on the plot: no yellow arrow.
        int yellow = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) yellow += hasColor(layer, x, y, Yellow);
        QCOMPARE(yellow, 0);

        // Back in view, the arrow is gone.
        records->CurSettings.setBPos(TVector{4e11, 3e11});
        aids()->refresh();
        QVERIFY(
            !offscreenMarkerFor(records->CurSettings.BPos(), records->CurSettings.sf(), surface()->size()));
        int left = 0;
        const QImage after = surface()->overlay();
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) left += hasColor(after, x, y, Red);
        QCOMPARE(left, 0);
    }
};

QTEST_MAIN(ViewAidsTest)
#include "view_aids_qtest.moc"
