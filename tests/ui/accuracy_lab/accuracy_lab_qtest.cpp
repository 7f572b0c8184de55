#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAction>
#include <QChartView>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QLineSeries>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QScatterSeries>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <cstdio>
#include <string>

#include "app/accuracy_lab_wiring.h"
#include "core/fp_error.h"
#include "core/number_text.h"
#include "default_locale.h"
#include "main_window_fixture.h"
#include "marking_translator.h"
#include "ui/accuracy_lab/accuracy_lab_window.h"

using Column = AccuracyLabWindow;

namespace {

constexpr int SweepTimeoutMs = 60000;

// What tulvane-trace prints for the arguments.
QByteArray traceOutput(const std::string& args) {
    const std::string cmd = std::string("'") + TULVANE_TRACE + "' " + args + " 2>/dev/null";
    QByteArray out;
    FILE* pipe = ::popen(cmd.c_str(), "r");
    if (!pipe) return out;
    char buf[4096];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, pipe)) > 0;) out.append(buf, static_cast<int>(n));
    ::pclose(pipe);
    return out;
}

}  // namespace

// The lab as the program wires it to the main window: a sweep in the background, its rows in a table and on a
// chart, stale when the start changes, and its interval chosen through the Settings menu.
class AccuracyLabTest : public MainWindowFixture {
    Q_OBJECT

    AccuracyLabWindow* lab = nullptr;

    void build() {
        makeWindow();
        lab = new AccuracyLabWindow(*records, *dialogs, window);
        wireAccuracyLab(*window, *lab);
        window->show();
        QCoreApplication::processEvents();
    }
    // A short sweep, to day `days`, finished.
    void sweepTo(double days, unsigned workers = 2) {
        lab->untilBox()->setValue(days);
        lab->setWorkers(workers);
        lab->runButton()->click();
        QVERIFY(lab->sweepRunning() || lab->result().rows.size() > 0);
        QTRY_VERIFY_WITH_TIMEOUT(!lab->sweepRunning(), SweepTimeoutMs);
    }
    void drop() {
        delete window;  // and the lab with it, its sweep cancelled
        window = nullptr;
        lab = nullptr;
        records.reset();
    }
    int tableRowOf(const QString& caption) const {
        for (int r = 0; r < lab->table()->rowCount(); ++r)
            if (lab->table()->item(r, Column::IntervalColumn)->text() == caption) return r;
        return -1;
    }

private slots:
    void initTestCase() { keepDataInDataHome(true); }
    void init() { build(); }
    void cleanup() { drop(); }

    void viewMenuOpensTheLabAndStartsTheSweepOfTheStart() {
        lab->setWorkers(1);
        window->accuracyLabAction->trigger();
        QVERIFY(lab->isVisible());
        QVERIFY(lab->sweepRunning());
        // The default close pass, to its first period.
        QCOMPARE(lab->untilBox()->value(), 1356.6);
        QVERIFY(lab->sweepStart() == records->CurSettings);
        lab->cancelButton()->click();
        QVERIFY(!lab->sweepRunning());
    }

    // Rows come in coarse first: whenever an interval is in the table, every longer one is there too, and the
    // progress bar ends full.
    void rowsComeInCoarseFirstWithProgress() {
        QStringList order;
        int partway = 0;  // looks that found the progress bar neither empty nor full
        const auto look = [&] {
            const QTableWidget* t = lab->table();
            for (int r = 0; r < t->rowCount(); ++r) {
                const QString caption = t->item(r, Column::IntervalColumn)->text();
                if (!order.contains(caption)) order << caption;
            }
        };
        QTimer watch;
        watch.setInterval(5);
        connect(&watch, &QTimer::timeout, this, [&] {
            look();
            const int value = lab->progressBar()->value();
            if (value > 0 && value < lab->progressBar()->maximum()) ++partway;
        });
        watch.start();
        sweepTo(40, 1);
        watch.stop();
        // The last rows come in with the sweep's end, after the watch's last look.
        look();
        const QStringList expected = {"1 month",     "10E6 seconds",  "1 week", "10E5 seconds",
                                      "1 day",       "10000 seconds", "1 hour", "1000 seconds",
                                      "100 seconds", "1 minute"};
        QCOMPARE(lab->table()->rowCount(), expected.size());
        for (int r = 0; r < expected.size(); ++r)
            QCOMPARE(lab->table()->item(r, Column::IntervalColumn)->text(), expected[r]);
        QCOMPARE(order, expected);
        QCOMPARE(lab->progressBar()->value(), lab->progressBar()->maximum());
        QVERIFY(partway > 0);
        QVERIFY(lab->statusLabel()->text().startsWith("Done."));
    }

