#include "ui/plot/plot_overlay.h"

#include <QCoreApplication>
#include <QFont>
#include <QFontMetrics>
#include <QLineF>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "core/orbit_fp_guard.h"
#include "core/plot_pixels.h"
#include "core/vector_math.h"
#include "ui/common/distance_in_words.h"

namespace {

constexpr Extended AstronomicalUnit = 149597870700.0L;
// The path is smooth to the eye once no chord on the plot is longer than this.
constexpr double SmoothChordPixels = 3.0;
constexpr int SamplesPerTurn = 65;
constexpr int MaxSamples = 200000;
// An open path is followed until both bodies are this far outside the view.
constexpr double LeaveMarginPixels = 40.0;
constexpr int MaxLeaveDoublings = 120;
constexpr qreal MarkerInset = 3;
constexpr qreal ArrowLength = 11;
constexpr qreal ArrowHalfWidth = 5;

bool usableScale(Extended sf) {
    return __builtin_isfinite(sf) && sf > 0;
}

// Plot pixels of a position, unrounded (the crosses round the same value); off every edge when it has none.
QPointF pixelOf(const TVector& x, Extended sf) {
    const std::optional<PlotPixel> p = pixelOrNone(x, sf);
    if (!p) return {qInf(), qInf()};
    return QPointF(static_cast<double>(p->x), static_cast<double>(p->y));
}

bool finitePoint(const QPointF& p) {
    return std::isfinite(p.x()) && std::isfinite(p.y());
}

// Liang-Barsky: cuts the segment a-b to rect; false when nothing of it is inside.
bool clipSegment(QPointF& a, QPointF& b, const QRectF& rect) {
    const double dx = b.x() - a.x();
    const double dy = b.y() - a.y();
    double t0 = 0, t1 = 1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x() - rect.left(), rect.right() - a.x(), a.y() - rect.top(),
                         rect.bottom() - a.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1) return false;
    }
    const QPointF start = a;
    a = QPointF(start.x() + t0 * dx, start.y() + t0 * dy);
    b = QPointF(start.x() + t1 * dx, start.y() + t1 * dy);
    return true;
}

QColor contrastOf(const QColor& c) {
    return c.lightness() > 128 ? QColor(Qt::black) : QColor(Qt::white);
}

QString withDecimalPoint(QString s, QChar decimalPoint) {
    return s.replace(QLatin1Char('.'), decimalPoint);
}

}  // namespace

std::optional<ScaleBar> scaleBarFor(Extended sf, int maxPixels, QChar decimalPoint) {
    OrbitFpGuard guard;
    if (!usableScale(sf) || maxPixels < 1) return std::nullopt;
    const Extended room = sf * maxPixels;
    // The largest 1, 2 or 5 x 10^k of unit not over room, or none below the smallest allowed power.
    const auto roundLength = [room](Extended unit, int lowestPower) -> std::optional<Extended> {
        const Extended units = room / unit;
        if (!__builtin_isfinite(units) || !(units > 0)) return std::nullopt;
        int power = static_cast<int>(std::floor(std::log10(units)));
        const Extended scale = std::pow(10.0L, power);
        // A little slack, so that exactly 5 x 10^k is not taken for 4.999...
        const Extended mantissa = units / scale * (1 + 1e-12L);
        Extended m = mantissa >= 5 ? 5 : mantissa >= 2 ? 2 : 1;
        if (mantissa < 1) {
            m = 5;
            --power;
        }
        if (power < lowestPower) return std::nullopt;
        return m * std::pow(10.0L, power) * unit;
    };
    const std::optional<Extended> km = roundLength(1000, std::numeric_limits<int>::min());
    const std::optional<Extended> au = roundLength(AstronomicalUnit, -1);
    ScaleBar bar;
    if (au && (!km || *au > *km)) {
        bar.metres = *au;
        // Whole numbers from 1 AU up, so 1000 AU never reads "1e+03".
        const Extended units = std::nearbyint(*au / AstronomicalUnit * 10) / 10;
        const QString number = units < 1 ? QString::number(static_cast<double>(units), 'f', 1)
                                         : QString::number(static_cast<double>(units), 'f', 0);
        //: The scale bar's length in astronomical units.
        bar.label =
            QCoreApplication::translate("PlotOverlay", "%1 AU").arg(withDecimalPoint(number, decimalPoint));
    } else if (km) {
        bar.metres = *km;
        bar.label = distanceInWords(*km, decimalPoint);
    } else {
        return std::nullopt;
    }
    bar.pixels = static_cast<int>(std::min<Extended>(maxPixels, std::nearbyint(bar.metres / sf)));
    if (bar.pixels < 1) return std::nullopt;
    return bar;
}

