#include "ui/common/contrast.h"

#include <algorithm>
#include <cmath>

namespace {

qreal linear(int channel) {
    const qreal c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

QColor mixed(const QColor& from, const QColor& to, qreal t) {
    const auto mix = [t](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * t)); };
    return QColor(mix(from.red(), to.red()), mix(from.green(), to.green()), mix(from.blue(), to.blue()));
}

}  // namespace

qreal relativeLuminance(const QColor& c) {
    const QColor rgb = c.toRgb();
    return 0.2126 * linear(rgb.red()) + 0.7152 * linear(rgb.green()) + 0.0722 * linear(rgb.blue());
}

qreal contrastRatio(const QColor& a, const QColor& b) {
    const qreal la = relativeLuminance(a);
    const qreal lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor readableOn(const QColor& wanted, const QColor& background, qreal ratio) {
    if (contrastRatio(wanted, background) >= ratio) return wanted;
    // The farther of white and black can always reach 4.5:1 and more.
    const QColor white(255, 255, 255);
    const QColor black(0, 0, 0);
    const QColor end = contrastRatio(white, background) >= contrastRatio(black, background) ? white : black;
    constexpr int Steps = 64;
    for (int i = 1; i < Steps; ++i) {
        const QColor c = mixed(wanted.toRgb(), end, qreal(i) / Steps);
        if (contrastRatio(c, background) >= ratio) return c;
    }
    return end;
}
