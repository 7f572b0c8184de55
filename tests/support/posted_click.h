#pragma once

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWidget>

// Posts a full click so that it is served by the event loop whenever it gets to it, like a click the user
// makes while the window is busy (QTest::mouseClick delivers at once).
inline void postClick(QWidget* w) {
    const QPointF c = QPointF(w->rect().center());
    const QPointF g = QPointF(w->mapToGlobal(c.toPoint()));
    QCoreApplication::postEvent(
        w, new QMouseEvent(QEvent::MouseButtonPress, c, g, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
    QCoreApplication::postEvent(
        w, new QMouseEvent(QEvent::MouseButtonRelease, c, g, Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
}
