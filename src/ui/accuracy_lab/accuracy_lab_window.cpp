#include "ui/accuracy_lab/accuracy_lab_window.h"

#include <QChart>
#include <QChartView>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLocale>
#include <QLogValueAxis>
#include <QPen>
#include <QProgressBar>
#include <QPushButton>
#include <QScatterSeries>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <thread>

#include "core/number_text.h"
#include "core/plot_intervals.h"
#include "settings_file/checked_file_writer.h"
#include "ui/common/chart_numbers.h"
#include "ui/common/data_folder.h"
#include "ui/common/error_guard.h"
#include "ui/common/platform_dialogs.h"

namespace {

constexpr Extended SecondsPerDay = 86400;
constexpr int ProgressSteps = 1000;

// The fields a sweep depends on: not the plot interval (every interval is run), the scale, the colours, the
// label or the save marks.
bool sameSweepStart(TState a, TState b) {
    for (TState* s : {&a, &b}) {
        s->setDT(0);
        s->setSf(0);
        s->setAColor(0);
        s->setBColor(0);
        s->setCColor(0);
        s->setSaveDT(0);
        s->setAction(0);
        std::fill(s->bytes.begin() + TStateLayout::RecLabel,
                  s->bytes.begin() + TStateLayout::RecLabel + 1 + TStateLayout::LabelCapacity, 0);
    }
    return a == b;
}

int menuIndexOf(Extended interval) {
    for (std::size_t i = 0; i < std::size(PlotIntervals); ++i)
        if (PlotIntervals[i].seconds == interval) return static_cast<int>(i);
    return -1;
}

// The Settings menu's caption of the interval, translated as the menu translates it.
QString captionOf(Extended interval) {
    const int i = menuIndexOf(interval);
    return i < 0 ? QString()
                 : QCoreApplication::translate("PlotInterval",
                                               PlotIntervals[static_cast<std::size_t>(i)].caption);
}

// For display only: the chart draws doubles; the table and the CSV keep the 80-bit values.
double shown(Extended x) {
    return static_cast<double>(x);
}

QLineSeries* lineSeries(const QString& name, const QColor& color, Qt::PenStyle style, bool points) {
    auto* s = new QLineSeries;
    s->setName(name);
    QPen pen(color);
    pen.setWidthF(2);
    pen.setStyle(style);
    s->setPen(pen);
    s->setPointsVisible(points);
    return s;
}

}  // namespace

