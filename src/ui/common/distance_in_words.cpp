#include "ui/common/distance_in_words.h"

#include <QCoreApplication>
#include <cmath>

QString distanceInWords(Extended metres, QChar decimalPoint) {
    static const char* const Words[] = {
        //: A distance on the plot, rounded to three digits: "500 km".
        QT_TRANSLATE_NOOP("DistanceInWords", "%1 km"),
        //: A distance on the plot, rounded to three digits: "48.3 thousand km".
        QT_TRANSLATE_NOOP("DistanceInWords", "%1 thousand km"),
        //: A distance on the plot, rounded to three digits: "312 million km".
        QT_TRANSLATE_NOOP("DistanceInWords", "%1 million km"),
        //: A distance on the plot: a thousand million km, "1 billion km" (German Milliarde, French milliard).
        QT_TRANSLATE_NOOP("DistanceInWords", "%1 billion km"),
        //: A distance on the plot: a million million km, "1 trillion km" (German Billion, French billion).
        QT_TRANSLATE_NOOP("DistanceInWords", "%1 trillion km"),
    };
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
    return QCoreApplication::translate("DistanceInWords", Words[group])
        .arg(QString(number).replace(QLatin1Char('.'), decimalPoint));
}
