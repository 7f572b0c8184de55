#include "ui/main_window/control_panel.h"

#include <QApplication>
#include <QMouseEvent>

ControlPanel::ControlPanel(QWidget* parent) : QFrame(parent) {}

void ControlPanel::mousePressEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() == Qt::LeftButton) {
        pressed_ = true;
        pressPos_ = event->position().toPoint();
    }
}

void ControlPanel::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    if (!pressed_) return;
    const QPoint pos = event->position().toPoint();
    if (!dragging_ && (pos - pressPos_).manhattanLength() >= QApplication::startDragDistance())
        dragging_ = true;
    if (dragging_) updateCursor(mapToParent(pos));
}

void ControlPanel::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() != Qt::LeftButton || !pressed_) return;
    const bool wasDragging = dragging_;
    endDrag();
    if (!wasDragging) return;
    const QPoint drop = mapToParent(event->position().toPoint());
    if (acceptsDropAt && acceptsDropAt(drop) && onDrop) onDrop(drop);
}

void ControlPanel::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
}

void ControlPanel::updateCursor(const QPoint& parentPos) {
    const bool ok = acceptsDropAt && acceptsDropAt(parentPos);
    setCursor(ok ? Qt::DragMoveCursor : Qt::ForbiddenCursor);
}

void ControlPanel::endDrag() {
    pressed_ = false;
    dragging_ = false;
    unsetCursor();
}