std::optional<OffscreenMarker> offscreenMarkerFor(const TVector& position, Extended sf, QSize size) {
    OrbitFpGuard guard;
    if (!usableScale(sf) || size.width() < 2 * MarkerInset + 2 || size.height() < 2 * MarkerInset + 2)
        return std::nullopt;
    const std::optional<PlotPixel> at = pixelOrNone(position, sf);
    if (!at) return std::nullopt;
    const Extended x = at->x;
    const Extended y = at->y;
    // The same test as the cross's: a body whose cross is drawn has no arrow.
    const Extended rx = std::nearbyint(x);
    const Extended ry = std::nearbyint(y);
    if (rx >= 0 && rx <= size.width() - 1 && ry >= 0 && ry <= size.height() - 1) return std::nullopt;

    // From the centre pixel, a whole one.
    const int cx = size.width() / 2;
    const int cy = size.height() / 2;
    const Extended du = x - cx;
    const Extended dv = y - cy;
    const Extended length = std::hypot(du, dv);
    OffscreenMarker m;
    m.distance = length * sf;
    m.direction = QPointF(static_cast<double>(du / length), static_cast<double>(dv / length));
    // Where the ray from the centre leaves the inset rectangle.
    const double halfW = size.width() / 2.0 - MarkerInset;
    const double halfH = size.height() / 2.0 - MarkerInset;
    const double sx = m.direction.x() != 0 ? halfW / std::fabs(m.direction.x()) : INFINITY;
    const double sy = m.direction.y() != 0 ? halfH / std::fabs(m.direction.y()) : INFINITY;
    const double s = std::min(sx, sy);
    if (sx <= sy)
        m.edge = m.direction.x() > 0 ? PlotEdge::Right : PlotEdge::Left;
    else
        m.edge = m.direction.y() > 0 ? PlotEdge::Bottom : PlotEdge::Top;
    m.tip =
        QPointF(static_cast<double>(cx) + s * m.direction.x(), static_cast<double>(cy) + s * m.direction.y());
    return m;
}

QColor pathShade(const QColor& body) {
    // Light colours (yellow, white, cyan) turn darker, dark ones lighter: either way the path differs from
    // its crosses, and a yellow path no longer passes for white.
    return body.lightness() >= 128 ? body.darker(160) : body.lighter(170);
}

const KeplerPropagation* PlotOverlay::exact() const {
    return exact_ && exact_->hasExactPath() ? &*exact_ : nullptr;
}

const KeplerPropagation* PlotOverlay::propagationFor(const TState& start) {
    // Only the bodies' fields decide the motion; a zoom or a colour change keeps the propagation.
    constexpr std::size_t From = TStateLayout::APos;
    constexpr std::size_t To = TStateLayout::AColor;
    if (!exact_ || std::memcmp(&exactStart_.bytes[From], &start.bytes[From], To - From) != 0) {
        exact_.emplace(start);
        exactStart_ = start;
        builtFor_.reset();
    }
    return exact();
}

Extended PlotOverlay::endOfPath(const KeplerPropagation& exact, const OverlayFrame& frame) const {
    OrbitFpGuard guard;
    if (const std::optional<Extended> period = exact.period()) return std::max(frame.elapsed, *period);
    // An open path: double the time until the bodies are apart by more than the view's diagonal and still
    // moving apart. Their relative motion decides, not where each body is: a heavy body at near rest would
    // take ages to leave the view, and its path would cross the whole window as if it flew away.
    const Extended diagonal =
        std::hypot(static_cast<Extended>(frame.size.width()), static_cast<Extended>(frame.size.height())) +
        LeaveMarginPixels;
    Extended t = 86400;
    Extended lastGood = t;
    for (int i = 0; i < MaxLeaveDoublings; ++i, t *= 2) {
        const std::optional<ExactBodies> b = exact.at(t);
        if (!b) break;
        lastGood = t;
        const TVector r{b->positionB.u - b->positionA.u, b->positionB.v - b->positionA.v};
        const TVector v{b->velocityB.u - b->velocityA.u, b->velocityB.v - b->velocityA.v};
        const bool receding = r.u * v.u + r.v * v.v > 0;
        if (receding && std::hypot(r.u, r.v) / frame.sf > diagonal) break;
    }
    return std::max(frame.elapsed, lastGood);
}

