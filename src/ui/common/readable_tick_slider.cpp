#include "ui/common/readable_tick_slider.h"

#include <QHash>
#include <QImage>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionSlider>

#include "ui/common/contrast.h"

namespace {

QImage rendered(const QSlider& slider, const QStyleOptionSlider& opt) {
    const qreal ratio = slider.devicePixelRatioF();
    QImage image((QSizeF(slider.size()) * ratio).toSize(), QImage::Format_ARGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    QPainter p(&image);
    slider.style()->drawComplexControl(QStyle::CC_Slider, &opt, &p, &slider);
    return image;
}

// The marks as the style draws them with the rest of the slider: the pixels its picture has only with them.
QImage styleMarks(const QSlider& slider, QStyleOptionSlider opt) {
    opt.subControls = QStyle::SC_SliderGroove | QStyle::SC_SliderHandle | QStyle::SC_SliderTickmarks;
    QImage marks = rendered(slider, opt);
    opt.subControls &= ~QStyle::SC_SliderTickmarks;
    const QImage without = rendered(slider, opt);
    for (int y = 0; y < marks.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(marks.scanLine(y));
        const auto* other = reinterpret_cast<const QRgb*>(without.constScanLine(y));
        for (int x = 0; x < marks.width(); ++x)
            if (line[x] == other[x]) line[x] = 0;
    }
    return marks;
}

// The colour most of the marks' opaque pixels have; invalid where the style drew none.
QColor markColor(const QImage& marks) {
    QHash<QRgb, int> counts;
    for (int y = 0; y < marks.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(marks.constScanLine(y));
        for (int x = 0; x < marks.width(); ++x)
            if (qAlpha(line[x]) == 255) ++counts[line[x]];
    }
    QColor most;
    int seen = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > seen) {
            seen = it.value();
            most = QColor::fromRgb(it.key());
        }
    return most;
}

void recolor(QImage& marks, const QColor& c) {
    for (int y = 0; y < marks.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(marks.scanLine(y));
        for (int x = 0; x < marks.width(); ++x)
            if (qAlpha(line[x]) > 0) line[x] = qRgba(c.red(), c.green(), c.blue(), qAlpha(line[x]));
    }
}

}  // namespace

void ReadableTickSlider::paintEvent(QPaintEvent* event) {
    QSlider::paintEvent(event);
    if (tickPosition() == NoTicks) return;
    QStyleOptionSlider opt;
    initStyleOption(&opt);
    QImage marks = styleMarks(*this, opt);
    // What shows behind the marks: the slider fills no background of its own.
    const QColor behind = palette().color(backgroundRole());
    const QColor drawn = markColor(marks);
    if (!drawn.isValid() || contrastRatio(drawn, behind) >= MarkContrast) return;
    recolor(marks, readableOn(drawn, behind, MarkContrast));
    QPainter p(this);
    p.drawImage(QPoint(0, 0), marks);
}
