#include "ui/graphs/graphs_dock.h"

#include <QChart>
#include <QChartView>
#include <QCloseEvent>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPen>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <vector>

#include "core/kepler_propagation.h"
#include "core/sim_records.h"
#include "ui/common/chart_numbers.h"

namespace {

// Points of the exact orbit's separation line, denser where the path bends most.
constexpr int ExactSamples = 1000;

// For display only: the chart draws doubles.
double shown(Extended x) {
    return static_cast<double>(x);
}

// The points of one graph, thinned to each stretch's lowest and highest (in their order) when there are more
// than the series should hold.
QList<QPointF> pointsOf(const std::vector<Extended>& x, const std::vector<Extended>& y) {
    QList<QPointF> out;
    const std::size_t n = std::min(x.size(), y.size());
    const auto limit = static_cast<std::size_t>(GraphsDock::MaxSeriesPoints);
    if (n <= limit) {
        out.reserve(static_cast<qsizetype>(n));
        for (std::size_t i = 0; i < n; ++i) out.append(QPointF(shown(x[i]), shown(y[i])));
        return out;
    }
    const std::size_t stretches = limit / 2;
    out.reserve(static_cast<qsizetype>(limit));
    for (std::size_t s = 0; s < stretches; ++s) {
        const std::size_t begin = s * n / stretches;
        const std::size_t end = (s + 1) * n / stretches;
        std::size_t lo = begin, hi = begin;
        for (std::size_t i = begin; i < end; ++i) {
            if (y[i] < y[lo]) lo = i;
            if (y[i] > y[hi]) hi = i;
        }
        for (const std::size_t i : {std::min(lo, hi), std::max(lo, hi)}) {
            out.append(QPointF(shown(x[i]), shown(y[i])));
            if (lo == hi) break;
        }
    }
    return out;
}

QLineSeries* line(const QString& name, const QColor& color, Qt::PenStyle style = Qt::SolidLine) {
    auto* s = new QLineSeries;
    s->setName(name);
    QPen pen(color);
    pen.setWidthF(1.5);
    pen.setStyle(style);
    s->setPen(pen);
    return s;
}

}  // namespace

//: The dock beside the plot with the graphs of the run against time.
GraphsDock::GraphsDock(QWidget* mainWindow) : QDockWidget(tr("Graphs"), mainWindow) {
    setObjectName(QStringLiteral("GraphsDock"));
    //: The dock beside the plot with the graphs of the run against time.
    setAccessibleName(tr("Graphs"));
    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(2, 2, 2, 2);

    //: A line of the separation graph: the bodies' distance in the run.
    separation_ = line(tr("Run", "graph line"), QColor(200, 0, 0));
    //: A line of the separation graph: the bodies' distance on the exact orbit.
    exactSeparation_ = line(tr("Exact orbit", "graph line"), QColor(0, 150, 0), Qt::DashLine);
    speed_ = line(tr("Relative speed", "graph line"), QColor(0, 90, 200));
    drift_ = line(tr("Energy drift", "graph line"), QColor(170, 90, 0));
    const struct {
        const char* name;
        QString title, yTitle;
        std::vector<QLineSeries*> series;
    } graphs[] = {
        //: The title of the graph of the bodies' distance, and its axis's unit: metres (m).
        {"separationChart", tr("Separation", "graph"), tr("m", "metres"), {separation_, exactSeparation_}},
        //: The title of the graph of the bodies' relative speed, and its axis's unit: metres a second (m/s).
        {"speedChart", tr("Relative speed", "graph"), tr("m/s", "metres a second"), {speed_}},
        //: The title of the graph of the run's energy drift, and its axis: the drift is a share of the size
        //: of
        //: the start's potential energy.
        {"driftChart",
         tr("Energy drift since the start", "graph"),
         tr("of |potential energy|", "axis"),
         {drift_}},
    };
    for (const auto& graph : graphs) {
        Chart c = makeChart(QString::fromLatin1(graph.name), graph.title, graph.yTitle);
        //: The line at the timeline's point; it is not named in the legend, but a screen reader may name it.
        auto* cursor = line(tr("Cursor", "graph line"), QColor(90, 90, 90), Qt::DotLine);
        std::vector<QLineSeries*> all = graph.series;
        all.push_back(cursor);
        for (QLineSeries* s : all) {
            c.chart->addSeries(s);
            s->attachAxis(c.x);
            s->attachAxis(c.y);
        }
        // The cursor is no series to name in the legend.
        for (QLegendMarker* m : c.chart->legend()->markers(cursor)) m->setVisible(false);
        c.chart->legend()->setVisible(graph.series.size() > 1);
        cursors_.push_back(cursor);
        auto* view = new QChartView(c.chart, body);
        view->setObjectName(QString::fromLatin1(graph.name) + QStringLiteral("View"));
        //: A graph's name for a screen reader: %1 is the graph's title ("Separation against time").
        view->setAccessibleName(tr("%1 against time").arg(graph.title));
        view->setRenderHint(QPainter::Antialiasing);
        view->setMinimumSize(320, 180);
        layout->addWidget(view);
        charts_.push_back(c);
    }
    setWidget(body);

    refreshTimer_.setSingleShot(true);
    connect(&refreshTimer_, &QTimer::timeout, this, [this] { refresh(); });
}

GraphsDock::Chart GraphsDock::makeChart(const QString& name, const QString& title, const QString& yTitle) {
    auto* chart = new QChart;
    chart->setObjectName(name);
    chart->setTitle(title);
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setMargins(QMargins(2, 2, 2, 2));
    localizeChartNumbers(chart);
    auto* x = new QValueAxis;
    //: The graphs' time axis, in days of simulated time.
    x->setTitleText(tr("days", "axis"));
    x->setLabelFormat(QStringLiteral("%g"));
    auto* y = new QValueAxis;
    y->setTitleText(yTitle);
    y->setLabelFormat(QStringLiteral("%.3g"));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    return Chart{chart, x, y};
}

