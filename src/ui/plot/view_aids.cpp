#include "ui/plot/view_aids.h"

#include <QEvent>
#include <QLocale>
#include <QWidget>
#include <algorithm>
#include <cstring>

#include "core/orbit_fp_guard.h"
#include "ui/common/color_conversion.h"
#include "ui/common/view_options.h"
#include "ui/plot/plot_surface.h"

namespace {

const char* const ExactPathKey = "View/ExactPath";
const char* const ScaleBarKey = "View/ScaleBar";
const char* const OffscreenMarkersKey = "View/OffscreenMarkers";
const char* const StartMarkersKey = "View/StartMarkers";

}  // namespace

ViewAids::ViewAids(const RunSession& session, PlotSurface& surface, QObject* parent)
    : QObject(parent), session_(session), r_(session.records()), surface_(surface) {
    options_.exactPath = ViewOptions::flag(QLatin1String(ExactPathKey));
    options_.scaleBar = ViewOptions::flag(QLatin1String(ScaleBarKey));
    options_.offscreenMarkers = ViewOptions::flag(QLatin1String(OffscreenMarkersKey));
    options_.startMarkers = ViewOptions::flag(QLatin1String(StartMarkersKey));
    rhythm_.setInterval(RhythmMs);
    connect(&rhythm_, &QTimer::timeout, this, [this] { refresh(); });
    surface_.installEventFilter(this);
    refresh();
}

void ViewAids::setOption(bool OverlayOptions::*member, const char* key, bool on) {
    if (options_.*member == on) return;
    options_.*member = on;
    ViewOptions::setFlag(QLatin1String(key), on);
    refresh();
}

void ViewAids::setExactPath(bool on) {
    setOption(&OverlayOptions::exactPath, ExactPathKey, on);
}

void ViewAids::setScaleBar(bool on) {
    setOption(&OverlayOptions::scaleBar, ScaleBarKey, on);
}

void ViewAids::setOffscreenMarkers(bool on) {
    setOption(&OverlayOptions::offscreenMarkers, OffscreenMarkersKey, on);
}

void ViewAids::setStartMarkers(bool on) {
    setOption(&OverlayOptions::startMarkers, StartMarkersKey, on);
}

void ViewAids::setPreview(const std::optional<TState>& start) {
    preview_ = start;
    refresh();
}

void ViewAids::runStarted() {
    refresh();
}

void ViewAids::replayStarted() {
    replaying_ = true;
    // What was drawn before belongs to the old scale or positions: the plot shows no overlay until the
    // replay has ended.
    shownAids_.reset();
    pathShown_ = false;
    surface_.setOverlay(PlotSurface::PathLayer, QImage());
    surface_.setOverlay(PlotSurface::AidsLayer, QImage());
}

void ViewAids::replayEnded() {
    replaying_ = false;
    refresh();
}

void ViewAids::keptPointsRedrawn() {
    refresh();
}

Extended ViewAids::elapsed() const {
    OrbitFpGuard guard;
    const TState& start = runStart();
    const Extended t = static_cast<Extended>(stepsTaken()) * (start.dT() / start.cpT());
    return __builtin_isfinite(t) ? t : 0;
}

std::optional<IntegrationError> ViewAids::integrationError() {
    if (r_.SimState == Ready) return std::nullopt;
    const KeplerPropagation exact(runStart());
    return ::integrationError(exact, elapsed(), r_.CurState.APos(), r_.CurState.BPos());
}