AccuracyLabWindow::AccuracyLabWindow(const SimRecords& records, PlatformDialogs& dialogs, QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Tool),
      records_(records),
      dialogs_(dialogs),
      sep_(QLocale().decimalPoint().toStdString()),
      runState_(records.SimState) {
    setObjectName(QStringLiteral("AccuracyLabWindow"));
    setWindowTitle(tr("Accuracy Lab"));
    setAccessibleName(tr("Accuracy Lab"));
    resize(920, 860);

    auto* layout = new QVBoxLayout(this);
    auto* controls = new QHBoxLayout;
    //: The day of the simulated time every run of the sweep is taken to.
    auto* untilCaption = new QLabel(tr("Until day"), this);
    untilCaption->setObjectName(QStringLiteral("untilCaption"));
    controls->addWidget(untilCaption);
    untilBox_ = new QDoubleSpinBox(this);
    untilBox_->setObjectName(QStringLiteral("untilBox"));
    //: The day of the simulated time every run of the sweep is taken to.
    untilBox_->setAccessibleName(tr("Until day"));
    untilBox_->setToolTip(
        tr("The day every run is taken to; one period of a bound orbit unless you change it."));
    untilBox_->setDecimals(1);
    untilBox_->setRange(0.1, 1e9);
    untilCaption->setBuddy(untilBox_);
    connect(untilBox_, &QDoubleSpinBox::valueChanged, this, [this] {
        if (!settingUntil_) untilEdited_ = true;
    });
    controls->addWidget(untilBox_);
    //: The button that starts the sweep: a run of the start at every plot interval.
    runButton_ = new QPushButton(tr("Run", "start the sweep"), this);
    runButton_->setObjectName(QStringLiteral("labRunButton"));
    runButton_->setAccessibleName(tr("Run the sweep"));
    connect(runButton_, &QPushButton::clicked, this,
            [this] { guarded(dialogs_, this, [this] { startSweep(); }); });
    controls->addWidget(runButton_);
    //: The button that stops the sweep under way.
    cancelButton_ = new QPushButton(tr("Cancel", "stop the sweep"), this);
    cancelButton_->setObjectName(QStringLiteral("labCancelButton"));
    cancelButton_->setAccessibleName(tr("Cancel the sweep"));
    connect(cancelButton_, &QPushButton::clicked, this,
            [this] { guarded(dialogs_, this, [this] { cancelSweep(); }); });
    controls->addWidget(cancelButton_);
    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("labProgress"));
    progress_->setAccessibleName(tr("Sweep progress"));
    progress_->setRange(0, ProgressSteps);
    progress_->setValue(0);
    controls->addWidget(progress_, 1);
    layout->addLayout(controls);

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("labStatus"));
    status_->setAccessibleName(tr("Sweep status"));
    status_->setWordWrap(true);
    layout->addWidget(status_);
    //: Shown over the results when the start has changed since they were computed.
    staleLabel_ = new QLabel(tr("The start has changed since this sweep: these results belong to the old "
                                "start. Press Run to sweep the new one."),
                             this);
    staleLabel_->setObjectName(QStringLiteral("labStale"));
    staleLabel_->setAccessibleName(tr("Stale results"));
    staleLabel_->setWordWrap(true);
    QPalette sp = staleLabel_->palette();
    sp.setColor(QPalette::WindowText, QColor(170, 90, 0));
    staleLabel_->setPalette(sp);
    staleLabel_->hide();
    layout->addWidget(staleLabel_);

    auto* splitter = new QSplitter(Qt::Vertical, this);
    buildChart();
    auto* view = new QChartView(chart_, splitter);
    view->setObjectName(QStringLiteral("labChart"));
    //: The chart's name for a screen reader: the error of each run against its integration step, both axes
    //: logarithmic.
    view->setAccessibleName(tr("Error against the step, log-log"));
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumHeight(300);
    splitter->addWidget(view);

    table_ = new QTableWidget(0, ColumnCount, splitter);
    table_->setObjectName(QStringLiteral("labTable"));
    table_->setAccessibleName(tr("Sweep rows"));
    table_->setHorizontalHeaderLabels({
        tr("Plot interval", "column"),
        //: Column: the integration step of the row's run, in seconds (s).
        tr("Step (s)", "column"),
        //: Column: how many plot points the row's run takes.
        tr("Plot points", "column"),
        //: Column: the day of the simulated time the row is measured at.
        tr("Day", "column"),
        //: Column: how far Body A is from its exact place, in metres (m).
        tr("Error A (m)", "column"),
        //: Column: how far Body B is from its exact place, in metres (m).
        tr("Error B (m)", "column"),
        //: Column: how far the run's energy has moved off its start value, as a share of it.
        tr("Energy drift", "column"),
        //: Column: how far the run's angular momentum has moved off its start value, as a share of it.
        tr("Angular momentum drift", "column"),
        //: Column: how many integration steps the passage of the closest approach takes.
        tr("Steps across closest approach", "column"),
        //: Column: the power of the step the error falls with, from this row and the one before.
        tr("Observed order", "column"),
        //: Column: whether the row is measured at the common day of the fit of the order.
        tr("In fit", "column"),
    });
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    connect(table_, &QTableWidget::itemSelectionChanged, this, [this] { updateButtons(); });
    splitter->addWidget(table_);
    splitter->setSizes({480, 260});
    layout->addWidget(splitter, 1);

    auto* actions = new QHBoxLayout;
    //: Makes the plot interval of the row chosen in the table the program's plot interval.
    useButton_ = new QPushButton(tr("Use this interval"), this);
    useButton_->setObjectName(QStringLiteral("labUseButton"));
    useButton_->setAccessibleName(tr("Use the chosen row's plot interval"));
    useButton_->setToolTip(
        tr("Sets the plot interval of the chosen row, as the Settings menu does (while Ready)."));
    connect(useButton_, &QPushButton::clicked, this,
            [this] { guarded(dialogs_, this, [this] { useSelectedInterval(); }); });
    actions->addWidget(useButton_);
    //: Writes the sweep's rows to a CSV file, as tulvane-trace --convergence prints them.
    exportButton_ = new QPushButton(tr("Export CSV..."), this);
    exportButton_->setObjectName(QStringLiteral("labExportButton"));
    exportButton_->setAccessibleName(tr("Export the sweep as CSV"));
    connect(exportButton_, &QPushButton::clicked, this,
            [this] { guarded(dialogs_, this, [this] { exportCsv(); }); });
    actions->addWidget(exportButton_);
    actions->addStretch(1);
    layout->addLayout(actions);

    pollTimer_.setInterval(PollMs);
    connect(&pollTimer_, &QTimer::timeout, this, [this] { guarded(dialogs_, this, [this] { poll(); }); });
    showDefaultUntil();
    status_->setText(tr("Press Run to sweep the start over the plot intervals."));
    updateButtons();
}

