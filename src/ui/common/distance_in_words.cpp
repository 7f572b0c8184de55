#include "ui/common/distance_in_words.h"

#include <cmath>

QString distanceInWords(Extended metres, QChar decimalPoint) {
    static const char* const Words[] = {"", " thousand", " million", " billion", " trillion"};
    Extended km = metres / 1000;
    if (!__builtin_isfinite(km)) return QString();
    // Rounded to three digits first, so 999.7 thousand reads "1 million".
    if (km != 0) {
        const int digits = static_cast<int>(std::floor(std::log10(std::fabs(km))));
        const Extended unit = std::pow(10.0L, digits - 2);
        km = std::nearbyint(km / unit) * unit;
    }
    int group = 0;
    while (group < 4 && std::fabs(km) >= 1000) {
        km /= 1000;
        ++group;
    }
    const QString number = QString::number(static_cast<double>(km), 'g', 3);
    return QString(number).replace(QLatin1Char('.'), decimalPoint) + QLatin1String(Words[group]) +
           QStringLiteral(" km");
}
