#include <QAction>
#include <QPushButton>
#include <QSlider>
#include <QtTest>

#include "core/integration_error.h"
#include "core/orbit_readout.h"
#include "plot_point_states.h"
#include "readout_fixture.h"
#include "ui/orbit_readout/readout_text.h"
#include "ui/plot/view_aids.h"

using Row = OrbitReadoutWindow;

// The timeline of a paused run in the Orbit Readout, as the program wires it to the main window.
class TimelineTest : public ReadoutFixture {
    Q_OBJECT

    // The default plot interval has 40 steps, so this pauses right on plot point `points` of the leg.
    void runFor(int points) { runAndPauseAt(steps + points * 40); }
    QSlider* slider() const { return readout->timeline(); }
    QRgb overlayPixel(const TVector& at, int dx, int dy) const {
        const Extended sf = records->CurSettings.sf();
        const QImage& o = window->plotSurface()->overlay();
        if (o.isNull()) return 0;
        return o.pixel(static_cast<int>(std::nearbyint(at.u / sf)) + dx,
                       static_cast<int>(std::nearbyint(at.v / sf)) + dy);
    }

private slots:
    void initTestCase() { keepDataAndConfigApart(); }
    void init() {
        // Wide enough for the docked readout and the default run's plot beside it.
        makeWiredWindows({1600, 900});
        window->orbitReadoutAction->setChecked(true);
        QCoreApplication::processEvents();
    }
    void cleanup() { closeWindow(); }

    void walksThroughTheKeptPointsWhilePaused() {
        QVERIFY(!slider()->isEnabled());
        runFor(150);
        QVERIFY(slider()->isEnabled());
        QCOMPARE(slider()->minimum(), 0);
        QCOMPARE(slider()->maximum(), 150);
        QCOMPARE(slider()->value(), 150);

        // Point 111 is the closest approach of the default run: the readout and the rings show it there.
        const std::vector<TState> states = plotPointStates(records->CurSettings, 150);
        slider()->setValue(111);
        const TState& at = states[110];
        const OrbitReadout o = readOrbit(at);
        QCOMPARE(readout->nowText(Row::ElapsedRow), QString("111.0 days"));
        QCOMPARE(readout->nowText(Row::SeparationRow),
                 QString::fromStdString(distanceText(o.separation, ".")));
        QCOMPARE(readout->nowText(Row::EccentricityRow),
                 QString::fromStdString(eccentricityText(o.eccentricity, ".")));
        QVERIFY2(readout->timelineText().startsWith("Plot point 111 of 150, day 111.0"),
                 qPrintable(readout->timelineText()));
        const auto& marker = window->viewAids()->timelineMarker();
        QVERIFY(marker.has_value());
        QCOMPARE(marker->first.u, at.APos().u);
        QCOMPARE(marker->second.v, at.BPos().v);
        // A ring of radius 7 round each body's cross, in its colour, on the overlay; the kept image
        // untouched.
        QCOMPARE(overlayPixel(at.APos(), 7, 0), qRgb(255, 255, 0));
        QCOMPARE(overlayPixel(at.BPos(), -7, 0), qRgb(255, 0, 0));
        QCOMPARE(qAlpha(overlayPixel(at.APos(), 0, 0)), 0);

        // "Off the exact path" is taken at the chosen point, not at the run's last one.
        const KeplerPropagation exact(window->keptPointsStart());
        for (const int point : {1, 111, 150}) {
            slider()->setValue(point);
            const TState& s = states[point - 1];
            const Extended t = static_cast<Extended>(point * 40) * (s.dT() / 40);
            const std::optional<IntegrationError> expected = integrationError(exact, t, s.APos(), s.BPos());
            const std::optional<IntegrationError> shown = readout->shownIntegrationError();
            QVERIFY(expected && shown);
            QVERIFY(shown->bodyA == expected->bodyA && shown->bodyB == expected->bodyB);
        }
        slider()->setValue(1);
        const QString atDayOne = readout->integrationErrorText();
        slider()->setValue(150);
        QVERIFY(atDayOne != readout->integrationErrorText());
    }

