#include "ui/export/export_file_name.h"

#include <QCoreApplication>

namespace {

// Leaves room in a 255-byte name for the day and the suffix, at three bytes a character.
constexpr int MaxLabelChars = 64;

// The characters a file name cannot hold, or that many file systems refuse, as '-'; control characters as
// spaces.
QString withoutUnsafeCharacters(const QString& text) {
    QString out;
    for (const QChar c : text) {
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format)
            out += QLatin1Char(' ');
        else if (QStringLiteral("/\\:*?\"<>|").contains(c))
            out += QLatin1Char('-');
        else
            out += c;
    }
    return out;
}

QString fileNameSafe(const QString& label) {
    QString out = withoutUnsafeCharacters(label).simplified();
    while (out.startsWith(QLatin1Char('.'))) out.remove(0, 1);
    return out.left(MaxLabelChars).trimmed();
}

}  // namespace

QString suggestedExportName(const QString& label, const QString& days, const QString& suffix) {
    QString name = fileNameSafe(label);
    if (name.isEmpty()) name = QStringLiteral("Tulvane");
    if (!days.isEmpty())
        // A translation is a file name's part too.
        //: The name an exported file is offered under: %1 is the settings' label (or Tulvane), %2 the elapsed
        //: days, a decimal number ("Earth and Sun, day 365.3"). A file name: no slash, colon or question
        //: mark.
        name = withoutUnsafeCharacters(QCoreApplication::translate("ExportFileName", "%1, day %2"))
                   .arg(name, fileNameSafe(days));
    return name + QLatin1Char('.') + suffix;
}
