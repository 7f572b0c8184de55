#include "ui/plot/plot_surface.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <iterator>

PlotSurface::PlotSurface(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::TabFocus);
    //: The accessible name of the plot, the area the bodies' tracks are drawn on.
    setAccessibleName(tr("Plot", "the drawing area"));
    setAccessibleDescription(tr(
        "The bodies' tracks. Arrow keys move a cursor; Enter re-centres on it while paused, Space picks it "
        "as a start position while the Initial State dialog is open."));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(false);
    image_ = QImage(QSize(1, 1), QImage::Format_RGB32);
    image_.fill(windowColor_);
    repaintTimer_.setSingleShot(true);
    repaintTimer_.setInterval(16);
    connect(&repaintTimer_, &QTimer::timeout, this, [this] { flush(); });
}

namespace {

// Black on a light colour, white on a dark one: what the cursor and the notice are drawn in.
QColor contrastOf(const QColor& c) {
    return c.lightness() > 128 ? QColor(Qt::black) : QColor(Qt::white);
}

}  // namespace

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

void PlotSurface::paintOverlays(QPainter& p, const QRect& r, bool forScreen) const {
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
    if (forScreen && cursor_) {
        const QColor ink = contrastOf(windowColor_);
        p.save();
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QPen(ink, 1));
        const QPoint c = *cursor_;
        p.drawLine(c - QPoint(7, 0), c - QPoint(3, 0));
        p.drawLine(c + QPoint(3, 0), c + QPoint(7, 0));
        p.drawLine(c - QPoint(0, 7), c - QPoint(0, 3));
        p.drawLine(c + QPoint(0, 3), c + QPoint(0, 7));
        p.restore();
    }
    if (forScreen && !notice_.isEmpty()) {
        const QRect box = noticeRect();
        const QColor ink = contrastOf(windowColor_);
        p.save();
        p.setPen(contrastOf(ink));
        p.drawText(box.translated(1, 1), Qt::AlignLeft | Qt::AlignVCenter, notice_);
        p.setPen(ink);
        p.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, notice_);
        p.restore();
    }
}

QImage PlotSurface::overlay() const {
    const bool none =
        std::all_of(std::begin(layers_), std::end(layers_), [](const QImage& l) { return l.isNull(); });
    if (none && rings_.empty() && notice_.isEmpty() && !cursor_) return {};
    QImage composed(size().expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
    composed.fill(Qt::transparent);
    QPainter p(&composed);
    paintOverlays(p, composed.rect(), true);
    return composed;
}

QImage PlotSurface::renderWithOverlays() const {
    QImage shown = image_.copy(QRect(QPoint(0, 0), size()).intersected(image_.rect()));
    QPainter p(&shown);
    // The notice and the keyboard's cursor speak to the user at the screen; they are no part of the plot.
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

QRect PlotSurface::cursorRect() const {
    return cursor_ ? QRect(*cursor_ - QPoint(7, 7), QSize(15, 15)) : QRect();
}

void PlotSurface::keyPressEvent(QKeyEvent* event) {
    const int step = event->modifiers() & Qt::ShiftModifier ? 10 : 1;
    QPoint move;
    switch (event->key()) {
        case Qt::Key_Left:
            move = {-step, 0};
            break;
        case Qt::Key_Right:
            move = {step, 0};
            break;
        case Qt::Key_Up:
            move = {0, -step};
            break;
        case Qt::Key_Down:
            move = {0, step};
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (cursor_ && onCursorEnter) onCursorEnter(cursor_->x(), cursor_->y());
            return;
        case Qt::Key_Space:
            if (cursor_ && onCursorSpace) onCursorSpace(cursor_->x(), cursor_->y());
            return;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    if (event->modifiers() & Qt::AltModifier) {
        // Alt with the arrows moves the panel: the window's to handle.
        QWidget::keyPressEvent(event);
        return;
    }
    update(cursorRect());
    // The first arrow shows the cross at the plot's centre; it never leaves the visible plot.
    const QPoint from = cursor_.value_or(QPoint(width() / 2, height() / 2) - move);
    cursor_ = QPoint(std::clamp(from.x() + move.x(), 0, std::max(0, width() - 1)),
                     std::clamp(from.y() + move.y(), 0, std::max(0, height() - 1)));
    update(cursorRect());
}

void PlotSurface::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    // Mouse users never see it: it goes with the focus.
    update(cursorRect());
    cursor_.reset();
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