void GraphsDock::runStarted(const TState&) {
    cursorIndex_.reset();
    ready_ = false;
    requestRefresh();
}

void GraphsDock::plotPointDrawn(const QString&) {
    requestRefresh();
}

void GraphsDock::replayFinished() {
    refreshTimer_.stop();
    refresh();
}

void GraphsDock::runStateChanged(int state) {
    if (state == Ready) {
        // Reset leaves no run to draw.
        cursorIndex_.reset();
        ready_ = true;
        refreshTimer_.stop();
        refresh();
    } else if (state == Paused && refreshTimer_.isActive()) {
        // A pause shows the last points at once, not at the end of the quiet time.
        refreshTimer_.stop();
        refresh();
    }
}

void GraphsDock::setCursorIndex(int index) {
    cursorIndex_ = index;
    placeCursor();
}

void GraphsDock::clearCursor() {
    cursorIndex_.reset();
    placeCursor();
}

void GraphsDock::requestRefresh() {
    if (!isVisible()) return;
    if (!sinceRefresh_.isValid() || sinceRefresh_.elapsed() >= RefreshIntervalMs) {
        refresh();
    } else if (!refreshTimer_.isActive()) {
        refreshTimer_.start(RefreshIntervalMs - static_cast<int>(sinceRefresh_.elapsed()));
    }
}

void GraphsDock::refresh() {
    sinceRefresh_.start();
    if (!isVisible()) return;
    ++refreshCount;
    const PlotTrack* track = keptPointsSource ? keptPointsSource() : nullptr;
    const TState start = keptPointsStartSource ? keptPointsStartSource() : TState{};
    graphs_ = track && !track->empty() && !ready_ ? trackGraphs(*track, start) : TrackGraphs{};
    separation_->replace(pointsOf(graphs_.days, graphs_.separation));
    speed_->replace(pointsOf(graphs_.days, graphs_.relativeSpeed));
    drift_->replace(pointsOf(graphs_.days, graphs_.energyDrift));

    QList<QPointF> exact;
    if (graphs_.days.size() > 1) {
        std::vector<ExactPathPoint> path;
        KeplerPropagation(start).samplePath(graphs_.days.back() * 86400, ExactSamples, path);
        exact.reserve(static_cast<qsizetype>(path.size()));
        for (const ExactPathPoint& p : path) {
            const Extended du = p.positionB.u - p.positionA.u;
            const Extended dv = p.positionB.v - p.positionA.v;
            exact.append(QPointF(shown(p.t / 86400), shown(__builtin_sqrtl(du * du + dv * dv))));
        }
    }
    exactSeparation_->replace(exact);

    // The axes hold the run's points and the exact line, with a little room.
    const auto range = [](const std::vector<QList<QPointF>>& lists, bool horizontal, double& lo, double& hi) {
        bool any = false;
        for (const QList<QPointF>& l : lists)
            for (const QPointF& p : l) {
                const double v = horizontal ? p.x() : p.y();
                lo = any ? std::min(lo, v) : v;
                hi = any ? std::max(hi, v) : v;
                any = true;
            }
        if (!any) {
            lo = 0;
            hi = 1;
        }
        if (hi == lo) hi = lo + (lo == 0 ? 1 : std::abs(lo) * 1e-6);
    };
    const std::vector<std::vector<QList<QPointF>>> contents = {
        {separation_->points(), exact}, {speed_->points()}, {drift_->points()}};
    for (std::size_t c = 0; c < charts_.size(); ++c) {
        double x0 = 0, x1 = 0, y0 = 0, y1 = 0;
        range(contents[c], true, x0, x1);
        range(contents[c], false, y0, y1);
        const double pad = (y1 - y0) * 0.05;
        // Counted ticks while the range changes: the last range's tick interval may be far too fine for it.
        for (QValueAxis* axis : {charts_[c].x, charts_[c].y}) axis->setTickType(QValueAxis::TicksFixed);
        charts_[c].x->setRange(x0, x1);
        // A distance or a speed never goes below zero, nor does its axis.
        charts_[c].y->setRange(y0 >= 0 ? std::max(0.0, y0 - pad) : y0 - pad, y1 + pad);
        for (QValueAxis* axis : {charts_[c].x, charts_[c].y}) {
            axis->applyNiceNumbers();
            // Ticks counted from zero, so that zero is a tick of its own and not -2.78e-17.
            const double interval = (axis->max() - axis->min()) / std::max(1, axis->tickCount() - 1);
            if (!(interval > 0)) continue;
            axis->setTickAnchor(0);
            axis->setTickInterval(interval);
            axis->setTickType(QValueAxis::TicksDynamic);
        }
    }
    placeCursor();
}

void GraphsDock::placeCursor() {
    for (QLineSeries* c : cursors_) c->clear();
    if (graphs_.days.empty()) return;
    const std::size_t last = graphs_.days.size() - 1;
    const std::size_t i =
        cursorIndex_ ? std::min(static_cast<std::size_t>(std::max(0, *cursorIndex_)), last) : last;
    const double day = shown(graphs_.days[i]);
    for (std::size_t c = 0; c < charts_.size(); ++c) {
        cursors_[c]->append(day, charts_[c].y->min());
        cursors_[c]->append(day, charts_[c].y->max());
    }
}

void GraphsDock::showEvent(QShowEvent* event) {
    QDockWidget::showEvent(event);
    refresh();
}

void GraphsDock::closeEvent(QCloseEvent* event) {
    QDockWidget::closeEvent(event);
    if (event->isAccepted()) emit closed();
}
