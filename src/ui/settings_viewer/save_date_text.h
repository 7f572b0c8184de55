#pragma once

#include <QLocale>
#include <QString>

// The locale's long time format with its time-zone fields taken out (Qt's long time formats end in the zone
// name, which a saved local time does not have), together with any brackets or separator left around them.
QString TimeFormatWithoutZone(const QString& longTimeFormat);

// A TDateTime (days since 30 December 1899, local time) as the locale's short date, followed, unless the time
// is exactly midnight, by a blank and the time with seconds. A value outside the years 1 to 9999, or
// infinite, or NaN, is no date and reads "Invalid date".
QString DateTimeText(double tDateTime, const QLocale& locale);