AccuracyLabWindow::~AccuracyLabWindow() = default;

void AccuracyLabWindow::buildChart() {
    chart_ = new QChart;
    chart_->setObjectName(QStringLiteral("labChartModel"));
    chart_->legend()->setAlignment(Qt::AlignBottom);
    localizeChartNumbers(chart_);
    //: A line of the chart: how far Body A is from its exact place, in metres (m).
    errorA_ = lineSeries(tr("Body A error (m)"), QColor(200, 160, 0), Qt::SolidLine, true);
    //: A line of the chart: how far Body B is from its exact place, in metres (m).
    errorB_ = lineSeries(tr("Body B error (m)"), QColor(200, 0, 0), Qt::SolidLine, true);
    //: A line of the chart: the size of the energy drift, a share of the start's energy.
    energy_ = lineSeries(tr("|Energy drift|"), QColor(0, 90, 200), Qt::DashLine, true);
    //: A line of the chart: the least error the 80-bit arithmetic can show; below it is rounding.
    floor_ = lineSeries(tr("80-bit floor"), QColor(128, 128, 128), Qt::DotLine, false);
    //: A line of the chart: the step of the plot interval the program uses now.
    current_ = lineSeries(tr("Current plot interval"), QColor(0, 150, 0), Qt::DashDotLine, false);
    outsideFit_ = new QScatterSeries;
    //: Points of the chart: rows measured at an earlier day than the others, left out of the fit.
    outsideFit_->setName(tr("Not in fit (earlier day)"));
    outsideFit_->setMarkerSize(7);
    outsideFit_->setColor(QColor(160, 160, 160));

    auto* stepAxis = new QLogValueAxis;
    stepAxis->setObjectName(QStringLiteral("stepAxis"));
    //: The chart's axis: the integration step in seconds (s).
    stepAxis->setTitleText(tr("Step (s)", "axis"));
    stepAxis->setLabelFormat(QStringLiteral("%g"));
    stepAxis->setBase(10);
    auto* errorAxis = new QLogValueAxis;
    errorAxis->setObjectName(QStringLiteral("errorAxis"));
    //: The chart's axis: how far a body is from its exact place, in metres (m).
    errorAxis->setTitleText(tr("Error (m)", "axis"));
    errorAxis->setLabelFormat(QStringLiteral("%.0e"));
    errorAxis->setBase(10);
    auto* driftAxis = new QLogValueAxis;
    driftAxis->setObjectName(QStringLiteral("driftAxis"));
    //: The chart's axis: the size of the energy drift, a share of the start's energy.
    driftAxis->setTitleText(tr("|Energy drift|", "axis"));
    driftAxis->setLabelFormat(QStringLiteral("%.0e"));
    driftAxis->setBase(10);
    chart_->addAxis(stepAxis, Qt::AlignBottom);
    chart_->addAxis(errorAxis, Qt::AlignLeft);
    chart_->addAxis(driftAxis, Qt::AlignRight);
    for (QXYSeries* s : std::initializer_list<QXYSeries*>{errorA_, errorB_, outsideFit_, floor_, current_}) {
        chart_->addSeries(s);
        s->attachAxis(stepAxis);
        s->attachAxis(errorAxis);
    }
    chart_->addSeries(energy_);
    energy_->attachAxis(stepAxis);
    energy_->attachAxis(driftAxis);
}