bool PlotOverlay::updatePath(const OverlayFrame& frame) {
    OrbitFpGuard guard;
    const KeplerPropagation* exact = propagationFor(frame.start);
    if (!exact || !usableScale(frame.sf) || frame.size.isEmpty()) {
        const bool had = builtFor_.has_value() || !samples_.empty();
        path_[0].clear();
        path_[1].clear();
        samples_.clear();
        pathEnd_ = 0;
        builtFor_.reset();
        return had;
    }
    PathKey key;
    const Extended tEnd = endOfPath(*exact, frame);
    std::memcpy(key.sf.data(), &frame.sf, 10);
    std::memcpy(key.end.data(), &tEnd, 10);
    key.size = frame.size;
    if (builtFor_ == key) return false;
    buildPath(frame, tEnd);
    builtFor_ = key;
    ++builds_;
    return true;
}

void PlotOverlay::buildPath(const OverlayFrame& frame, Extended tEnd) {
    path_[0].clear();
    path_[1].clear();
    samples_.clear();
    pathEnd_ = 0;
    const KeplerPropagation* exact = this->exact();
    if (!exact || !(tEnd > 0)) return;
    pathEnd_ = tEnd;

    // A first pass at a few samples a turn, then as many as keep every chord inside the view short.
    int count = SamplesPerTurn * 4;
    if (const std::optional<Extended> period = exact->period())
        count =
            static_cast<int>(std::min<Extended>(MaxSamples, SamplesPerTurn * std::ceil(tEnd / *period) + 1));
    exact->samplePath(tEnd, count, samples_);
    const QRectF near = QRectF(QPointF(0, 0), QSizeF(frame.size)).adjusted(-50, -50, 50, 50);
    double longest = 0;
    for (std::size_t i = 1; i < samples_.size(); ++i) {
        for (int body = 0; body < 2; ++body) {
            const QPointF a = pixelOf(body ? samples_[i - 1].positionB : samples_[i - 1].positionA, frame.sf);
            const QPointF b = pixelOf(body ? samples_[i].positionB : samples_[i].positionA, frame.sf);
            if (near.contains(a) || near.contains(b)) longest = std::max(longest, QLineF(a, b).length());
        }
    }
    if (longest > SmoothChordPixels) {
        const double wanted = std::ceil((count - 1) * longest / SmoothChordPixels) + 1;
        exact->samplePath(tEnd, static_cast<int>(std::min<double>(MaxSamples, wanted)), samples_);
    }

    // Clipped to just outside the view, so a far-away point never reaches the rasteriser.
    const QRectF clip = QRectF(QPointF(0, 0), QSizeF(frame.size)).adjusted(-2, -2, 2, 2);
    for (int body = 0; body < 2; ++body) {
        std::vector<QPolygonF>& pieces = path_[body];
        QPolygonF run;
        for (std::size_t i = 1; i < samples_.size(); ++i) {
            QPointF a = pixelOf(body ? samples_[i - 1].positionB : samples_[i - 1].positionA, frame.sf);
            QPointF b = pixelOf(body ? samples_[i].positionB : samples_[i].positionA, frame.sf);
            if (!finitePoint(a) || !finitePoint(b) || !clipSegment(a, b, clip)) {
                if (run.size() > 1) pieces.push_back(run);
                run.clear();
                continue;
            }
            if (run.isEmpty() || run.back() != a) {
                if (run.size() > 1) pieces.push_back(run);
                run.clear();
                run << a;
            }
            run << b;
        }
        if (run.size() > 1) pieces.push_back(run);
    }
}

std::optional<QPoint> crossCentre(const TVector& position, Extended sf) {
    OrbitFpGuard guard;
    const std::optional<PlotPixel> at = pixelOrNone(position, sf);
    // Far off the plot (or no number at all) there is nothing to ring.
    if (!at || !(std::fabs(at->x) < 1e6L && std::fabs(at->y) < 1e6L)) return std::nullopt;
    return QPoint(static_cast<int>(std::nearbyint(at->x)), static_cast<int>(std::nearbyint(at->y)));
}

void PlotOverlay::paint(QPainter& p, const OverlayOptions& options, const OverlayFrame& frame,
                        QChar decimalPoint) {
    if (options.exactPath) {
        updatePath(frame);
        paintPath(p, frame);
    }
    paintAids(p, options, frame, decimalPoint);
}

void PlotOverlay::paintPath(QPainter& p, const OverlayFrame& frame) const {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    for (int body = 0; body < 2; ++body) {
        QPen pen(pathShade(body ? frame.colorB : frame.colorA));
        pen.setWidth(2);
        // Dashes tell the path from the dotted track of crosses; their lengths are in pen widths.
        pen.setDashPattern({3, 2});
        pen.setCapStyle(Qt::FlatCap);
        p.setPen(pen);
        for (const QPolygonF& piece : path_[body]) p.drawPolyline(piece);
    }
    p.restore();
}

