#pragma once

#include <QFrame>
#include <QPoint>
#include <functional>

// The bevelled control panel. It swallows every mouse press (none reaches the plot surface below) and can
// be dragged with the mouse: the drag is followed with mouse events, not a nested drag loop, so a running
// simulation never stalls.
class ControlPanel : public QFrame {
    Q_OBJECT
public:
    explicit ControlPanel(QWidget* parent);

    // Asked while dragging and at the release: may the panel be dropped at this point of the parent?
    std::function<bool(const QPoint&)> acceptsDropAt;
    // Called with the drop point in the parent's coordinates.
    std::function<void(const QPoint&)> onDrop;

    bool isDragging() const { return dragging_; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void updateCursor(const QPoint& parentPos);
    void endDrag();

    QPoint pressPos_;
    bool pressed_ = false;
    bool dragging_ = false;
};
