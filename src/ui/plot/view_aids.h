#pragma once

#include <QColor>
#include <QObject>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <optional>
#include <utility>

#include "core/integration_error.h"
#include "core/run_session.h"
#include "ui/plot/plot_overlay.h"

class PlotSurface;

// The exact path, the scale bar and the off-screen markers: which are on (remembered in the view options),
// the run's clock they are drawn for, and the overlay picture handed to the plot surface.
class ViewAids : public QObject {
    Q_OBJECT
public:
    ViewAids(const RunSession& session, PlotSurface& surface, QObject* parent = nullptr);

    const OverlayOptions& options() const { return options_; }
    void setExactPath(bool on);
    void setScaleBar(bool on);
    void setOffscreenMarkers(bool on);
    void setStartMarkers(bool on);
    // While Ready, the start the aids show instead of CurSettings: the Initial State dialog's pending values
    // or a drag's; none shows CurSettings again.
    void setPreview(const std::optional<TState>& start);
    const std::optional<TState>& preview() const { return preview_; }

    // The run's moments. Nothing is drawn while a replay goes on; it is drawn once when the replay ends.
    void runStarted();
    void replayStarted();
    void replayEnded();
    // A zoom drew the run's kept plot points afresh.
    void keptPointsRedrawn();
    // A ring round each body where the timeline stands, drawn whether or not a view aid is on; none clears
    // it.
    void setTimelineMarker(const std::optional<std::pair<TVector, TVector>>& bodies);
    const std::optional<std::pair<TVector, TVector>>& timelineMarker() const { return marker_; }
    // A line over the plot's top left ("Ends at the next Pause"); empty for none.
    void setNotice(const QString& text);
    // Redraws at once what has changed (a state change, a zoom, a re-centring, a Reset).
    void refresh();

    // The run's clock, as the session keeps it: the record the run or replay started from (CurSettings may
    // change during the run) and the steps taken since, across pauses and resumes.
    const TState& runStart() const { return session_.runStart(); }
    std::int64_t stepsTaken() const { return session_.stepsTaken(); }
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
    bool sameAidsAsShown(const OverlayFrame& frame) const;
    void showRings();

    const RunSession& session_;
    const SimRecords& r_;
    PlotSurface& surface_;
    OverlayOptions options_;
    PlotOverlay overlay_;
    QTimer rhythm_;

    bool replaying_ = false;

    std::optional<std::pair<TVector, TVector>> marker_;
    std::optional<TState> preview_;
    // What the two layers show: the path's colours (its shape is the overlay's to know), and the frame and
    // options the scale bar and markers were drawn for.
    bool pathShown_ = false;
    std::pair<QColor, QColor> pathColors_;
    std::optional<OverlayFrame> shownAids_;
    OverlayOptions shownAidOptions_;
};
