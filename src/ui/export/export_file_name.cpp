#include "ui/export/export_file_name.h"

namespace {

// Leaves room in a 255-byte name for the day and the suffix, at three bytes a character.
constexpr int MaxLabelChars = 64;

QString fileNameSafe(const QString& label) {
    QString out;
    for (const QChar c : label) {
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format)
            out += QLatin1Char(' ');
        else if (QStringLiteral("/\\:*?\"<>|").contains(c))
            out += QLatin1Char('-');
        else
            out += c;
    }
    out = out.simplified();
    while (out.startsWith(QLatin1Char('.'))) out.remove(0, 1);
    return out.left(MaxLabelChars).trimmed();
}

}  // namespace

QString suggestedExportName(const QString& label, const QString& days, const QString& suffix) {
    QString name = fileNameSafe(label);
    if (name.isEmpty()) name = QStringLiteral("Tulvane");
    if (!days.isEmpty()) name += QStringLiteral(", day ") + fileNameSafe(days);
    return name + QLatin1Char('.') + suffix;
}
