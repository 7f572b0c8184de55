#include "ui/plot/plot_surface.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <iterator>

PlotSurface::PlotSurface(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(false);
    image_ = QImage(QSize(1, 1), QImage::Format_RGB32);
    image_.fill(windowColor_);
    repaintTimer_.setSingleShot(true);
    repaintTimer_.setInterval(16);
    connect(&repaintTimer_, &QTimer::timeout, this, [this] { flush(); });
}

void PlotSurface::setWindowColor(const QColor& c) {
    if (c == windowColor_) return;
    forceWindowColor(c);
}

void PlotSurface::forceWindowColor(const QColor& c) {
    windowColor_ = c;
    fill(c);
}

void PlotSurface::fill(const QColor& c) {
    image_.fill(c);
    markDirty(image_.rect());
}

void PlotSurface::stretchDraw(const QImage& picture) {
    if (picture.isNull()) return;
    QPainter p(&image_);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(image_.rect(), picture);
    p.end();
    markDirty(image_.rect());
}

void PlotSurface::drawCross(int x, int y, QRgb color) {
    const int w = image_.width();
    const int h = image_.height();
    // Pixels are written directly: a replay draws thousands of crosses and a painter per cross would cost
    // more than the integration itself.
    // One call into the image for the whole cross: each scanLine() call checks whether to detach.
    uchar* const bits = image_.bits();
    const qsizetype stride = image_.bytesPerLine();
    const auto row = [&](int j) { return reinterpret_cast<QRgb*>(bits + j * stride); };
    if (y >= 0 && y < h) {
        QRgb* const line = row(y);
        for (int i = std::max(0, x - 2); i <= std::min(w - 1, x + 2); ++i) line[i] = color;
    }
    if (x >= 0 && x < w) {
        for (int j = std::max(0, y - 2); j <= std::min(h - 1, y + 2); ++j) row(j)[x] = color;
    }
    markDirty(QRect(x - 2, y - 2, 5, 5));
}

void PlotSurface::markDirty(const QRect& r) {
    dirty_ = dirty_.united(r);
    if (!repaintTimer_.isActive()) repaintTimer_.start();
}

void PlotSurface::flush(bool now) {
    repaintTimer_.stop();
    if (dirty_.isEmpty()) return;
    if (now && isVisible())
        repaint(dirty_);
    else
        update(dirty_);
    dirty_ = QRect();
}

void PlotSurface::setOverlay(OverlayLayer layer, const QImage& picture) {
    if (picture.isNull() && layers_[layer].isNull()) return;
    layers_[layer] = picture;
    update();
}

QRect PlotSurface::ringRect(const Ring& ring) {
    const int reach = RingRadius + 2;
    return QRect(ring.centre - QPoint(reach, reach), QSize(2 * reach + 1, 2 * reach + 1));
}

void PlotSurface::setRings(const std::vector<Ring>& rings) {
    if (rings == rings_) return;
    for (const Ring& ring : rings_) update(ringRect(ring));
    rings_ = rings;
    for (const Ring& ring : rings_) update(ringRect(ring));
}

QRect PlotSurface::noticeRect() const {
    const QFontMetrics metrics(font());
    QRect box(QPoint(8, 6), metrics.size(Qt::TextSingleLine, notice_) + QSize(4, 2));
    // Clear of the panel and anything else on the plot.
    for (const QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (child->isVisible() && child->geometry().intersects(box))
            box.moveLeft(child->geometry().right() + 8);
    return box;
}

void PlotSurface::setNotice(const QString& text) {
    if (text == notice_) return;
    if (!notice_.isEmpty()) update(noticeRect());
    notice_ = text;
    if (!notice_.isEmpty()) update(noticeRect());
}

void PlotSurface::paintOverlays(QPainter& p, const QRect& r, bool withNotice) const {
    for (const QImage& layer : layers_)
        if (!layer.isNull()) p.drawImage(r.topLeft(), layer, r);
    if (!rings_.empty()) {
        p.save();
        // Crisp like the crosses, and the same pixels on every screen.
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setBrush(Qt::NoBrush);
        for (const Ring& ring : rings_) {
            QPen pen(ring.color);
            pen.setWidthF(2);
            p.setPen(pen);
            p.drawEllipse(QPointF(ring.centre), RingRadius, RingRadius);
        }
        p.restore();
    }
    if (withNotice && !notice_.isEmpty()) {
        const QRect box = noticeRect();
        const QColor ink = windowColor_.lightness() > 128 ? QColor(Qt::black) : QColor(Qt::white);
        p.save();
        p.setPen(ink.lightness() > 128 ? QColor(Qt::black) : QColor(Qt::white));
        p.drawText(box.translated(1, 1), Qt::AlignLeft | Qt::AlignVCenter, notice_);
        p.setPen(ink);
        p.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, notice_);
        p.restore();
    }
}

QImage PlotSurface::overlay() const {
    const bool none =
        std::all_of(std::begin(layers_), std::end(layers_), [](const QImage& l) { return l.isNull(); });
    if (none && rings_.empty() && notice_.isEmpty()) return {};
    QImage composed(size().expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
    composed.fill(Qt::transparent);
    QPainter p(&composed);
    paintOverlays(p, composed.rect(), true);
    return composed;
}

QImage PlotSurface::renderWithOverlays() const {
    QImage shown = image_.copy(QRect(QPoint(0, 0), size()).intersected(image_.rect()));
    QPainter p(&shown);
    // The notice speaks to the user at the screen; it is no part of the plot.
    paintOverlays(p, shown.rect(), false);
    return shown;
}

void PlotSurface::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    const QRect r = event->rect();
    p.drawImage(r.topLeft(), image_, r);
    paintOverlays(p, r, true);
}

QSize PlotSurface::keptSize() const {
    // Docks at the window's right narrow the surface, not the plot: the image keeps the columns they cover.
    const QWidget* owner = parentWidget();
    const int plotWidth = owner && !isWindow() ? owner->width() - x() : width();
    return QSize(std::max(width(), plotWidth), height()).expandedTo(QSize(1, 1));
}

void PlotSurface::resizeEvent(QResizeEvent*) {
    const QSize kept = keptSize();
    if (kept == image_.size()) {
        update();
        return;
    }
    // The kept area stays; new area shows the window's colour.
    QImage grown(kept, QImage::Format_RGB32);
    grown.fill(windowColor_);
    QPainter p(&grown);
    p.drawImage(0, 0, image_);
    p.end();
    image_ = grown;
    dirty_ = QRect();
    update();
}

void PlotSurface::wheelEvent(QWheelEvent* event) {
    event->accept();
    // A notch is 15 degrees, 120 eighths of a degree.
    wheelEighths_ += event->angleDelta().y();
    const int notches = wheelEighths_ / 120;
    wheelEighths_ -= notches * 120;
    if (notches != 0 && onWheel) {
        const QPoint pos = event->position().toPoint();
        onWheel(pos.x(), pos.y(), notches);
    }
}

void PlotSurface::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    const QPoint pos = event->position().toPoint();
    if (onMouseMove) onMouseMove(pos.x(), pos.y());
}

void PlotSurface::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    const QPoint pos = event->position().toPoint();
    if (onMouseRelease) onMouseRelease(pos.x(), pos.y());
}

void PlotSurface::mousePressEvent(QMouseEvent* event) {
    event->accept();
    if (onMousePress) {
        const QPoint pos = event->position().toPoint();
        onMousePress(event->button(), pos.x(), pos.y());
    }
}
