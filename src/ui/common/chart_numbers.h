#pragma once

#include <QChart>
#include <QLocale>

// Qt Charts prints its numbers as printf does, with a point. Where the user's decimal separator is another,
// the chart prints them in the user's locale instead, without group separators, as the program's other
// numbers are. Header-only, so that only the windows with charts need Qt Charts.
inline void localizeChartNumbers(QChart* chart) {
    QLocale locale;
    if (locale.decimalPoint() == QLatin1String(".")) return;
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    chart->setLocale(locale);
    chart->setLocalizeNumbers(true);
}