    // The table and the chart show the sweep's own numbers: the table in the core's texts, the chart in
    // doubles, zero errors on the floor line.
    void tableAndChartShowTheSweepsRows() {
        sweepTo(12);
        const ConvergenceResult& result = lab->result();
        QCOMPARE(lab->table()->rowCount(), static_cast<int>(result.rows.size()));
        int inFit = 0;
        for (int r = 0; r < lab->table()->rowCount(); ++r) {
            const ConvergenceRow& row = result.rows[lab->resultRowOfTableRow(r)];
            QCOMPARE(lab->table()->item(r, Column::ErrorAColumn)->text(),
                     QString::fromStdString(ExponentText(*row.errorA, ".")));
            QCOMPARE(lab->table()->item(r, Column::EnergyDriftColumn)->text(),
                     QString::fromStdString(ExponentText(*row.energyDrift, ".")));
            QCOMPARE(lab->table()->item(r, Column::PointsColumn)->text(), QString::number(row.plotPoints));
            if (row.inFit) ++inFit;
        }
        const QList<QPointF> a = lab->errorASeries()->points();
        QCOMPARE(a.size(), inFit);
        QCOMPARE(lab->outsideFitSeries()->points().size(),
                 2 * (static_cast<int>(result.rows.size()) - inFit));
        for (const QPointF& p : a) {
            const auto row = std::find_if(
                result.rows.begin(), result.rows.end(),
                [&](const ConvergenceRow& x) { return x.inFit && static_cast<double>(x.step) == p.x(); });
            QVERIFY(row != result.rows.end());
            QCOMPARE(p.y(), static_cast<double>(*row->errorA));
        }
        QCOMPARE(lab->energySeries()->points().size(), static_cast<int>(result.rows.size()));
        // No error is near the floor: no floor line squeezes the rows together.
        QVERIFY(lab->floorSeries()->points().isEmpty());
        QVERIFY(lab->chart()->title().startsWith("Error at day "));
        // The default interval is a day: the mark stands at its step.
        const QList<QPointF> mark = lab->currentIntervalSeries()->points();
        QCOMPARE(mark.size(), 2);
        QCOMPARE(mark[0].x(), 86400.0 / 40);
    }

    // Two grains far apart barely pull on each other: the runs follow the exact orbit to the rounding, and a
    // log scale has no place for an error of zero. Those errors stand on the floor line.
    void errorsAtTheFloorStandOnTheFloorLine() {
        TState grains = records->CurSettings;
        grains.setAMass(1e-3L);
        grains.setBMass(1e-3L);
        grains.setASpeed(0);
        grains.setBSpeed(1);
        grains.setBDir(0);
        records->setCurSettings(grains);
        sweepTo(3);
        const QList<QPointF> floor = lab->floorSeries()->points();
        QCOMPARE(floor.size(), 2);
        QCOMPARE(floor[0].y(), floor[1].y());
        int zeros = 0;
        for (const ConvergenceRow& row : lab->result().rows) {
            QVERIFY(row.errorA && row.errorB);
            if (*row.errorB != 0) continue;
            ++zeros;
            const QList<QPointF> b = lab->errorBSeries()->points();
            const auto at = std::find_if(
                b.begin(), b.end(), [&](const QPointF& p) { return p.x() == static_cast<double>(row.step); });
            QVERIFY(at != b.end());
            QCOMPARE(at->y(), floor[0].y());
        }
        QVERIFY(zeros > 0);
        for (QXYSeries* s :
             {static_cast<QXYSeries*>(lab->errorASeries()), static_cast<QXYSeries*>(lab->errorBSeries())})
            for (const QPointF& p : s->points()) QVERIFY(p.y() >= floor[0].y());
    }

    void cancelStopsTheSweepAndKeepsTheRowsDone() {
        lab->setWorkers(1);
        lab->runButton()->click();
        QVERIFY(lab->sweepRunning());
        QVERIFY(!lab->runButton()->isEnabled());
        QVERIFY(lab->cancelButton()->isEnabled());
        // One worker takes the coarse rows first: the first few are in within moments.
        QTRY_VERIFY_WITH_TIMEOUT(lab->table()->rowCount() >= 3, SweepTimeoutMs);
        lab->cancelButton()->click();
        QVERIFY(!lab->sweepRunning());
        QVERIFY(lab->runButton()->isEnabled());
        QVERIFY(!lab->cancelButton()->isEnabled());
        QVERIFY(!lab->exportButton()->isEnabled());
        QVERIFY(lab->statusLabel()->text().startsWith("Cancelled"));
        QVERIFY(lab->table()->rowCount() < 12);
        QCOMPARE(tableRowOf("1 minute"), -1);
        const int rows = lab->table()->rowCount();
        QTest::qWait(3 * AccuracyLabWindow::PollMs);
        QCOMPARE(lab->table()->rowCount(), rows);
    }

