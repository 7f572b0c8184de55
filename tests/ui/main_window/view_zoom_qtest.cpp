#include <QSignalSpy>
#include <QWheelEvent>
#include <QtTest>
#include <cmath>
#include <vector>

#include "core/kepler_propagation.h"
#include "main_window_fixture.h"

Q_DECLARE_METATYPE(RunState)

// Zooming with the wheel about the pointer, and View > Fit Both Orbits. The plot has no view offset: both
// change the scale and move the start positions, as a re-centring does.
class ViewZoomTest : public MainWindowFixture {
    Q_OBJECT

    PlotSurface* surface() const { return window->plotSurface(); }

    // Wheel notches at a pixel of the plot, as the window system sends them.
    void wheel(QPoint at, int notches) {
        QWheelEvent event(QPointF(at), QPointF(surface()->mapToGlobal(at)), QPoint(),
                          QPoint(0, 120 * notches), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(surface(), &event);
    }
    // The merged zoom has happened, and the replay it started has ended.
    void waitForZoom(double sfBefore) {
        QTRY_VERIFY(double(records->CurSettings.sf()) != sfBefore);
        settle(*window);
    }
    void bringTo(RunState state) {
        if (state == Paused) runAndPauseAt(40 * 30);
    }

private slots:
    void initTestCase() { keepDataInDataHome(true); }
    void init() {
        makeWindow();
        showWindow();
        setPlotSize({810, 537});
    }
    void cleanup() { closeWindow(); }

    void wheelKeepsThePointUnderThePointer_data() {
        QTest::addColumn<RunState>("state");
        QTest::addColumn<QPoint>("pointer");
        QTest::addColumn<int>("notches");
        QTest::newRow("ready, in") << Ready << QPoint(300, 200) << 1;
        QTest::newRow("ready, out, odd pixel") << Ready << QPoint(601, 333) << -1;
        QTest::newRow("ready, two notches in") << Ready << QPoint(100, 400) << 2;
        QTest::newRow("paused, in") << Paused << QPoint(450, 120) << 1;
        QTest::newRow("paused, out") << Paused << QPoint(17, 501) << -1;
    }
    void wheelKeepsThePointUnderThePointer() {
        QFETCH(RunState, state);
        QFETCH(QPoint, pointer);
        QFETCH(int, notches);
        bringTo(state);
        const TState before = records->CurSettings;
        // The point under the pointer, as an offset from Body A's start: the plot moves with the bodies.
        const Extended relU = pointer.x() * before.sf() - before.APos().u;
        const Extended relV = pointer.y() * before.sf() - before.APos().v;
        QSignalSpy changes(window, &MainWindow::settingsChanged);
        QSignalSpy replays(window, &MainWindow::replayFinished);
        wheel(pointer, notches);
        waitForZoom(double(before.sf()));
        const TState& after = records->CurSettings;
        QCOMPARE(double(after.sf()), double(before.sf() / std::pow(2.0L, notches)));
        QVERIFY(std::fabs(double((after.APos().u + relU) / after.sf()) - pointer.x()) <= 1.0);
        QVERIFY(std::fabs(double((after.APos().v + relV) / after.sf()) - pointer.y()) <= 1.0);
        // Both bodies moved alike, by whole pixels at the new scale.
        const Extended du = (after.APos().u - before.APos().u) / after.sf();
        QVERIFY(du == std::nearbyint(du));
        QVERIFY(after.BPos().u - before.BPos().u == after.APos().u - before.APos().u);
        QCOMPARE(changes.count(), 1);
        QCOMPARE(replays.count(), state == Paused ? 1 : 0);
        QCOMPARE(records->SimState, state);
    }

    // Notches that come together make one zoom and one replay.
    void notchesInQuickSuccessionMakeOneZoom() {
        bringTo(Paused);
        const Extended sf = records->CurSettings.sf();
        QSignalSpy changes(window, &MainWindow::settingsChanged);
        QSignalSpy replays(window, &MainWindow::replayFinished);
        wheel({400, 260}, 1);
        wheel({400, 260}, 1);
        waitForZoom(double(sf));
        QCOMPARE(double(records->CurSettings.sf()), double(sf / 4));
        QCOMPARE(changes.count(), 1);
        QCOMPARE(replays.count(), 1);
    }

    // The wheel does nothing while the run goes on, nor past the buttons' limits.
    void wheelIsIgnoredWhileRunningAndAtTheLimits() {
        bool tried = false;
        runWith(*window, onStep, [&](int s) {
            if (s == 40 * 3) {
                wheel({400, 260}, 1);
                tried = true;
            }
            if (s == 40 * 3 + 1) window->controlRun(window->pauseButton);
        });
        QVERIFY(tried);
        QTest::qWait(MainWindow::WheelMergeMs * 2);
        QCOMPARE(double(records->CurSettings.sf()), 1e9);

        window->controlRun(window->resetButton);
        TState s = records->CurSettings;
        s.setSf(1e8L);
        records->setCurSettings(s);
        const TState before = records->CurSettings;
        wheel({400, 260}, 1);
        QTest::qWait(MainWindow::WheelMergeMs * 2);
        QVERIFY(records->CurSettings == before);
    }

    void fitShowsBothExactPathsInsideThePlot_data() {
        QTest::addColumn<RunState>("state");
        QTest::addColumn<double>("startSf");
        QTest::newRow("ready, zoomed in too far") << Ready << 1e8;
        QTest::newRow("ready, zoomed out beyond the buttons") << Ready << 5e10;
        QTest::newRow("paused") << Paused << 1e9;
    }
    void fitShowsBothExactPathsInsideThePlot() {
        QFETCH(RunState, state);
        QFETCH(double, startSf);
        TState s = records->CurSettings;
        s.setSf(startSf);
        records->setCurSettings(s);
        bringTo(state);
        QVERIFY(window->fitBothOrbitsAction->isEnabled());
        window->fitBothOrbitsAction->trigger();
        settle(*window);
        QCOMPARE(records->SimState, state);
        const TState& fitted = records->CurSettings;
        const KeplerPropagation exact(fitted);
        const Extended period = *exact.period();
        const QSize plot = surface()->size();
        double minX = INFINITY, maxX = -INFINITY;
        for (int i = 0; i <= 4000; ++i) {
            const auto b = exact.at(period * i / 4000);
            for (const TVector& x : {b->positionA, b->positionB}) {
                const double px = double(x.u / fitted.sf()), py = double(x.v / fitted.sf());
                QVERIFY2(px >= 0 && px < plot.width() && py >= 0 && py < plot.height(),
                         qPrintable(QString("(%1, %2) is off the plot").arg(px).arg(py)));
                minX = std::min(minX, px);
                maxX = std::max(maxX, px);
            }
        }
        // No larger than needed: the default orbit is wider than high, so it spans the width.
        QVERIFY(maxX - minX > plot.width() - 40);
        if (state == Paused) QVERIFY(!window->keptPoints().empty());
    }

    void fitIsDisabledWhileRunning() {
        bool disabled = false;
        runWith(*window, onStep, [&](int s) {
            if (s == 40) {
                disabled = !window->fitBothOrbitsAction->isEnabled();
                window->controlRun(window->pauseButton);
            }
        });
        QVERIFY(disabled);
        QVERIFY(window->fitBothOrbitsAction->isEnabled());
    }
};

QTEST_MAIN(ViewZoomTest)
#include "view_zoom_qtest.moc"