void AccuracyLabWindow::showDefaultUntil() {
    if (untilEdited_) return;
    settingUntil_ = true;
    untilBox_->setValue(shown(ConvergenceSweep::defaultUntil(records_.CurSettings) / SecondsPerDay));
    settingUntil_ = false;
}

void AccuracyLabWindow::startSweep() {
    if (running_) return;
    sweepStart_ = records_.CurSettings;
    // Left as it was offered, the end is the exact default (one period), as tulvane-trace takes it; a day
    // typed in is read from its text as tulvane-trace reads --until, so that 7.3 is 7.3 in 80 bits, not the
    // double nearest to it.
    sweepUntil_ = ConvergenceSweep::defaultUntil(sweepStart_);
    if (untilEdited_) {
        const QByteArray days = QByteArray::number(untilBox_->value(), 'f', untilBox_->decimals());
        sweepUntil_ = std::strtold(days.constData(), nullptr) * SecondsPerDay;
    }
    sweep_ = std::make_unique<ConvergenceSweep>(sweepStart_, sweepUntil_);
    shownFinished_ = 0;
    running_ = true;
    cancelled_ = false;
    stale_ = false;
    staleLabel_->hide();
    progress_->setValue(0);
    //: The sweep under way: %n is how many plot intervals it runs, %1 the day it takes them to, a decimal
    //: number.
    status_->setText(
        tr("Sweeping %n plot interval(s) to day %1...", nullptr, static_cast<int>(sweep_->plan().size()))
            .arg(QString::fromStdString(ElapsedDaysText(sweepUntil_ / SecondsPerDay, sep_))));
    sweep_->start(workers_ > 0 ? workers_ : std::max(1u, std::thread::hardware_concurrency()));
    showResult();
    pollTimer_.start();
    updateButtons();
}

void AccuracyLabWindow::cancelSweep() {
    if (!running_) return;
    sweep_->cancel();
    // The runs stop at their next slice, within milliseconds.
    sweep_->wait();
    cancelled_ = true;
    finishSweep();
}

void AccuracyLabWindow::poll() {
    if (!sweep_) return;
    const std::int64_t total = sweep_->stepsTotal();
    const std::int64_t done = std::min(sweep_->stepsDone(), total);
    progress_->setValue(total > 0 ? static_cast<int>(done * ProgressSteps / total) : ProgressSteps);
    if (sweep_->finished()) {
        sweep_->wait();
        finishSweep();
        return;
    }
    showResult();
}

void AccuracyLabWindow::finishSweep() {
    pollTimer_.stop();
    running_ = false;
    showResult();
    if (!cancelled_) progress_->setValue(ProgressSteps);
    QString text;
    if (cancelled_) {
        text = tr("Cancelled: the rows finished before are shown.");
    } else if (result_.fittedOrder) {
        //: %1 is the common day the rows are measured at, %2 the power of the step the error falls with, both
        //: decimal numbers.
        text = tr("Done. The error at day %1 falls with the step at order %2 (least squares).")
                   .arg(QString::fromStdString(ElapsedDaysText(result_.fitDay, sep_)),
                        QLocale().toString(shown(*result_.fittedOrder), 'f', 2));
    } else {
        //: No order can be fitted: too few rows have an error above rounding and below the size of the orbit.
        text = tr("Done. Too few rows between the 80-bit floor and a lost orbit for an order.");
    }
    status_->setText(text);
    updateButtons();
}