void PlotOverlay::paintAids(QPainter& p, const OverlayOptions& options, const OverlayFrame& frame,
                            QChar decimalPoint) const {
    OrbitFpGuard guard;
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    if (options.scaleBar) paintScaleBar(p, frame, decimalPoint);
    if (options.offscreenMarkers) paintMarkers(p, frame, decimalPoint);
    if (options.startMarkers && frame.ready) paintStartMarkers(p, frame, decimalPoint);
    p.restore();
}

QString StartMarks::legend(QChar decimalPoint) const {
    //: The start arrows' scale: %1 pixels of arrow stand for a speed of %2 km/s.
    return QCoreApplication::translate("PlotOverlay", "%1 px = %2 km/s")
        .arg(QString::number(ArrowScalePixels),
             withDecimalPoint(QString::number(static_cast<double>(kmPerSecondPerScale)), decimalPoint));
}

StartMarks startMarksFor(const TState& s) {
    OrbitFpGuard guard;
    StartMarks m;
    const Extended sf = s.sf();
    const Extended speeds[2] = {s.ASpeed(), s.BSpeed()};
    Extended fastest = 0;
    for (const Extended v : speeds)
        if (__builtin_isfinite(v)) fastest = std::max(fastest, std::fabs(v));
    // The smallest of 1, 2, 5 x 10^k km/s that keeps the faster arrow within two scale lengths.
    if (fastest > 0) {
        const Extended wanted = fastest / 2;
        Extended power = std::pow(10.0L, std::floor(std::log10(wanted)));
        Extended step = power;
        for (const Extended f : {1.0L, 2.0L, 5.0L, 10.0L}) {
            step = f * power;
            if (step >= wanted) break;
        }
        m.kmPerSecondPerScale = step;
    }
    const TVector positions[2] = {s.APos(), s.BPos()};
    const Extended dirs[2] = {s.ADir(), s.BDir()};
    for (int body = 0; body < 2; ++body) {
        m.ring[body] = crossCentre(positions[body], sf);
        if (!m.ring[body] || !__builtin_isfinite(speeds[body]) || !__builtin_isfinite(dirs[body])) continue;
        const TVector unit = Dir2UV(dirs[body]);
        const Extended pixels = speeds[body] / m.kmPerSecondPerScale * StartMarks::ArrowScalePixels;
        m.head[body] = QPointF(m.ring[body]->x() + static_cast<double>(unit.u * pixels),
                               m.ring[body]->y() + static_cast<double>(unit.v * pixels));
    }
    return m;
}

std::optional<std::pair<Extended, Extended>> arrowVelocity(QPointF from, QPointF head,
                                                           Extended kmPerSecondPerScale) {
    OrbitFpGuard guard;
    const TVector d{static_cast<Extended>(head.x() - from.x()), static_cast<Extended>(head.y() - from.y())};
    if (d.u == 0 && d.v == 0) return std::nullopt;
    const Extended speed = VMag(d) / StartMarks::ArrowScalePixels * kmPerSecondPerScale;
    return std::make_pair(speed, V2Dir(d));
}

void PlotOverlay::paintStartMarkers(QPainter& p, const OverlayFrame& frame, QChar decimalPoint) const {
    const StartMarks m = startMarksFor(frame.start);
    const QColor colors[2] = {frame.colorA, frame.colorB};
    for (int body = 0; body < 2; ++body) {
        if (!m.ring[body]) continue;
        QPen pen(colors[body]);
        pen.setWidth(2);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(*m.ring[body]), 6, 6);
        if (!m.head[body]) continue;
        const QPointF from(*m.ring[body]);
        const QPointF head = *m.head[body];
        const QLineF shaft(from, head);
        if (shaft.length() < 1) continue;
        p.drawLine(shaft);
        const QPointF d = (head - from) / shaft.length();
        const QPointF side(-d.y(), d.x());
        const QPointF base = head - 9 * d;
        p.setBrush(colors[body]);
        p.drawPolygon(QPolygonF({head, base + 4.5 * side, base - 4.5 * side}));
        p.setBrush(Qt::NoBrush);
    }
    // The arrows' scale, at the bottom right.
    const QString legend = m.legend(decimalPoint);
    QFont font = p.font();
    font.setPointSize(8);
    font.setBold(true);
    p.setFont(font);
    const QFontMetrics metrics(font);
    const int right = frame.size.width() - 10;
    const int y = frame.size.height() - ScaleBarBottomMargin;
    const int x0 = right - StartMarks::ArrowScalePixels;
    const QColor ink = contrastOf(frame.background);
    p.setPen(QPen(ink, 1));
    p.drawLine(x0, y, right, y);
    p.drawLine(x0, y - 3, x0, y + 3);
    p.drawLine(right, y - 3, right, y + 3);
    p.drawText(QPoint(right - metrics.horizontalAdvance(legend), y - 5), legend);
}

