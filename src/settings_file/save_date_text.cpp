#include "settings_file/save_date_text.h"

#include <QDate>
#include <QRegularExpression>
#include <QTime>
#include <cmath>
#include <cstdint>

namespace {
constexpr std::int64_t MsecsPerDay = 86400000;
// Days from 30 December 1899 to 1 January 0001 and to 1 January 10000.
constexpr double FirstDay = -693593.0;
constexpr double EndDay = 2958466.0;

QString stripZoneFields(const QString& unquoted) {
    QString s = unquoted;
    s.remove(QLatin1Char('t'));
    static const QRegularExpression emptyBrackets(QStringLiteral("\\(\\s*\\)|\\[\\s*\\]"));
    s.remove(emptyBrackets);
    return s;
}
}  // namespace

QString TimeFormatWithoutZone(const QString& longTimeFormat) {
    // Letters between single quotes are literal text and are kept as they stand.
    QString out;
    QString unquoted;
    bool inQuote = false;
    for (const QChar c : longTimeFormat) {
        if (c == QLatin1Char('\'')) {
            if (!inQuote) {
                out += stripZoneFields(unquoted);
                unquoted.clear();
            }
            inQuote = !inQuote;
            out += c;
        } else if (inQuote) {
            out += c;
        } else {
            unquoted += c;
        }
    }
    out += stripZoneFields(unquoted);

    static const QRegularExpression spaces(QStringLiteral("\\s{2,}"));
    out.replace(spaces, QStringLiteral(" "));
    static const QRegularExpression edges(QStringLiteral("^[\\s,]+|[\\s,]+$"));
    out.remove(edges);
    return out;
}

QString DateTimeText(double tDateTime, const QLocale& locale) {
    if (!(tDateTime > FirstDay - 1 && tDateTime < EndDay)) return QStringLiteral("Invalid date");
    // Whole milliseconds, as the clock stores them; the day counts toward zero and the time of day is the
    // fraction's magnitude, so -1.25 is 29 December 1899, 06:00.
    const auto msecs = static_cast<std::int64_t>(std::llround(tDateTime * MsecsPerDay));
    const std::int64_t days = msecs / MsecsPerDay;
    const std::int64_t timeOfDay = (msecs < 0 ? -msecs : msecs) % MsecsPerDay;
    const QDate date = QDate(1899, 12, 30).addDays(days);
    if (!date.isValid() || date.year() < 1 || date.year() > 9999) return QStringLiteral("Invalid date");

    QString text = locale.toString(date, locale.dateFormat(QLocale::ShortFormat));
    if (timeOfDay != 0) {
        const QTime time = QTime::fromMSecsSinceStartOfDay(static_cast<int>(timeOfDay));
        text += QLatin1Char(' ') +
                locale.toString(time, TimeFormatWithoutZone(locale.timeFormat(QLocale::LongFormat)));
    }
    return text;
}