void AccuracyLabWindow::showResult() {
    if (!sweep_) return;
    const std::size_t finished = static_cast<std::size_t>(
        std::count_if(result_.rows.begin(), result_.rows.end(),
                      [](const ConvergenceRow& r) { return r.state != ConvergenceRow::State::Waiting; }));
    ConvergenceResult now = sweep_->snapshot();
    const std::size_t nowFinished =
        static_cast<std::size_t>(std::count_if(now.rows.begin(), now.rows.end(), [](const ConvergenceRow& r) {
            return r.state != ConvergenceRow::State::Waiting;
        }));
    if (nowFinished == finished && !result_.rows.empty() && running_) return;
    result_ = std::move(now);
    shownFinished_ = nowFinished;
    fillTable();
    fillChart();
    updateButtons();
}

QString AccuracyLabWindow::number(const Quantity& q) const {
    return q ? QString::fromStdString(ExponentText(*q, sep_)) : QString();
}

QString AccuracyLabWindow::failureText(const ConvergenceRow& row) {
    if (row.state == ConvergenceRow::State::NotRun)
        //: Why a row of the sweep was not run: %1 is how many plot points it needs, %2 the most a run may
        //: take.
        return tr("needs %1 plot points; runs of more than %2 are not made")
            .arg(QString::fromStdString(IntegerText(row.plotPoints)),
                 QString::fromStdString(IntegerText(ConvergenceSweep::MaxPlotPoints)));
    if (row.error) return ErrorMessageText(row.error);
    return QString::fromStdString(row.failure);
}

QString AccuracyLabWindow::fitText(const ConvergenceRow& row) {
    if (!row.inFit)
        //: The In fit column: the row is measured at an earlier day than the fit's.
        return tr("no", "in fit");
    if (row.usedInOrderFit)
        //: The In fit column: the row is measured at the fit's day, and its error is used for the order.
        return tr("yes, in the order", "in fit");
    //: The In fit column: the row is measured at the fit's day, but its error is at the 80-bit floor or has
    //: lost the orbit, so it is left out of the order.
    return tr("yes", "in fit");
}

std::size_t AccuracyLabWindow::resultRowOfTableRow(int tableRow) const {
    return tableRows_.at(static_cast<std::size_t>(tableRow));
}

void AccuracyLabWindow::fillTable() {
    // The selection follows the interval, not the place in the table, as rows come in.
    Extended chosen = -1;
    if (const auto sel = table_->selectionModel()->selectedRows(); !sel.isEmpty())
        chosen = result_.rows.size() > tableRows_.at(static_cast<std::size_t>(sel.front().row()))
                     ? result_.rows[tableRows_[static_cast<std::size_t>(sel.front().row())]].plotInterval
                     : -1;
    table_->clearSpans();
    table_->setRowCount(0);
    tableRows_.clear();
    // The coarse rows first: they are the first to come in.
    for (std::size_t i = result_.rows.size(); i-- > 0;) {
        const ConvergenceRow& row = result_.rows[i];
        if (row.state == ConvergenceRow::State::Waiting) continue;
        const int t = table_->rowCount();
        table_->insertRow(t);
        tableRows_.push_back(i);
        const auto set = [&](int column, const QString& text) {
            auto* item = new QTableWidgetItem(text);
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table_->setItem(t, column, item);
        };
        set(IntervalColumn, captionOf(row.plotInterval));
        set(StepColumn, number(row.step));
        set(PointsColumn, QString::fromStdString(IntegerText(row.plotPoints)));
        set(DayColumn, QString::fromStdString(ElapsedDaysText(row.endDay, sep_)));
        if (row.state != ConvergenceRow::State::Done) {
            set(ErrorAColumn, failureText(row));
            table_->item(t, ErrorAColumn)->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            table_->setSpan(t, ErrorAColumn, 1, FitColumn - ErrorAColumn);
        } else {
            set(ErrorAColumn, number(row.errorA));
            set(ErrorBColumn, number(row.errorB));
            set(EnergyDriftColumn, number(row.energyDrift));
            set(MomentumDriftColumn, number(row.angularMomentumDrift));
            set(StepsAcrossColumn, number(row.stepsAcrossClosestApproach));
            set(OrderColumn,
                row.observedOrder ? QLocale().toString(shown(*row.observedOrder), 'f', 2) : QString());
        }
        set(FitColumn, fitText(row));
        if (row.plotInterval == chosen) table_->selectRow(t);
    }
}

