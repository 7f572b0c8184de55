#include <QPushButton>
#include <QtTest>
#include <functional>
#include <memory>

#include "scripted_dialogs.h"
#include "step_counting.h"
#include "ui/main_window/main_window.h"
#include "ui/plot/plot_surface.h"

namespace {

// One window with its own records, driven step by step through the after-step hook.
struct Session {
    ScriptedDialogs dialogs;
    SimRecords records;
    std::unique_ptr<TestMainWindow> window;
    int steps = 0;
    std::function<void(int)> onStep;

    explicit Session(const std::function<void(TState&)>& setUp = nullptr) {
        if (setUp) setUp(records.CurSettings);
        window = std::make_unique<TestMainWindow>(records, dialogs);
        countSteps(*window, steps, onStep);
        window->show();
        const QSize extra = window->size() - window->plotSurface()->size();
        window->resize(QSize(600, 400) + extra);
        QCoreApplication::processEvents();
    }
    // Clicks Run and pauses after the given number of steps of this leg (replays step too, uncounted here).
    void runFor(int legSteps) {
        const int step = steps + legSteps;
        onStep = [this, step](int s) {
            if (s == step) window->controlRun(window->pauseButton);
        };
        window->controlRun(window->runButton);
        QVERIFY(settle(*window));
        onStep = nullptr;
        QCOMPARE(records.SimState, Paused);
    }
    const QImage& image() const { return window->plotSurface()->image(); }
};

// A replay at the scale the other session's zoom chose, the way every zoom redrew before kept points.
void replayAtScale(Session& s, Extended sf) {
    s.records.CurSettings.setSf(sf);
    s.window->clearPlot();
    s.window->replay();
    QVERIFY(settle(*s.window));
}

void expectSameOutcome(Session& kept, Session& replayed) {
    QCOMPARE(kept.records.PlotCount, replayed.records.PlotCount);
    QCOMPARE(kept.records.SimState, replayed.records.SimState);
    QVERIFY(kept.records.CurState == replayed.records.CurState);
    QVERIFY(kept.records.CurSettings == replayed.records.CurSettings);
    QVERIFY(kept.image() == replayed.image());
}

}  // namespace

class KeptPointsTest : public QObject {
    Q_OBJECT

    QTemporaryDir dataHome;

private slots:
    void initTestCase() {
        QVERIFY(dataHome.isValid());
        qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());
    }

    void zoomFromKeptPointsLeavesWhatAReplayLeaves_data() {
        QTest::addColumn<int>("pauseStep");
        QTest::addColumn<bool>("zoomIn");
        // The default run plots every 40 steps; a pause may come between two plot points.
        QTest::newRow("at a plot point, in") << 40 * 150 << true;
        QTest::newRow("at a plot point, out") << 40 * 150 << false;
        QTest::newRow("between plot points") << 40 * 150 + 17 << true;
        QTest::newRow("before the first plot point") << 5 << true;
    }
    void zoomFromKeptPointsLeavesWhatAReplayLeaves() {
        QFETCH(int, pauseStep);
        QFETCH(bool, zoomIn);
        Session kept, replayed;
        kept.runFor(pauseStep);
        replayed.runFor(pauseStep);

        kept.window->zoom(zoomIn ? kept.window->zoomInButton : kept.window->zoomOutButton);
        QVERIFY(settle(*kept.window));
        QVERIFY(kept.window->lastZoomUsedKeptPoints());
        replayAtScale(replayed, kept.records.CurSettings.sf());
        expectSameOutcome(kept, replayed);

        // And the run goes on from there exactly as it does after a replay.
        kept.runFor(40 * 20);
        replayed.runFor(40 * 20);
        expectSameOutcome(kept, replayed);
    }

    void zoomReplaysWhenKeptPointsMayDiffer_data() {
        QTest::addColumn<QString>("why");
        QTest::addColumn<bool>("keptPointsUsable");
        QTest::newRow("resumed after a plot point") << "resume at plot point" << true;
        QTest::newRow("resumed between plot points") << "resume between" << false;
        QTest::newRow("cpT does not divide a million, resumed") << "cpT 7 resumed" << false;
        QTest::newRow("cpT does not divide a million, never resumed") << "cpT 7" << true;
        QTest::newRow("a start value changed while paused") << "speed changed" << false;
        QTest::newRow("the label changed by a save") << "label changed" << true;
        QTest::newRow("thinned") << "thinned" << false;
        QTest::newRow("a live run failed part-way") << "failed" << false;
    }
    void zoomReplaysWhenKeptPointsMayDiffer() {
        QFETCH(QString, why);
        QFETCH(bool, keptPointsUsable);
        const auto setUp = [&](TState& s) {
            if (why.startsWith("cpT 7")) s.setCpT(7);
        };
        Session kept(setUp), replayed(setUp);
        const int plotStep = why.startsWith("cpT 7") ? 7 : 40;
        for (Session* s : {&kept, &replayed}) {
            if (why == "thinned") s->window->setKeptPointCapacity(64);
            if (why == "failed") {
                // A live run that fails part-way, then paused: the points kept so far stand for no call's
                // count.
                s->onStep = [s, plotStep](int n) {
                    // Both bodies at one point: the next step fails.
                    if (n == plotStep * 30 + 5) s->records.CurState.setBPos(s->records.CurState.APos());
                };
                QTest::mouseClick(s->window->runButton, Qt::LeftButton);
                QVERIFY(settle(*s->window));
                s->onStep = nullptr;
                QCOMPARE(s->records.SimState, Running);
                s->window->controlRun(s->window->pauseButton);
                QCOMPARE(s->records.SimState, Paused);
                continue;
            }
            if (why.startsWith("resume") || why == "cpT 7 resumed") {
                s->runFor(why == "resume between" ? plotStep * 30 + 3 : plotStep * 30);
                s->runFor(plotStep * 70);
            } else {
                s->runFor(plotStep * 100);
            }
            if (why == "speed changed") s->records.CurSettings.setASpeed(s->records.CurSettings.ASpeed() + 1);
            if (why == "label changed") s->records.CurSettings.setSaveDT(46000);
        }

        kept.window->zoom(kept.window->zoomInButton);
        QVERIFY(settle(*kept.window));
        QCOMPARE(kept.window->lastZoomUsedKeptPoints(), keptPointsUsable);
        replayAtScale(replayed, kept.records.CurSettings.sf());
        expectSameOutcome(kept, replayed);

        // Every replay rebuilds the kept points, so the next zoom can use them.
        if (why != "thinned") {
            kept.window->zoom(kept.window->zoomOutButton);
            QVERIFY(settle(*kept.window));
            QVERIFY(kept.window->lastZoomUsedKeptPoints());
            replayAtScale(replayed, kept.records.CurSettings.sf());
            expectSameOutcome(kept, replayed);
        }
    }

    void reCentringReplaysAndTheNextZoomUsesItsPoints() {
        Session kept, replayed;
        kept.runFor(40 * 200);
        replayed.runFor(40 * 200);
        for (Session* s : {&kept, &replayed}) {
            QTest::mouseClick(s->window->plotSurface(), Qt::LeftButton, {}, {250, 180});
            QVERIFY(settle(*s->window));
        }
        expectSameOutcome(kept, replayed);
        kept.window->zoom(kept.window->zoomOutButton);
        QVERIFY(settle(*kept.window));
        QVERIFY(kept.window->lastZoomUsedKeptPoints());
        replayAtScale(replayed, kept.records.CurSettings.sf());
        expectSameOutcome(kept, replayed);
    }
};

QTEST_MAIN(KeptPointsTest)
#include "kept_points_qtest.moc"
