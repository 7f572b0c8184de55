#pragma once

#include <QColor>
#include <QElapsedTimer>
#include <QImage>
#include <QRect>
#include <QTimer>
#include <QWidget>
#include <functional>

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
    // A transparent picture painted above the kept image and never into it, so taking it away shows the
    // run's pixels unchanged. A null image is no overlay.
    void setOverlay(const QImage& overlay);
    const QImage& overlay() const { return overlay_; }
    // The plot as shown: the kept image with the overlay on top.
    QImage renderWithOverlays() const;
    // Schedules what is pending for repaint; with now, paints it before returning.
    void flush(bool now = false);

    std::function<void(Qt::MouseButton, int, int)> onMousePress;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QSize keptSize() const;
    void markDirty(const QRect& r);

    QImage image_;
    QImage overlay_;
    QColor windowColor_{Qt::blue};
    QRect dirty_;
    QTimer repaintTimer_;
};
