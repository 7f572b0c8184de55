#include "ui/settings_viewer/save_date_text.h"

#include <QCoreApplication>
#include <QDate>
#include <QRegularExpression>
#include <QTime>

#include "core/date_time.h"

namespace {
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
    CivilDateTime t;
    //: When Saved, for a record whose saving time is no date (a damaged record).
    if (!civilFromTDateTime(tDateTime, t)) return QCoreApplication::translate("DateTimeText", "Invalid date");
    QString text = locale.toString(QDate(t.year, t.month, t.day), locale.dateFormat(QLocale::ShortFormat));
    if (t.hour != 0 || t.minute != 0 || t.second != 0 || t.millisecond != 0) {
        const QString format = TimeFormatWithoutZone(locale.timeFormat(QLocale::LongFormat));
        text += QLatin1Char(' ') + locale.toString(QTime(t.hour, t.minute, t.second, t.millisecond), format);
    }
    return text;
}
