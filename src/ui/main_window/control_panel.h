#pragma once

#include <QFrame>
#include <QPoint>
#include <functional>

// The bevelled control panel. It swallows every mouse press (none reaches the plot surface below) and can
// be dragged with the mouse: the drag is followed with mouse events, not a nested drag loop, so a running
// simulation never stalls. While dragged it follows the pointer, keeping the point where it was grabbed
// under the pointer, and it never leaves its parent's area, so Run, Pause and Reset stay within reach.
class ControlPanel : public QFrame {
    Q_OBJECT
public:
    explicit ControlPanel(QWidget* parent);

    // Called at the end of a drag with the panel's new top-left corner in the parent's coordinates.
    std::function<void(const QPoint&)> onDrop;

    bool isDragging() const { return dragging_; }
    // The top-left corner nearest to topLeft at which the whole panel lies inside the parent; where the
    // parent is too small, the top-left part of the panel shows.
    QPoint placeInside(const QPoint& topLeft) const;
    void moveInside(const QPoint& topLeft);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void endDrag();

    QPoint grabPos_;
    bool pressed_ = false;
    bool dragging_ = false;
};
