#include <QAction>
#include <QChartView>
#include <QGraphicsTextItem>
#include <QLineSeries>
#include <QRegularExpression>
#include <QSlider>
#include <QtTest>
#include <algorithm>

#include "app/graphs_wiring.h"
#include "core/kepler_propagation.h"
#include "core/track_graphs.h"
#include "default_locale.h"
#include "marking_translator.h"
#include "readout_fixture.h"
#include "run_controller_seams.h"
#include "ui/graphs/graphs_dock.h"

// The dock as the program wires it: beside the plot, opened from the View menu, drawn from the run's kept
// points, its cursor at the readout's timeline point.
class GraphsDockTest : public ReadoutFixture {
    Q_OBJECT

    GraphsDock* graphs = nullptr;

    void build() {
        makeWiredWindows({1000, 700});
        graphs = new GraphsDock(window);
        wireGraphs(*window, *readout, *graphs);
        QCoreApplication::processEvents();
    }
    // The default plot interval has 40 steps, so this pauses right on plot point `points`.
    void pauseAtPlotPoint(int points) { runToStep(*window, onStep, steps + points * 40); }
    // The graphs of the kept points, computed afresh.
    TrackGraphs expected() const { return trackGraphs(window->keptPoints(), window->keptPointsStart()); }
    static void compare(const QList<QPointF>& points, const std::vector<Extended>& x,
                        const std::vector<Extended>& y) {
        QCOMPARE(points.size(), static_cast<qsizetype>(x.size()));
        for (qsizetype i = 0; i < points.size(); ++i) {
            QCOMPARE(points[i].x(), static_cast<double>(x[static_cast<std::size_t>(i)]));
            QCOMPARE(points[i].y(), static_cast<double>(y[static_cast<std::size_t>(i)]));
        }
    }

    // The numbers the axes of the graphs show.
    QStringList axisNumbers() const {
        static const QRegularExpression number(QStringLiteral("^-?[0-9][0-9.,eE+-]*$"));
        QStringList out;
        for (const QChartView* view : graphs->findChildren<QChartView*>())
            for (const QGraphicsItem* item : view->scene()->items())
                if (const auto* text = dynamic_cast<const QGraphicsTextItem*>(item))
                    if (number.match(text->toPlainText()).hasMatch()) out << text->toPlainText();
        return out;
    }

private slots:
    void initTestCase() { keepDataAndConfigApart(); }
    void init() { build(); }
    void cleanup() { closeWindow(); }

    void viewMenuDocksTheGraphsBesideThePlot() {
        QVERIFY(!graphs->isVisible());
        window->graphsAction->setChecked(true);
        QVERIFY(graphs->isVisible());
        QCOMPARE(window->dockWidgetArea(graphs), Qt::RightDockWidgetArea);
        QVERIFY(!graphs->accessibleName().isEmpty());
        window->graphsAction->setChecked(false);
        QVERIFY(!graphs->isVisible());
    }

    // The three graphs are the kept points' values, and the exact orbit's separation starts where the run
    // does.
    void seriesEqualTheKeptPoints() {
        window->graphsAction->setChecked(true);
        pauseAtPlotPoint(120);
        const TrackGraphs g = expected();
        QCOMPARE(g.days.size(), std::size_t{121});
        compare(graphs->separationSeries()->points(), g.days, g.separation);
        compare(graphs->speedSeries()->points(), g.days, g.relativeSpeed);
        compare(graphs->driftSeries()->points(), g.days, g.energyDrift);
        const QList<QPointF> exact = graphs->exactSeparationSeries()->points();
        QVERIFY(exact.size() > 100);
        QCOMPARE(exact.front().x(), 0.0);
        QVERIFY(std::abs(exact.front().y() / static_cast<double>(g.separation.front()) - 1) < 1e-15);
        QCOMPARE(exact.back().x(), 120.0);
        // The cursor stands at the last point.
        for (int c = 0; c < 3; ++c) QCOMPARE(graphs->cursorSeries(c)->points().value(0).x(), 120.0);
    }