    // A change of the start marks the results stale and computes nothing; a new plot interval is no change of
    // the start: only the mark moves.
    void aChangedStartMarksTheResultsStale() {
        sweepTo(5);
        const std::string before = convergenceCsv(lab->result());
        QVERIFY(!lab->staleLabel()->isVisibleTo(lab));

        window->plotIntervalActions[3]->trigger();  // 1 hour
        QVERIFY(!lab->stale());
        QCOMPARE(lab->currentIntervalSeries()->points().value(0).x(), 3600.0 / 40);

        TState moved = records->CurSettings;
        moved.setBMass(moved.BMass() * 2);
        records->setCurSettings(moved);
        QVERIFY(lab->stale());
        QVERIFY(lab->staleLabel()->isVisibleTo(lab));
        QVERIFY(!lab->sweepRunning());
        QCOMPARE(convergenceCsv(lab->result()), before);
        QVERIFY(!lab->useButton()->isEnabled());

        lab->runButton()->click();
        QVERIFY(!lab->stale());
        QVERIFY(!lab->staleLabel()->isVisibleTo(lab));
        QTRY_VERIFY_WITH_TIMEOUT(!lab->sweepRunning(), SweepTimeoutMs);
        QVERIFY(convergenceCsv(lab->result()) != before);
    }

    // "Use this interval" is a click on the Settings menu's item: the interval, its check mark and one
    // announced change; and only while Ready.
    void useThisIntervalChoosesItThroughTheSettingsMenu() {
        sweepTo(5);
        QSignalSpy changed(window, &MainWindow::settingsChanged);
        QVERIFY(!lab->useButton()->isEnabled());
        const int row = tableRowOf("1000 seconds");
        QVERIFY(row >= 0);
        lab->table()->selectRow(row);
        QVERIFY(lab->useButton()->isEnabled());
        lab->useButton()->click();
        QCOMPARE(records->CurSettings.dT(), 1000.0L);
        QVERIFY(window->plotIntervalActions[2]->isChecked());
        QCOMPARE(changed.count(), 1);
        QCOMPARE(lab->currentIntervalSeries()->points().value(0).x(), 1000.0 / 40);
        QVERIFY(!lab->stale());
        // One undoable step: Undo brings the day back, and the mark with it.
        window->undoAction->trigger();
        QCOMPARE(records->CurSettings.dT(), 86400.0L);
        QVERIFY(window->plotIntervalActions[5]->isChecked());
        QCOMPARE(lab->currentIntervalSeries()->points().value(0).x(), 86400.0 / 40);
        window->redoAction->trigger();
        QCOMPARE(records->CurSettings.dT(), 1000.0L);

        lab->table()->selectRow(tableRowOf("1 hour"));
        window->runButton->click();
        QCOMPARE(records->SimState, Running);
        QVERIFY(!lab->useButton()->isEnabled());
        lab->useSelectedInterval();
        QCOMPARE(records->CurSettings.dT(), 1000.0L);
        window->pauseButton->click();
        window->resetButton->click();
        QCOMPARE(records->SimState, Ready);
        QVERIFY(lab->useButton()->isEnabled());
    }

    void exportWritesTheBytesTulvaneTracePrints() {
        // A day with a fraction, read from its text as the trace reads --until.
        sweepTo(7.3);
        QTemporaryDir dir;
        const QString path = dir.filePath("sweep.csv");
        dialogs->saveAnswers.push_back(path);
        lab->exportButton()->click();
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QCOMPARE(bytes, traceOutput("--convergence --until 7.3"));
        QVERIFY(bytes.startsWith("plot_interval_s,step_s,"));

        // A failed write says why, in the system's words.
        dialogs->saveAnswers.push_back(dir.filePath("missing/sweep.csv"));
        lab->exportButton()->click();
        QCOMPARE(dialogs->texts("error").size(), 1);
        QVERIFY(dialogs->texts("error").front().contains("could not be exported to"));
        QVERIFY(dialogs->texts("error").front().endsWith("No such file or directory."));
    }