void PlotOverlay::paintScaleBar(QPainter& p, const OverlayFrame& frame, QChar decimalPoint) const {
    const int room = std::min(ScaleBarMaxPixels, frame.size.width() - ScaleBarLeft - 10);
    const std::optional<ScaleBar> bar = scaleBarFor(frame.sf, room, decimalPoint);
    if (!bar) return;
    const int x0 = ScaleBarLeft;
    const int x1 = ScaleBarLeft + bar->pixels;
    const int y = frame.size.height() - ScaleBarBottomMargin;
    const QColor ink = contrastOf(frame.background);
    const QColor shadow = contrastOf(ink);
    QFont font = p.font();
    font.setPointSize(8);
    font.setBold(true);
    p.setFont(font);
    const auto draw = [&](const QColor& c, int dx, int dy) {
        p.setPen(QPen(c, 1));
        // The bar spans pixels x0 .. x1 inclusive, so the ticks mark its two ends.
        p.drawLine(x0 + dx, y + dy, x1 + dx, y + dy);
        p.drawLine(x0 + dx, y - 4 + dy, x0 + dx, y + dy);
        p.drawLine(x1 + dx, y - 4 + dy, x1 + dx, y + dy);
        p.drawText(QPoint(x0 + 3 + dx, y - 5 + dy), bar->label);
    };
    draw(shadow, 1, 1);
    draw(ink, 0, 0);
}

void PlotOverlay::paintMarkers(QPainter& p, const OverlayFrame& frame, QChar decimalPoint) const {
    QFont font = p.font();
    font.setPointSize(8);
    font.setBold(true);
    p.setFont(font);
    const QFontMetrics metrics(font);
    const QRectF view(QPointF(0, 0), QSizeF(frame.size));
    for (int body = 0; body < 2; ++body) {
        const std::optional<OffscreenMarker> m =
            offscreenMarkerFor(body ? frame.bodyB : frame.bodyA, frame.sf, frame.size);
        if (!m) continue;
        const QColor color = body ? frame.colorB : frame.colorA;
        const QPointF d = m->direction;
        const QPointF side(-d.y(), d.x());
        const QPointF base = m->tip - ArrowLength * d;
        const QPolygonF arrow({m->tip, base + ArrowHalfWidth * side, base - ArrowHalfWidth * side});
        p.setPen(QPen(color, 1));
        p.setBrush(color);
        p.drawPolygon(arrow);
        p.setBrush(Qt::NoBrush);

        const QString text = distanceInWords(m->distance, decimalPoint);
        QRectF box = metrics.boundingRect(text);
        box.moveCenter(m->tip -
                       (ArrowLength + 4 + box.height() / 2 + box.width() / 2 * std::fabs(d.x())) * d);
        // Kept whole inside the plot.
        const auto keepInside = [&view](QRectF& b) {
            b.moveLeft(std::clamp(b.left(), view.left() + 2, std::max(2.0, view.right() - b.width() - 2)));
            b.moveTop(std::clamp(b.top(), view.top() + 2, std::max(2.0, view.bottom() - b.height() - 2)));
        };
        keepInside(box);
        // And clear of the panel: moved along the arrow's edge to the nearer side of it.
        const QRectF panel = QRectF(frame.keepClear).adjusted(-3, -3, 3, 3);
        if (!frame.keepClear.isEmpty() && box.intersects(panel)) {
            const bool alongSide = m->edge == PlotEdge::Left || m->edge == PlotEdge::Right;
            if (alongSide) {
                const bool above = box.center().y() < panel.center().y() && panel.top() - box.height() > 2;
                box.moveTop(above || panel.bottom() + box.height() > view.bottom() - 2
                                ? panel.top() - box.height()
                                : panel.bottom());
            } else {
                const bool before = box.center().x() < panel.center().x() && panel.left() - box.width() > 2;
                box.moveLeft(before || panel.right() + box.width() > view.right() - 2
                                 ? panel.left() - box.width()
                                 : panel.right());
            }
            keepInside(box);
        }
        p.drawText(box, Qt::AlignCenter, text);
    }
}