OverlayFrame ViewAids::currentFrame() const {
    OverlayFrame f;
    const bool ready = r_.SimState == Ready;
    const TState& settings = ready && preview_ ? *preview_ : r_.CurSettings;
    f.start = ready ? settings : runStart();
    f.ready = ready;
    f.elapsed = ready ? 0 : elapsed();
    f.sf = r_.CurSettings.sf();
    const TState& now = ready ? settings : r_.CurState;
    f.bodyA = now.APos();
    f.bodyB = now.BPos();
    f.colorA = colorOf(r_.CurSettings.AColor());
    f.colorB = colorOf(r_.CurSettings.BColor());
    f.background = surface_.windowColor();
    f.size = surface_.size();
    for (const QWidget* child : surface_.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (child->isVisible()) f.keepClear |= child->geometry();
    return f;
}

bool ViewAids::sameAidsAsShown(const OverlayFrame& f) const {
    if (!shownAids_) return false;
    const OverlayFrame& s = *shownAids_;
    const auto sameVector = [](const TVector& a, const TVector& b) { return a.u == b.u && a.v == b.v; };
    // Bytes compared, not values: a NaN field must not make every frame look new.
    const bool sameScale = std::memcmp(&s.sf, &f.sf, 10) == 0;
    if (!sameScale || s.size != f.size || s.colorA != f.colorA || s.colorB != f.colorB ||
        s.background != f.background || s.keepClear != f.keepClear || s.ready != f.ready)
        return false;
    if (options_.startMarkers && f.ready && !(s.start == f.start)) return false;
    if (options_.offscreenMarkers && (!sameVector(s.bodyA, f.bodyA) || !sameVector(s.bodyB, f.bodyB)))
        return false;
    return true;
}

void ViewAids::setTimelineMarker(const std::optional<std::pair<TVector, TVector>>& bodies) {
    marker_ = bodies;
    showRings();
}

void ViewAids::showRings() {
    std::vector<PlotSurface::Ring> rings;
    if (marker_) {
        const Extended sf = r_.CurSettings.sf();
        if (const std::optional<QPoint> a = crossCentre(marker_->first, sf))
            rings.push_back({*a, colorOf(r_.CurSettings.AColor())});
        if (const std::optional<QPoint> b = crossCentre(marker_->second, sf))
            rings.push_back({*b, colorOf(r_.CurSettings.BColor())});
    }
    surface_.setRings(rings);
}

void ViewAids::setNotice(const QString& text) {
    surface_.setNotice(text);
}

void ViewAids::refresh() {
    showRings();
    if (!options_.any()) {
        rhythm_.stop();
        shownAids_.reset();
        pathShown_ = false;
        surface_.setOverlay(PlotSurface::PathLayer, QImage());
        surface_.setOverlay(PlotSurface::AidsLayer, QImage());
        return;
    }
    if (!rhythm_.isActive()) rhythm_.start();
    if (replaying_) return;
    // Run inside the run loop's event pump and inside handlers: the flags stay as they were.
    OrbitFpGuard guard;
    const OverlayFrame frame = currentFrame();
    const auto blankLayer = [&frame] {
        QImage layer(frame.size.expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
        layer.fill(Qt::transparent);
        return layer;
    };

    if (!options_.exactPath) {
        pathShown_ = false;
        surface_.setOverlay(PlotSurface::PathLayer, QImage());
    } else {
        const bool rebuilt = overlay_.updatePath(frame);
        if (rebuilt || !pathShown_ || pathColors_ != std::make_pair(frame.colorA, frame.colorB)) {
            QImage layer = blankLayer();
            QPainter p(&layer);
            overlay_.paintPath(p, frame);
            p.end();
            surface_.setOverlay(PlotSurface::PathLayer, layer);
            pathShown_ = true;
            pathColors_ = std::make_pair(frame.colorA, frame.colorB);
        }
    }

    const bool anyAid = options_.scaleBar || options_.offscreenMarkers || options_.startMarkers;
    const bool sameAids = shownAidOptions_.scaleBar == options_.scaleBar &&
                          shownAidOptions_.offscreenMarkers == options_.offscreenMarkers &&
                          shownAidOptions_.startMarkers == options_.startMarkers;
    if (!anyAid) {
        shownAids_.reset();
        surface_.setOverlay(PlotSurface::AidsLayer, QImage());
    } else if (!sameAids || !sameAidsAsShown(frame)) {
        QImage layer = blankLayer();
        QPainter p(&layer);
        const QString point = QLocale().decimalPoint();
        overlay_.paintAids(p, options_, frame, point.isEmpty() ? QLatin1Char('.') : point.front());
        p.end();
        surface_.setOverlay(PlotSurface::AidsLayer, layer);
        shownAids_ = frame;
        shownAidOptions_ = options_;
    }
}

bool ViewAids::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &surface_ && event->type() == QEvent::Resize) refresh();
    return QObject::eventFilter(watched, event);
}
