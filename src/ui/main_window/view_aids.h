#pragma once

#include <QObject>
#include <QTimer>
#include <cstdint>
#include <optional>
#include <utility>

#include "core/integration_error.h"
#include "core/sim_records.h"
#include "ui/main_window/plot_overlay.h"

class PlotSurface;

// The exact path, the scale bar and the off-screen markers: which are on (remembered in the view options),
// the run's clock they are drawn for, and the overlay picture handed to the plot surface.
class ViewAids : public QObject {
    Q_OBJECT
public:
    ViewAids(SimRecords& records, PlotSurface& surface, QObject* parent = nullptr);

    const OverlayOptions& options() const { return options_; }
    void setExactPath(bool on);
    void setScaleBar(bool on);
    void setOffscreenMarkers(bool on);

    // The run's clock: the record a run or replay starts from (CurSettings may change during the run), and
    // the steps taken since, counted across pauses and resumes. Each step is counted once: at its plot
    // point when it has one (the window hears of the point before the step's event pump), else at its pump.
    void runStarted(const TState& start);
    void plotPointReached() {
        ++steps_;
        countedBeforePump_ = true;
    }
    // n steps since the last pump, the last of which may have been counted at its plot point.
    void stepsPumped(std::int64_t n) {
        steps_ += countedBeforePump_ ? n - 1 : n;
        countedBeforePump_ = false;
    }
    // Nothing is drawn while a replay goes on; it is drawn once when the replay ends.
    void replayStarted(const TState& start);
    void replayEnded();
    // A zoom drew the run's kept plot points afresh: the run stands at plot point n, steps = n x cpT.
    void keptPointsRedrawn(const TState& start, std::int64_t steps);
    // A ring round each body where the timeline stands, drawn whether or not a view aid is on; none clears
    // it.
    void setTimelineMarker(const std::optional<std::pair<TVector, TVector>>& bodies);
    const std::optional<std::pair<TVector, TVector>>& timelineMarker() const { return marker_; }
    // Redraws at once what has changed (a state change, a zoom, a re-centring, a Reset).
    void refresh();

    const TState& runStart() const { return runStart_; }
    std::int64_t stepsTaken() const { return steps_; }
    // Simulated seconds since the run's start: steps x dT / cpT.
    Extended elapsed() const;
    // The simulated bodies' distance from their exact positions now, in metres; divide by
    // CurSettings.sf for pixels. None while Ready or without an exact path.
    std::optional<IntegrationError> integrationError();

    // What the overlay is drawn from now.
    OverlayFrame currentFrame() const;
    PlotOverlay& overlay() { return overlay_; }

    // A live run's overlay follows the bodies at most this often.
    static constexpr int RhythmMs = 250;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setOption(bool OverlayOptions::*member, const char* key, bool on);
    bool sameAsShown(const OverlayFrame& frame) const;

    SimRecords& r_;
    PlotSurface& surface_;
    OverlayOptions options_;
    PlotOverlay overlay_;
    QTimer rhythm_;

    TState runStart_;
    std::int64_t steps_ = 0;
    bool countedBeforePump_ = false;
    bool replaying_ = false;

    std::optional<std::pair<TVector, TVector>> marker_;
    bool markerShown_ = false;
    std::optional<OverlayFrame> shown_;
    OverlayOptions shownOptions_;
};
