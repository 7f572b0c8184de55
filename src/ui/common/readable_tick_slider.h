#pragma once

#include <QSlider>

// A slider whose tick marks stand out from the background behind it, 3:1 at least. Fusion draws them in a
// shade of the window colour, 2:1 on its light grey and hardly 1.3:1 in a dark theme (blue, and readable,
// only with the keyboard focus or when it has just drawn its groove afresh). There the marks are drawn again
// over the style's, in the same shapes, just dark or light enough; groove and handle stay the style's in
// every state.
class ReadableTickSlider : public QSlider {
    Q_OBJECT
public:
    using QSlider::QSlider;

protected:
    void paintEvent(QPaintEvent* event) override;
};
