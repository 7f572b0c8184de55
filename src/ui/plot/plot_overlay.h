#pragma once

#include <QColor>
#include <QPainter>
#include <QPolygonF>
#include <QRect>
#include <QSize>
#include <QString>
#include <array>
#include <optional>
#include <vector>

#include "core/kepler_propagation.h"
#include "core/t_state.h"

// The view aids the user turned on.
struct OverlayOptions {
    bool exactPath = false;
    bool scaleBar = false;
    bool offscreenMarkers = false;
    bool startMarkers = false;  // drawn in Ready only
    bool any() const { return exactPath || scaleBar || offscreenMarkers || startMarkers; }
};

// What one picture of the overlay is drawn from.
struct OverlayFrame {
    TState start;          // the record the run or replay started from; CurSettings while Ready
    Extended elapsed = 0;  // simulated seconds since start
    Extended sf = 1e9L;    // metres per pixel, the crosses' scale
    TVector bodyA, bodyB;  // where the simulated bodies are now
    QColor colorA, colorB, background;
    QSize size;
    QRect keepClear;     // the control panel: labels are placed clear of it
    bool ready = false;  // the start markers show only before a run
};

// Where the start markers of a record stand: a ring on each body's start pixel and the head of its velocity
// arrow. The arrows share one scale, a round number of km/s per ArrowScalePixels, chosen so the faster body's
// arrow is at most twice that long.
struct StartMarks {
    static constexpr int ArrowScalePixels = 50;
    std::optional<QPoint> ring[2];
    std::optional<QPointF> head[2];
    Extended kmPerSecondPerScale = 1;                             // km/s that ArrowScalePixels stand for
    QString legend(QChar decimalPoint = QLatin1Char('.')) const;  // "50 px = 10 km/s"
};
StartMarks startMarksFor(const TState& s);
// The speed (km/s) and direction (degrees) an arrow from start pixel `from` to `head` stands for, at marks'
// scale; none for a zero-length arrow, whose direction is undefined.
std::optional<std::pair<Extended, Extended>> arrowVelocity(QPointF from, QPointF head,
                                                           Extended kmPerSecondPerScale);

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

// The pixel of a body's cross at position, for a ring round it; none when it is far off the plot or has no
// pixel.
std::optional<QPoint> crossCentre(const TVector& position, Extended sf);

// The shade of a body's colour that its exact path is drawn in: darker for a light colour, lighter for a dark
// one, so the path shows against white, against the crosses and against the other body's path.
QColor pathShade(const QColor& body);

// Draws the view aids over the plot. It never touches the plot's own image: the caller paints the
// result above it, so turning the aids off shows the run's pixels unchanged.
class PlotOverlay {
public:
    // All the aids of options at once.
    void paint(QPainter& p, const OverlayOptions& options, const OverlayFrame& frame, QChar decimalPoint);
    // The exact path of the last updatePath(), in its shades, 2 px wide and dashed.
    void paintPath(QPainter& p, const OverlayFrame& frame) const;
    // The scale bar and the off-screen markers, as options ask.
    void paintAids(QPainter& p, const OverlayOptions& options, const OverlayFrame& frame,
                   QChar decimalPoint) const;

    // Samples the exact path for frame: one set of polylines per body, in plot pixels, clipped to the view.
    // The path is built again only when its start, scale, plot size or end changed; true when it was.
    bool updatePath(const OverlayFrame& frame);
    // How many times the path was built.
    int pathBuilds() const { return builds_; }
    // Seconds after the start at which the exact path for frame ends: the run's span, and for a bound orbit
    // at least one period; for an open one, at least until the bodies' relative motion has left the view.
    Extended endOfPath(const KeplerPropagation& exact, const OverlayFrame& frame) const;
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
    void buildPath(const OverlayFrame& frame, Extended tEnd);
    void paintScaleBar(QPainter& p, const OverlayFrame& frame, QChar decimalPoint) const;
    void paintMarkers(QPainter& p, const OverlayFrame& frame, QChar decimalPoint) const;
    void paintStartMarkers(QPainter& p, const OverlayFrame& frame, QChar decimalPoint) const;

    std::optional<KeplerPropagation> exact_;
    TState exactStart_{};
    std::vector<ExactPathPoint> samples_;
    std::vector<QPolygonF> path_[2];
    Extended pathEnd_ = 0;
    // What the built path was made for: scale and end as bytes, so a NaN never makes every frame new.
    struct PathKey {
        std::array<unsigned char, 10> sf{}, end{};
        QSize size;
        bool operator==(const PathKey&) const = default;
    };
    std::optional<PathKey> builtFor_;
    int builds_ = 0;
};
