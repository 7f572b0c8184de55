#pragma once

#include <QColor>
#include <QElapsedTimer>
#include <QImage>
#include <QRect>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

// The main window's client area. What is drawn is kept in a backing image, so a repaint the window system
// asks for shows the plot as it was; crosses schedule only their own small rectangles, at most ~60 times a
// second.
class PlotSurface : public QWidget {
    Q_OBJECT
public:
    explicit PlotSurface(QWidget* parent = nullptr);

    // The window's background colour: what new area shows. Setting a different colour repaints everything
    // in it; setting the same colour does nothing.
    QColor windowColor() const { return windowColor_; }
    void setWindowColor(const QColor& c);
    // Repaints everything in c even when it is already the window's colour.
    void forceWindowColor(const QColor& c);
    // Fills the whole client area with c, leaving the window's colour as it is.
    void fill(const QColor& c);
    // Stretches picture over the whole client area, without keeping its aspect ratio.
    void stretchDraw(const QImage& picture);
    // The 5 × 5 cross centred on (x, y), cut at the edges.
    void drawCross(int x, int y, QRgb color);

    // The kept image: the whole plot, also the part a dock beside it covers.
    const QImage& image() const { return image_; }
    // Transparent pictures painted above the kept image and never into it, so taking them away shows the
    // run's pixels unchanged; the exact path in one, the scale bar and markers in the other, so each is
    // redrawn only when it changes. A null image is none.
    enum OverlayLayer { PathLayer, AidsLayer, LayerCount };
    void setOverlay(OverlayLayer layer, const QImage& picture);
    // Rings round points of the plot (the timeline's bodies), painted on top; a change repaints only the
    // rings' own rectangles.
    struct Ring {
        QPoint centre;
        QColor color;
        bool operator==(const Ring&) const = default;
    };
    static constexpr int RingRadius = 7;
    void setRings(const std::vector<Ring>& rings);
    // One line at the plot's top left, clear of the panel; empty for none.
    void setNotice(const QString& text);
    const QString& notice() const { return notice_; }
    // Everything painted above the kept image, in one transparent picture; null when nothing is.
    QImage overlay() const;
    // The plot as shown: the kept image with the overlay on top.
    QImage renderWithOverlays() const;
    // Schedules what is pending for repaint; with now, paints it before returning.
    void flush(bool now = false);

    std::function<void(Qt::MouseButton, int, int)> onMousePress;
    // The pointer's pixel while a button is held, and where it is let go.
    std::function<void(int, int)> onMouseMove;
    std::function<void(int, int)> onMouseRelease;
    // The keyboard's cursor cross: Tab gives the plot the focus (a click does not, so the classic focus
    // rules for the mouse stay), the arrow keys move the cross a pixel at a time, ten with Shift. Enter and
    // Space act at its pixel, as a left and a right click there would.
    std::function<void(int, int)> onCursorEnter;
    std::function<void(int, int)> onCursorSpace;
    const std::optional<QPoint>& keyboardCursor() const { return cursor_; }
    // Whole wheel notches at the pointer's pixel: positive away from the user. A touchpad's small steps are
    // added up until they make a notch.
    std::function<void(int, int, int)> onWheel;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    QSize keptSize() const;
    void paintOverlays(QPainter& p, const QRect& r, bool forScreen) const;
    QRect noticeRect() const;
    QRect cursorRect() const;
    static QRect ringRect(const Ring& ring);
    void markDirty(const QRect& r);

    QImage image_;
    QImage layers_[LayerCount];
    std::vector<Ring> rings_;
    QString notice_;
    QColor windowColor_{Qt::blue};
    QRect dirty_;
    int wheelEighths_ = 0;
    std::optional<QPoint> cursor_;
    QTimer repaintTimer_;
};
