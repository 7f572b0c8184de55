#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QUndoStack>
#include <QtTest>
#include <functional>

#include "core/vector_math.h"
#include "main_window_fixture.h"
#include "ui/plot/plot_overlay.h"
#include "ui/plot/view_aids.h"

// Start markers and velocity arrows in Ready, dragging them on the plot, and undo over every change of the
// start.
class StartMarkersTest : public MainWindowFixture {
    Q_OBJECT

    PlotSurface* surface() const { return window->plotSurface(); }
    void mouse(QEvent::Type type, QPointF at, Qt::MouseButton button = Qt::LeftButton) {
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
        QMouseEvent event(type, at, surface()->mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(surface(), &event);
    }
    // Press at from, move in two steps to to, and release there.
    void drag(QPointF from, QPointF to, const std::function<void()>& midway = {}) {
        mouse(QEvent::MouseButtonPress, from);
        mouse(QEvent::MouseMove, (from + to) / 2);
        mouse(QEvent::MouseMove, to);
        if (midway) midway();
        mouse(QEvent::MouseButtonRelease, to);
    }
    StartMarks marks() const { return startMarksFor(records->CurSettings); }

private slots:
    void initTestCase() { keepDataInDataHome(true); }
    void init() {
        makeWindow(true);
        showWindow();
        setPlotSize({810, 537});
        window->startMarkersAction->setChecked(true);
        window->startMarkersAction->trigger();
        if (!window->viewAids()->options().startMarkers) window->startMarkersAction->trigger();
        QVERIFY(window->viewAids()->options().startMarkers);
    }
    void cleanup() {
        window->viewAids()->setStartMarkers(false);
        closeWindow();
    }

    void ringsAndArrowsShowInReadyOnly() {
        const StartMarks m = marks();
        QVERIFY(m.ring[0] && m.ring[1] && m.head[0] && m.head[1]);
        // The default bodies move at 30 and 2 km/s: the scale is 20 km/s per 50 px.
        QCOMPARE(double(m.kmPerSecondPerScale), 20.0);
        QCOMPARE(m.legend(), QString("50 px = 20 km/s"));
        const QImage shown = surface()->overlay();
        const auto ringPixelOf = [&](int body, QColor c) {
            const QPoint r = *m.ring[body] + QPoint(6, 0);
            for (int dx = -1; dx <= 1; ++dx)
                if (QColor(shown.pixel(r.x() + dx, r.y())) == c) return true;
            return false;
        };
        QVERIFY(ringPixelOf(0, Qt::yellow));
        QVERIFY(ringPixelOf(1, Qt::red));
        runAndPauseAt(40 * 3);
        QVERIFY(surface()->overlay().isNull() || surface()->overlay().pixel(*m.ring[0] + QPoint(6, 0)) == 0);
    }

    // A drag of a ring released at (X, Y) stores what a right-button pick there stores; the aids show the
    // dragged start meanwhile.
    void draggingARingMovesThatBodysStart() {
        const TState before = records->CurSettings;
        const QPointF ring(*marks().ring[1]);
        const QPoint to(200, 150);
        bool previewed = false;
        QSignalSpy previews(window, &MainWindow::startPreviewed);
        drag(ring, to, [&] {
            const std::optional<TState>& p = window->viewAids()->preview();
            previewed = p && p->BPos().u == 200 * before.sf() && p->BPos().v == 150 * before.sf();
        });
        QVERIFY(previewed);
        QVERIFY(previews.count() >= 1);
        QVERIFY(!window->viewAids()->preview());
        QVERIFY(records->CurSettings.BPos().u == to.x() * before.sf());
        QVERIFY(records->CurSettings.BPos().v == to.y() * before.sf());
        QVERIFY(records->CurSettings.APos().u == before.APos().u &&
                records->CurSettings.APos().v == before.APos().v);
        QVERIFY(records->CurSettings.BSpeed() == before.BSpeed());
    }

    // The arrow's head sets the speed and direction: 50 px straight up is the scale's speed at 0 degrees.
    void draggingAnArrowHeadSetsSpeedAndDirection_data() {
        QTest::addColumn<QPointF>("offset");
        QTest::addColumn<double>("speed");
        QTest::addColumn<double>("direction");
        QTest::newRow("up, one scale") << QPointF(0, -50) << 20.0 << 0.0;
        QTest::newRow("right, two scales") << QPointF(100, 0) << 40.0 << 90.0;
        QTest::newRow("down-left") << QPointF(-30, 40) << 20.0 << double(V2Dir(TVector{-30, 40}));
    }
    void draggingAnArrowHeadSetsSpeedAndDirection() {
        QFETCH(QPointF, offset);
        QFETCH(double, speed);
        QFETCH(double, direction);
        const StartMarks m = marks();
        const QPointF ring(*m.ring[0]);
        drag(*m.head[0], ring + offset);
        QCOMPARE(double(records->CurSettings.ASpeed()), speed);
        QCOMPARE(double(records->CurSettings.ADir()), direction);
    }

    void escapeCancelsADrag() {
        const TState before = records->CurSettings;
        const QPointF ring(*marks().ring[0]);
        drag(ring, {300, 300}, [&] {
            QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(window, &esc);
            QVERIFY(!window->dragging());
        });
        QVERIFY(records->CurSettings == before);
        QVERIFY(!window->viewAids()->preview());
        QCOMPARE(window->undoStack()->count(), 0);
    }

    // The Initial State dialog's pending values are what the aids show while it is open.
    void theDialogsPendingStartIsShown() {
        window->bodyAInitialStateAction->trigger();
        QTRY_VERIFY(initialStateDialog->isVisible());
        initialStateDialog->pickPosition(123, 234);
        const std::optional<TState>& p = window->viewAids()->preview();
        QVERIFY(p && p->APos().u == 123 * records->CurSettings.sf());
        initialStateDialog->cancel();
        QTRY_VERIFY(!window->viewAids()->preview());
    }

    // Each kind of change is one step: undo brings back the whole record before it, redo the one after.
    void undoAndRedoEachKindOfChange_data() {
        QTest::addColumn<int>("kind");
        QTest::newRow("restore default start") << 0;
        QTest::newRow("wheel zoom") << 1;
        QTest::newRow("fit both orbits") << 2;
        QTest::newRow("plot interval") << 3;
        QTest::newRow("drag") << 4;
        QTest::newRow("re-centring while paused") << 5;
    }
    void undoAndRedoEachKindOfChange() {
        QFETCH(int, kind);
        if (kind == 0) {
            TState s = records->CurSettings;
            s.setAMass(3e30L);
            s.setBSpeed(7);
            records->setCurSettings(s);
        }
        const TState before = records->CurSettings;
        const int stepsBefore = window->undoStack()->count();
        QAction* markedBefore = nullptr;
        for (QAction* a : window->plotIntervalActions)
            if (a->isChecked()) markedBefore = a;
        QVERIFY(markedBefore && markedBefore != window->plotIntervalActions.front());
        switch (kind) {
            case 0:
                window->restoreDefaultStartAction->trigger();
                break;
            case 1:
                window->wheelZoom(300, 200, 1);
                QTRY_VERIFY(!(records->CurSettings == before));
                break;
            case 2:
                window->fitBothOrbitsAction->trigger();
                break;
            case 3:
                window->plotIntervalActions.front()->trigger();
                break;
            case 4:
                drag(QPointF(*marks().ring[0]), {250, 250});
                break;
            case 5:
                runAndPauseAt(40 * 4);
                window->plotMousePress(Qt::LeftButton, 100, 100);
                settle(*window);
                window->controlRun(window->resetButton);
                break;
        }
        const TState after = records->CurSettings;
        QVERIFY(!(after == before));
        QCOMPARE(window->undoStack()->count(), stepsBefore + 1);
        QVERIFY(window->undoAction->isEnabled());
        window->undoAction->trigger();
        QVERIFY(records->CurSettings == before);
        // The interval's mark moves back as a click on that interval would move it.
        if (kind == 3) QVERIFY(markedBefore->isChecked());
        window->redoAction->trigger();
        QVERIFY(records->CurSettings == after);
        if (kind == 3) QVERIFY(window->plotIntervalActions.front()->isChecked());
    }

    void undoWaitsForReady() {
        window->restoreDefaultStartAction->trigger();
        TState s = records->CurSettings;
        s.setBSpeed(5);
        records->setCurSettings(s);
        QVERIFY(window->undoAction->isEnabled());
        runAndPauseAt(40 * 2);
        QVERIFY(!window->undoAction->isEnabled());
        QVERIFY(!window->restoreDefaultStartAction->isEnabled());
        window->undo();
        QVERIFY(records->CurSettings.BSpeed() == 5);
        window->controlRun(window->resetButton);
        QVERIFY(window->undoAction->isEnabled());
    }
};

QTEST_MAIN(StartMarkersTest)
#include "start_markers_qtest.moc"
