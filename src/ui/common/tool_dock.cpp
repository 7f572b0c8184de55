#include "ui/common/tool_dock.h"

#include <QCloseEvent>
#include <QScrollArea>

ToolDock::ToolDock(const QString& title, const QString& objectName, QWidget* content, QWidget* mainWindow)
    : QDockWidget(title, mainWindow) {
    // The main window's remembered layout finds the dock again by this name.
    setObjectName(objectName);
    setAccessibleName(title);
    // Floating, it is a window of its own: it keeps the main window's font and colours all the same.
    setAttribute(Qt::WA_WindowPropagation);
    setAllowedAreas(Qt::RightDockWidgetArea);
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable |
                QDockWidget::DockWidgetFloatable);
    // Scrolled, so the dock can be made narrower than its content and leave the plot more room.
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(objectName + QStringLiteral("Scroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(content);
    setWidget(scroll);
}

void ToolDock::closeEvent(QCloseEvent* event) {
    QDockWidget::closeEvent(event);
    const QWidget* owner = parentWidget();
    if (!owner || owner->isVisible()) emit closed();
}
