#pragma once

#include <QColor>
#include <QPainter>
#include <QPolygonF>
#include <QSize>
#include <QString>
#include <optional>
#include <vector>

#include "core/kepler_propagation.h"
#include "core/t_state.h"

// The view aids the user turned on.
struct OverlayOptions {
    bool exactPath = false;
    bool scaleBar = false;
    bool offscreenMarkers = false;
    bool any() const { return exactPath || scaleBar || offscreenMarkers; }
};

// What one picture of the overlay is drawn from.
struct OverlayFrame {
    TState start;          // the record the run or replay started from; CurSettings while Ready
    Extended elapsed = 0;  // simulated seconds since start
    Extended sf = 1e9L;    // metres per pixel, the crosses' scale
    TVector bodyA, bodyB;  // where the simulated bodies are now
    QColor colorA, colorB, background;
    QSize size;
};

struct ScaleBar {
    int pixels = 0;
    Extended metres = 0;
    QString label;  // "100 million km", "1 AU"
};

// The longest round length (1, 2 or 5 x a power of ten in km, or from 0.1 AU up in AU) that fits in
// maxPixels at sf; the longer of the two, km on a tie. None for a scale that is not finite and positive.
std::optional<ScaleBar> scaleBarFor(Extended sf, int maxPixels, QChar decimalPoint = QLatin1Char('.'));

enum class PlotEdge { Left, Top, Right, Bottom };

struct OffscreenMarker {
    QPointF tip;        // on the plot's edge, inset a little
    QPointF direction;  // unit vector from the view's centre towards the body
    PlotEdge edge;
    Extended distance = 0;  // metres from the view's centre
};

// Where the arrow for a body at position goes, or none while the body's cross is on the plot (or its
// position has no pixel).
std::optional<OffscreenMarker> offscreenMarkerFor(const TVector& position, Extended sf, QSize size);

// Rings round the two bodies at a plot point the timeline chose, in their colours, centred on the pixels
// their crosses have there.
void paintTimelineRings(QPainter& p, const TVector& a, const TVector& b, const OverlayFrame& frame);

// The lighter tint of a body's colour that its exact path is drawn in.
QColor pathTint(const QColor& body);

// Draws the view aids over the plot. It never touches the plot's own image: the caller paints the
// result above it, so turning the aids off shows the run's pixels unchanged.
class PlotOverlay {
public:
    void paint(QPainter& p, const OverlayOptions& options, const OverlayFrame& frame, QChar decimalPoint);

    // Samples the exact path for frame: one set of polylines per body, in plot pixels, clipped to the view.
    void buildPath(const OverlayFrame& frame);
    const std::vector<QPolygonF>& path(int body) const { return path_[body != 0]; }
    // Seconds after the start that the last path reaches, and how many samples it took.
    Extended pathEnd() const { return pathEnd_; }
    int sampleCount() const { return static_cast<int>(samples_.size()); }
    // The propagation of the last frame's start, when it has an exact path.
    const KeplerPropagation* exact() const;

    // The scale bar's left end sits right of the control panel's default column.
    static constexpr int ScaleBarLeft = 104;
    static constexpr int ScaleBarBottomMargin = 14;
    static constexpr int ScaleBarMaxPixels = 120;

private:
    const KeplerPropagation* propagationFor(const TState& start);
    Extended endOfPath(const KeplerPropagation& exact, const OverlayFrame& frame) const;
    void paintScaleBar(QPainter& p, const OverlayFrame& frame, QChar decimalPoint) const;
    void paintMarkers(QPainter& p, const OverlayFrame& frame, QChar decimalPoint) const;

    std::optional<KeplerPropagation> exact_;
    TState exactStart_{};
    std::vector<ExactPathPoint> samples_;
    std::vector<QPolygonF> path_[2];
    Extended pathEnd_ = 0;
};
