#pragma once

#include <QColor>

// Contrast as WCAG 2 measures it: text needs 4.5:1 against its background, lines and marks 3:1.
constexpr qreal TextContrast = 4.5;
constexpr qreal MarkContrast = 3.0;

// The relative luminance of c, 0 for black to 1 for white.
qreal relativeLuminance(const QColor& c);
// From 1:1 (the same luminance) up to 21:1 (black on white), whichever colour is the lighter.
qreal contrastRatio(const QColor& a, const QColor& b);
// wanted where it stands out from background by ratio; otherwise wanted mixed towards white on a dark
// background (towards black on a light one) just far enough to reach ratio, so it keeps its hue as far as
// it can.
QColor readableOn(const QColor& wanted, const QColor& background, qreal ratio);
