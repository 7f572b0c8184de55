#pragma once

#include <QElapsedTimer>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/integration_error.h"
#include "core/orbit_drift.h"
#include "core/orbit_readout.h"
#include "core/plot_track.h"
#include "core/sim_records.h"

class QLabel;
class QSlider;

// The Orbit Readout: the exact orbit of the record a run starts from beside the osculating orbit at the
// last plot point, and a gauge of how far the run has drifted from the start. It lives in a dock beside the
// plot; it reads the records and is told of the run's moments by the main window, which it never includes.
class OrbitReadoutWindow : public QWidget {
    Q_OBJECT

public:
    enum Row {
        ElapsedRow,
        KindRow,
        EccentricityRow,
        SemiMajorAxisRow,
        PeriapsisRow,
        ApoapsisRow,
        PeriodRow,
        TimeToPeriapsisRow,
        StepsRow,
        SeparationRow,
        RelativeSpeedRow,
        RelativeEnergyRow,
        TotalEnergyRow,
        AngularMomentumRow,
        SpeedARow,
        DirectionARow,
        SpeedBRow,
        DirectionBRow,
        RowCount
    };

    // Repaints of a live run come at most this often.
    static constexpr int RepaintIntervalMs = 250;

    OrbitReadoutWindow(const SimRecords& records, QWidget* parent = nullptr);

    // The run's moments, as the main window reports them.
    void runStarted(const TState& start);
    void plotPointDrawn(const QString& elapsedDays);
    void replayFinished();
    void runStateChanged(int state);
    // CurSettings changed.
    void settingsChanged();
    // The initial-state dialog's unsaved values: the start column follows them while Ready.
    void previewStart(const TState& preview);
    void previewEnded();

    QString startText(Row row) const;
    QString nowText(Row row) const;
    QString summaryText() const;
    QString warningText() const;
    QString energyDriftText() const;
    QString angularMomentumDriftText() const;
    DriftLevel energyDriftLevel() const { return gauge_.energy.level; }
    DriftLevel angularMomentumDriftLevel() const { return gauge_.angularMomentum.level; }
    bool hintShown() const;

    // How far the simulated bodies are from their exact places at the run's time; the program, which
    // knows the run's clock, provides it. Shown in km and in pixels at the current scale.
    std::function<std::optional<IntegrationError>()> integrationErrorSource;
    QString integrationErrorText() const;
    // What the line shows: at the timeline's point while it marks one, else at the run's time now.
    std::optional<IntegrationError> shownIntegrationError() const;

    // The run's kept plot points and the record they were computed from. While paused, the timeline walks
    // through them: the "Now" column and the gauge then show the chosen point, and the plot rings both
    // bodies there. Run goes on from where the run paused, whatever the timeline shows.
    std::function<const PlotTrack*()> keptPointsSource;
    std::function<TState()> keptPointsStartSource;
    QSlider* timeline() const { return timeline_; }
    QString timelineText() const;

    // Seams for tests: how often the orbit was worked out and the window painted.
    int computeCount = 0;
    int paintCount = 0;

signals:
    // The timeline chose a plot point, with both bodies' positions there; or left it.
    void timelineMarked(const TVector& a, const TVector& b);
    void timelineCleared();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    struct Cells {
        QLabel* name;
        QLabel* start;
        QLabel* now;
    };

    // Names each value's label after its row and column, as a screen reader finds it.
    void nameValueCells();
    OrbitReadout readout(const TState& s);
    // "0.0" with the user's decimal separator.
    QString zeroDays() const;
    // The elapsed row's text of a day's number, "120.0 days"; a dash stays a dash.
    static QString daysText(const QString& days);
    void showPreview(const TState& s);
    void refreshFromSettings();
    void requestPaint();
    void paint();
    void resetTimeline();
    void showTimelinePoint(int index);
    QString integrationErrorLine() const;
    void showTimelineText(const QString& text);

    const SimRecords& records_;
    std::string sep_;
    std::vector<Cells> rows_;
    QLabel* summary_ = nullptr;
    QLabel* warning_ = nullptr;
    QLabel* energyChip_ = nullptr;
    QLabel* energyFigure_ = nullptr;
    QLabel* momentumChip_ = nullptr;
    QLabel* momentumFigure_ = nullptr;
    QLabel* hint_ = nullptr;
    QLabel* integrationError_ = nullptr;
    QSlider* timeline_ = nullptr;
    QLabel* timelineLabel_ = nullptr;
    bool timelineMarked_ = false;
    std::optional<IntegrationError> timelineError_;

    OrbitReadout start_;
    QString startDays_;  // the number alone, as the main window gives it
    std::optional<OrbitReadout> now_;
    QString nowDays_;
    DriftGauge gauge_;
    TState shownSettings_{};
    bool previewing_ = false;

    QElapsedTimer sincePaint_;
    QTimer paintTimer_;
};
