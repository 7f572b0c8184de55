#pragma once

#include <QDockWidget>

// A tool window docked beside the plot, at the main window's right, so it never covers the plot. It can be
// floated and docked again. closed() tells the user's close (the dock's close button, or the window system
// for a floating dock) from the program's end, when the toolkit closes every window after the main one.
class ToolDock : public QDockWidget {
    Q_OBJECT
public:
    ToolDock(const QString& title, const QString& objectName, QWidget* content, QWidget* mainWindow);

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
};