    // Many points at once: each stretch keeps its lowest and highest, so the run's extremes stay drawn.
    void longRunsKeepTheirExtremes() {
        window->graphsAction->setChecked(true);
        records->CurSettings.setDT(3600);
        RunControllerSeams::setPaced(*window->runController(), false);
        pauseAtPlotPoint(6000);
        const TrackGraphs g = expected();
        QCOMPARE(g.days.size(), std::size_t{6001});
        const QList<QPointF> drawn = graphs->separationSeries()->points();
        QVERIFY(drawn.size() <= GraphsDock::MaxSeriesPoints);
        const auto [lo, hi] = std::minmax_element(g.separation.begin(), g.separation.end());
        const auto has = [&](Extended y) {
            return std::any_of(drawn.begin(), drawn.end(),
                               [&](const QPointF& p) { return p.y() == static_cast<double>(y); });
        };
        QVERIFY(has(*lo));
        QVERIFY(has(*hi));
        QVERIFY(std::is_sorted(drawn.begin(), drawn.end(),
                               [](const QPointF& a, const QPointF& b) { return a.x() < b.x(); }));
    }

    // The axes' numbers take the user's decimal separator; with a point, they are printf's as before.
    void axisNumbersFollowTheLocale_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("point");
        QTest::addColumn<QString>("notPoint");
        QTest::newRow("C") << QLocale::c() << "."
                           << ",";
        QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany) << ","
                                << ".";
    }
    void axisNumbersFollowTheLocale() {
        QFETCH(QLocale, locale);
        QFETCH(QString, point);
        QFETCH(QString, notPoint);
        closeWindow();
        const DefaultLocale chosen(locale);
        build();
        window->graphsAction->setChecked(true);
        pauseAtPlotPoint(7);
        const QStringList numbers = axisNumbers();
        QVERIFY2(numbers.filter(point).size() > 3, qPrintable(numbers.join(' ')));
        QVERIFY2(numbers.filter(notPoint).isEmpty(), qPrintable(numbers.join(' ')));
        closeWindow();
    }

    // Every text of the dock comes through a translation: its title, the graphs' titles, axes and lines, and
    // the names a screen reader gives.
    void everyTextIsTranslated() {
        closeWindow();
        {
            const MarkedTexts marked;
            build();
            window->graphsAction->setChecked(true);
            QCOMPARE(untranslatedTexts(graphs), QStringList());
            const auto views = graphs->findChildren<QChartView*>();
            QCOMPARE(views.size(), 3);
            for (const QChartView* view : views) {
                QStringList texts{view->chart()->title()};
                for (const QAbstractAxis* axis : view->chart()->axes()) texts << axis->titleText();
                for (const QAbstractSeries* series : view->chart()->series()) texts << series->name();
                for (const QString& text : texts)
                    QVERIFY2(MarkingTranslator::isMarked(text), qPrintable(text));
            }
        }
        closeWindow();
    }

    void theCursorFollowsTheTimeline() {
        window->graphsAction->setChecked(true);
        window->orbitReadoutAction->setChecked(true);
        pauseAtPlotPoint(50);
        readout->timeline()->setValue(20);
        for (int c = 0; c < 3; ++c) QCOMPARE(graphs->cursorSeries(c)->points().value(0).x(), 20.0);
        emit readout->timelineCleared();
        for (int c = 0; c < 3; ++c) QCOMPARE(graphs->cursorSeries(c)->points().value(0).x(), 50.0);
    }

    // A burst of plot points draws once at once and once more when the quiet time is over; a replay draws
    // once at its end; a hidden dock draws nothing.
    void redrawsAtMostFourTimesASecondAndOnceAfterAReplay() {
        window->graphsAction->setChecked(true);
        pauseAtPlotPoint(10);
        const int before = graphs->refreshCount;
        for (int i = 0; i < 100; ++i) graphs->plotPointDrawn(QStringLiteral("1.0"));
        // At once only when the last drawing is a quarter of a second old; the rest waits for the timer.
        QVERIFY(graphs->refreshCount <= before + 1);
        QTest::qWait(2 * GraphsDock::RefreshIntervalMs);
        QVERIFY(graphs->refreshCount > before);
        QVERIFY(graphs->refreshCount <= before + 2);
        const int settled = graphs->refreshCount;
        QTest::qWait(2 * GraphsDock::RefreshIntervalMs);
        QCOMPARE(graphs->refreshCount, settled);

        const int replayBefore = graphs->refreshCount;
        window->replay();
        QVERIFY(settle(*window));
        QCOMPARE(graphs->refreshCount, replayBefore + 1);

        window->graphsAction->setChecked(false);
        const int hidden = graphs->refreshCount;
        for (int i = 0; i < 10; ++i) graphs->plotPointDrawn(QStringLiteral("1.0"));
        graphs->replayFinished();
        QCOMPARE(graphs->refreshCount, hidden);
    }
};

QTEST_MAIN(GraphsDockTest)
#include "graphs_dock_qtest.moc"
