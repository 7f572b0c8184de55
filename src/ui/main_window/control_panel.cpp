#include "ui/main_window/control_panel.h"

#include <QApplication>
#include <QMouseEvent>
#include <algorithm>

ControlPanel::ControlPanel(QWidget* parent) : QFrame(parent) {
    // A smaller window must not leave the panel outside it.
    parent->installEventFilter(this);
}

QPoint ControlPanel::placeInside(const QPoint& topLeft) const {
    const QSize room = parentWidget()->size();
    const int x = std::max(0, std::min(topLeft.x(), room.width() - width()));
    const int y = std::max(0, std::min(topLeft.y(), room.height() - height()));
    return {x, y};
}

void ControlPanel::moveInside(const QPoint& topLeft) {
    move(placeInside(topLeft));
}

bool ControlPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize) moveInside(pos());
    return QFrame::eventFilter(watched, event);
}

void ControlPanel::mousePressEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() == Qt::LeftButton) {
        pressed_ = true;
        grabPos_ = event->position().toPoint();
    }
}

void ControlPanel::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    if (!pressed_) return;
    const QPoint pos = event->position().toPoint();
    if (!dragging_ && (pos - grabPos_).manhattanLength() >= QApplication::startDragDistance()) {
        dragging_ = true;
        setCursor(Qt::ClosedHandCursor);
    }
    if (dragging_) moveInside(mapToParent(pos) - grabPos_);
}

void ControlPanel::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() != Qt::LeftButton || !pressed_) return;
    const bool wasDragging = dragging_;
    endDrag();
    if (!wasDragging) return;
    const QPoint topLeft = placeInside(mapToParent(event->position().toPoint()) - grabPos_);
    if (onDrop) onDrop(topLeft);
}

void ControlPanel::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
}

void ControlPanel::endDrag() {
    pressed_ = false;
    dragging_ = false;
    unsetCursor();
}
