#pragma once

#include <QDockWidget>
#include <QElapsedTimer>
#include <QString>
#include <QTimer>
#include <functional>
#include <optional>

#include "core/plot_track.h"
#include "core/t_state.h"
#include "core/track_graphs.h"

class QChart;
class QLineSeries;
class QValueAxis;

// The Graphs dock: the run's separation, relative speed and energy drift against time, drawn from the plot
// points the run kept (nothing is computed again), the exact orbit's separation beside the run's, and a
// cursor at the timeline's point (or the last point). A live run redraws it at most four times a second, a
// replay once at its end. It is told of the run's moments by the main window, which it never includes.
class GraphsDock : public QDockWidget {
    Q_OBJECT

public:
    // A live run redraws at most this often.
    static constexpr int RefreshIntervalMs = 250;
    // Beyond this many points a series keeps each stretch's lowest and highest: a screen has fewer pixels.
    static constexpr int MaxSeriesPoints = 4000;

    explicit GraphsDock(QWidget* mainWindow);

    // The run's moments, as the main window reports them.
    void runStarted(const TState& start);
    void plotPointDrawn(const QString& elapsedDays);
    void replayFinished();
    void runStateChanged(int state);
    // The timeline chose kept point `index`, or let go of it.
    void setCursorIndex(int index);
    void clearCursor();

    // The run's kept points and the record they were computed from; the program provides them.
    std::function<const PlotTrack*()> keptPointsSource;
    std::function<TState()> keptPointsStartSource;

    // Draws the graphs from the kept points now.
    void refresh();

    const TrackGraphs& graphs() const { return graphs_; }
    QLineSeries* separationSeries() const { return separation_; }
    QLineSeries* exactSeparationSeries() const { return exactSeparation_; }
    QLineSeries* speedSeries() const { return speed_; }
    QLineSeries* driftSeries() const { return drift_; }
    // The cursor's line on each chart, at one day.
    QLineSeries* cursorSeries(int chart) const { return cursors_[chart]; }
    // Seam for tests: how often the graphs were drawn.
    int refreshCount = 0;

signals:
    // The user closed the dock.
    void closed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    struct Chart {
        QChart* chart;
        QValueAxis* x;
        QValueAxis* y;
    };
    Chart makeChart(const QString& name, const QString& title, const QString& yTitle);
    void requestRefresh();
    void placeCursor();

    std::vector<Chart> charts_;
    QLineSeries* separation_ = nullptr;
    QLineSeries* exactSeparation_ = nullptr;
    QLineSeries* speed_ = nullptr;
    QLineSeries* drift_ = nullptr;
    std::vector<QLineSeries*> cursors_;
    TrackGraphs graphs_;
    std::optional<int> cursorIndex_;
    bool ready_ = true;  // no run since the start or a Reset
    QElapsedTimer sinceRefresh_;
    QTimer refreshTimer_;
};