void AccuracyLabWindow::fillChart() {
    errorA_->clear();
    errorB_->clear();
    energy_->clear();
    outsideFit_->clear();
    floor_->clear();
    // An error of zero has no place on a log scale: it is drawn on the floor line, the level rounding leaves.
    Extended floorLevel = 0;
    Extended least = 0, most = 0, stepLeast = 0, stepMost = 0, driftLeast = 0, driftMost = 0;
    const auto widen = [](Extended& lo, Extended& hi, Extended x) {
        if (!(x > 0)) return;
        lo = lo > 0 ? std::min(lo, x) : x;
        hi = std::max(hi, x);
    };
    for (const ConvergenceRow& row : result_.rows) {
        if (row.state != ConvergenceRow::State::Done) continue;
        if (row.floorLevel > 0)
            floorLevel = floorLevel > 0 ? std::min(floorLevel, row.floorLevel) : row.floorLevel;
        widen(stepLeast, stepMost, std::fabs(row.step));
        for (const Quantity* e : {&row.errorA, &row.errorB})
            if (*e) widen(least, most, **e);
        if (row.energyDrift) widen(driftLeast, driftMost, std::fabs(*row.energyDrift));
    }
    // The floor line is drawn only when an error is at the 80-bit floor: otherwise it would squeeze the rows
    // together. It stands below every error that is not zero.
    bool atFloor = false;
    for (const ConvergenceRow& row : result_.rows)
        for (const Quantity* e : {&row.errorA, &row.errorB})
            if (row.state == ConvergenceRow::State::Done && *e && **e <= row.floorLevel) atFloor = true;
    if (least > 0) floorLevel = floorLevel > 0 ? std::min(floorLevel, least / 2) : least / 2;
    if (!(floorLevel > 0)) floorLevel = 1;
    if (atFloor) widen(least, most, floorLevel);
    for (const ConvergenceRow& row : result_.rows) {
        if (row.state != ConvergenceRow::State::Done) continue;
        const double h = shown(std::fabs(row.step));
        const auto onScale = [&](const Quantity& e) { return shown(*e > 0 ? *e : floorLevel); };
        if (row.inFit) {
            if (row.errorA) errorA_->append(h, onScale(row.errorA));
            if (row.errorB) errorB_->append(h, onScale(row.errorB));
        } else {
            if (row.errorA) outsideFit_->append(h, onScale(row.errorA));
            if (row.errorB) outsideFit_->append(h, onScale(row.errorB));
        }
        if (row.energyDrift && *row.energyDrift != 0) energy_->append(h, shown(std::fabs(*row.energyDrift)));
    }
    if (atFloor && stepLeast > 0) {
        floor_->append(shown(stepLeast / 2), shown(floorLevel));
        floor_->append(shown(stepMost * 2), shown(floorLevel));
    }
    for (QLegendMarker* marker : chart_->legend()->markers(floor_)) marker->setVisible(atFloor);
    const auto axes = chart_->axes();
    for (QAbstractAxis* axis : axes) {
        auto* log = qobject_cast<QLogValueAxis*>(axis);
        if (!log) continue;
        if (log->objectName() == QLatin1String("stepAxis") && stepLeast > 0)
            log->setRange(shown(stepLeast / 2), shown(stepMost * 2));
        if (log->objectName() == QLatin1String("errorAxis") && least > 0)
            log->setRange(shown(least / 3), shown(most * 3));
        if (log->objectName() == QLatin1String("driftAxis") && driftLeast > 0)
            log->setRange(shown(driftLeast / 3), shown(driftMost * 3));
    }
    const QString day = QString::fromStdString(ElapsedDaysText(result_.fitDay, sep_));
    if (result_.fittedOrder)
        //: The chart's title: %1 is the common day the rows are measured at, %2 the power of the step the
        //: error falls with, both decimal numbers.
        chart_->setTitle(tr("Error at day %1 against the step: observed order %2")
                             .arg(day, QLocale().toString(shown(*result_.fittedOrder), 'f', 2)));
    else
        //: The chart's title: %1 is the common day the rows are measured at, a decimal number.
        chart_->setTitle(tr("Error at day %1 against the step").arg(day));
    markCurrentInterval();
}