    void theKeyboardStepsThroughThePoints_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::newRow("Left") << int(Qt::Key_Left) << 50 << 49;
        QTest::newRow("Right") << int(Qt::Key_Right) << 50 << 51;
        QTest::newRow("Page Up") << int(Qt::Key_PageUp) << 50 << 60;
        QTest::newRow("Page Down") << int(Qt::Key_PageDown) << 50 << 40;
        QTest::newRow("Home") << int(Qt::Key_Home) << 50 << 0;
        QTest::newRow("End") << int(Qt::Key_End) << 50 << 80;
    }
    void theKeyboardStepsThroughThePoints() {
        QFETCH(int, key);
        QFETCH(int, from);
        QFETCH(int, to);
        runFor(80);
        slider()->setValue(from);
        QTest::keyClick(slider(), Qt::Key(key));
        QCOMPARE(slider()->value(), to);
        QCOMPARE(readout->nowText(Row::ElapsedRow), QString("%1.0 days").arg(to));
    }

    void runGoesOnFromWhereItPausedNotFromTheTimeline() {
        runFor(60);
        slider()->setValue(10);
        QVERIFY(window->viewAids()->timelineMarker().has_value());
        runFor(20);
        // The rings go with the pause; the run stands at 80 points, as a run never scrubbed.
        QCOMPARE(records->PlotCount, 80);
        QVERIFY(records->CurState == plotPointStates(records->CurSettings, 80).back());
        QCOMPARE(slider()->maximum(), 80);
        QCOMPARE(slider()->value(), 80);
        QVERIFY(!window->viewAids()->timelineMarker().has_value());

        // While running the timeline rests: keys do nothing to it.
        bool checked = false;
        const int target = steps + 40 * 5;
        runWith(*window, onStep, [&](int s) {
            if (!checked) {
                checked = true;
                QVERIFY(!slider()->isEnabled());
                QTest::keyClick(slider(), Qt::Key_Home);
                QVERIFY(!window->viewAids()->timelineMarker().has_value());
            }
            if (s == target) window->controlRun(window->pauseButton);
        });
        QVERIFY(checked);
        QCOMPARE(records->SimState, Paused);
        QCOMPARE(slider()->maximum(), 85);
    }

    void aResetLeavesNoRings() {
        runFor(30);
        slider()->setValue(5);
        QVERIFY(!window->plotSurface()->overlay().isNull());
        window->controlRun(window->resetButton);
        QVERIFY(!slider()->isEnabled());
        QVERIFY(!window->viewAids()->timelineMarker().has_value());
        QVERIFY(window->plotSurface()->overlay().isNull());
    }

    void saysWhenALongRunIsThinned() {
        window->setKeptPointCapacity(64);
        runFor(200);
        // 0..200 in 64 places: every 4th point.
        QCOMPARE(window->keptPoints().stride(), 4);
        QCOMPARE(slider()->maximum(), 50);
        QCOMPARE(slider()->value(), 50);
        QVERIFY2(readout->timelineText().contains("thinned: every 4th point"),
                 qPrintable(readout->timelineText()));
        slider()->setValue(25);
        QCOMPARE(readout->nowText(Row::ElapsedRow), QString("100.0 days"));
    }

    // A run whose length is off the stride still ends its timeline at its last plot point.
    void aThinnedTimelineEndsWhereTheRunIs() {
        window->setKeptPointCapacity(64);
        runFor(203);
        QCOMPARE(window->keptPoints().stride(), 4);
        QCOMPARE(slider()->maximum(), 51);
        QCOMPARE(slider()->value(), 51);
        QVERIFY2(readout->timelineText().startsWith("Plot point 203 of 203"),
                 qPrintable(readout->timelineText()));
        QCOMPARE(readout->nowText(Row::ElapsedRow), QString("203.0 days"));
    }

    void saysTheStrideInPlainEnglish() {
        window->setKeptPointCapacity(4);
        runFor(5);
        QCOMPARE(window->keptPoints().stride(), 2);
        QVERIFY2(readout->timelineText().contains("thinned: every 2nd point"),
                 qPrintable(readout->timelineText()));
    }
};

QTEST_MAIN(TimelineTest)
#include "timeline_qtest.moc"