    // The table's days and steps, the status and the chart's title take the user's decimal separator.
    void numbersFollowAGermanLocale() {
        drop();
        const DefaultLocale german(QLocale(QLocale::German, QLocale::Germany));
        build();
        sweepTo(12);
        static const QRegularExpression day(QStringLiteral("^[0-9]+,[0-9]$"));
        static const QRegularExpression exponent(QStringLiteral("^[0-9],[0-9]{3}E[+-][0-9]{2}$"));
        for (int r = 0; r < lab->table()->rowCount(); ++r) {
            const QString days = lab->table()->item(r, Column::DayColumn)->text();
            const QString step = lab->table()->item(r, Column::StepColumn)->text();
            QVERIFY2(day.match(days).hasMatch(), qPrintable(days));
            QVERIFY2(exponent.match(step).hasMatch(), qPrintable(step));
        }
        static const QRegularExpression dayInText(QStringLiteral("day [0-9]+,[0-9]"));
        QVERIFY2(dayInText.match(lab->statusLabel()->text()).hasMatch(),
                 qPrintable(lab->statusLabel()->text()));
        QVERIFY2(dayInText.match(lab->chart()->title()).hasMatch(), qPrintable(lab->chart()->title()));
        drop();
    }

    // Every text of the lab comes through a translation, whole: the controls and the names a screen reader
    // gives, the table's header and cells, the chart's title, axes and lines, and the rows' reasons from the
    // sweep, which has no Qt, with their numbers filled in.
    void everyTextIsTranslated() {
        drop();
        const MarkedTexts marked;
        const auto m = MarkingTranslator::marked;
        build();
        // A plot interval of no steps: every row fails with the run's error.
        TState still = records->CurSettings;
        const std::int32_t cpT = still.cpT();
        still.setCpT(0);
        records->setCurSettings(still);
        sweepTo(5);
        QCOMPARE(untranslatedTexts(lab), QStringList());
        for (int c = 0; c < Column::ColumnCount; ++c)
            QVERIFY(MarkingTranslator::isMarked(lab->table()->horizontalHeaderItem(c)->text()));
        QVERIFY(lab->table()->rowCount() > 0);
        for (int r = 0; r < lab->table()->rowCount(); ++r) {
            QVERIFY(MarkingTranslator::isMarked(lab->table()->item(r, Column::IntervalColumn)->text()));
            QCOMPARE(lab->table()->item(r, Column::ErrorAColumn)->text(), m(ZeroDivideText));
            QVERIFY(MarkingTranslator::isMarked(lab->table()->item(r, Column::FitColumn)->text()));
        }
        QStringList chartTexts{lab->chart()->title()};
        for (const QAbstractAxis* axis : lab->chart()->axes()) chartTexts << axis->titleText();
        for (const QAbstractSeries* series : lab->chart()->series()) chartTexts << series->name();
        for (const QString& text : chartTexts) QVERIFY2(MarkingTranslator::isMarked(text), qPrintable(text));

        // A century: the shortest intervals would need too many plot points and are not run.
        still.setCpT(cpT);
        records->setCurSettings(still);
        lab->untilBox()->setValue(100 * 365.25);
        lab->setWorkers(1);
        lab->runButton()->click();
        lab->cancelButton()->click();
        const int minute = tableRowOf(m("1 minute"));
        QVERIFY(minute >= 0);
        QCOMPARE(lab->table()->item(minute, Column::ErrorAColumn)->text(),
                 m("needs 52596000 plot points; runs of more than 5000000 are not made"));
        drop();
    }

    void everyControlHasAnAccessibleName() {
        const auto widgets = lab->findChildren<QWidget*>();
        int named = 0;
        for (QWidget* w : widgets) {
            const bool control = qobject_cast<QAbstractButton*>(w) || qobject_cast<QAbstractSpinBox*>(w) ||
                                 qobject_cast<QProgressBar*>(w) || qobject_cast<QTableWidget*>(w) ||
                                 qobject_cast<QChartView*>(w) || w == lab->statusLabel() ||
                                 w == lab->staleLabel();
            // The parts Qt builds inside a table or a spin box speak for themselves.
            bool inner = false;
            for (QWidget* p = w->parentWidget(); p && p != lab; p = p->parentWidget())
                inner = inner || qobject_cast<QTableWidget*>(p) || qobject_cast<QAbstractSpinBox*>(p);
            if (!control || inner) continue;
            QVERIFY2(!w->accessibleName().isEmpty(), qPrintable(w->objectName()));
            ++named;
        }
        QCOMPARE(named, 10);
    }
};

QTEST_MAIN(AccuracyLabTest)
#include "accuracy_lab_qtest.moc"