void AccuracyLabWindow::markCurrentInterval() {
    current_->clear();
    const TState& s = records_.CurSettings;
    if (s.cpT() == 0) return;
    const Extended interval = s.dT();
    const auto row = std::find_if(result_.rows.begin(), result_.rows.end(), [&](const ConvergenceRow& r) {
        return r.plotInterval == interval && r.state == ConvergenceRow::State::Done;
    });
    if (row == result_.rows.end()) return;
    Extended lo = 0, hi = 0;
    for (const ConvergenceRow& r : result_.rows)
        for (const Quantity* e : {&r.errorA, &r.errorB})
            if (r.state == ConvergenceRow::State::Done && *e && **e > 0) {
                lo = lo > 0 ? std::min(lo, **e) : **e;
                hi = std::max(hi, **e);
            }
    if (!(lo > 0)) return;
    const double h = shown(std::fabs(row->step));
    current_->append(h, shown(lo / 3));
    current_->append(h, shown(hi * 3));
}

void AccuracyLabWindow::updateButtons() {
    runButton_->setEnabled(!running_);
    cancelButton_->setEnabled(running_);
    untilBox_->setEnabled(!running_);
    const auto sel = table_->selectionModel()->selectedRows();
    bool usable = false;
    if (!sel.isEmpty() && runState_ == Ready && !stale_) {
        const ConvergenceRow& row = result_.rows[tableRows_.at(static_cast<std::size_t>(sel.front().row()))];
        usable = menuIndexOf(row.plotInterval) >= 0;
    }
    useButton_->setEnabled(usable);
    exportButton_->setEnabled(!running_ && !cancelled_ && sweep_ != nullptr);
}

void AccuracyLabWindow::useSelectedInterval() {
    if (!useButton_->isEnabled()) return;
    const auto sel = table_->selectionModel()->selectedRows();
    if (sel.isEmpty()) return;
    const ConvergenceRow& row = result_.rows[tableRows_.at(static_cast<std::size_t>(sel.front().row()))];
    const int index = menuIndexOf(row.plotInterval);
    if (index >= 0) emit plotIntervalChosen(index);
}

void AccuracyLabWindow::exportCsv() {
    if (!exportButton_->isEnabled()) return;
    PlatformDialogs::FileOptions options;
    //: The title of the file dialog of Export CSV.
    options.title = tr("Export Sweep");
    //: A file dialog's filter: the part in brackets stays as it is.
    options.nameFilter = tr("CSV tables (*.csv *.CSV)");
    options.initialDir = DataFolder::trackExportFolder();
    options.defaultSuffix = QStringLiteral("csv");
    options.overwritePrompt = true;
    QString fileName;
    if (!dialogs_.saveFile(this, options, fileName)) return;
    try {
        CheckedFileWriter file(QFile::encodeName(fileName).toStdString());
        file.open();
        file.write(convergenceCsv(result_));
        file.commit();
    } catch (const FileWriteError& e) {
        //: %1 is the file's path, %2 the system's reason.
        dialogs_.showError(
            this, GeneralErrorText(
                      tr("The sweep could not be exported to %1: %2").arg(fileName, ErrorMessageText(e))));
    }
}

void AccuracyLabWindow::settingsChanged() {
    if (sweep_ && !sameSweepStart(sweepStart_, records_.CurSettings)) {
        stale_ = true;
        staleLabel_->show();
    }
    if (!running_) showDefaultUntil();
    markCurrentInterval();
    updateButtons();
}

void AccuracyLabWindow::runStateChanged(int state) {
    runState_ = state;
    updateButtons();
}

void AccuracyLabWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Opened for the first time: the sweep starts at once, for the start as it stands.
    if (!sweep_) guarded(dialogs_, this, [this] { startSweep(); });
}

void AccuracyLabWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (event->isAccepted()) emit closed();
}
