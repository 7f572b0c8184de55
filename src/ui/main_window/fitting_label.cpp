#include "ui/main_window/fitting_label.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>

namespace {
constexpr qreal SmallestPointSize = 3.0;
}

QFont FittingLabel::fittedFont() const {
    QFont f = font();
    const qreal room = contentsRect().width();
    const QString t = text();
    while (QFontMetricsF(f).horizontalAdvance(t) > room && f.pointSizeF() > SmallestPointSize)
        f.setPointSizeF(std::max(SmallestPointSize, f.pointSizeF() - 0.5));
    return f;
}

void FittingLabel::paintEvent(QPaintEvent* event) {
    const QFont f = fittedFont();
    if (f == font()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter p(this);
    p.setFont(f);
    p.setPen(palette().color(foregroundRole()));
    p.drawText(contentsRect(), int(alignment()) | Qt::TextSingleLine, text());
}
