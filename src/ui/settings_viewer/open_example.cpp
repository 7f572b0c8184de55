#include "ui/settings_viewer/open_example.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include "settings_file/checked_file_writer.h"
#include "ui/common/error_guard.h"
#include "ui/common/platform_dialogs.h"
#include "ui/settings_viewer/settings_viewer.h"

const QString ExamplesCopyName = QStringLiteral("Examples.tv0");

QString FindShippedExamples() {
    const QString dir = QCoreApplication::applicationDirPath();
    const QStringList candidates = {
        dir + QStringLiteral("/examples.tv0"),
        dir + QStringLiteral("/../share/tulvane/examples.tv0"),
    };
    for (const QString& c : candidates)
        if (QFileInfo::exists(c)) return QFileInfo(c).canonicalFilePath();
    return candidates.first();
}

namespace {

// The copy is written whole or not at all, and never over a file that is there by then: another copy of
// the program may have made it a moment ago, and the user may have changed it since.
bool copyExamples(PlatformDialogs& dialogs, QWidget* parent, const QString& shipped, const QString& copy) {
    QFile in(shipped);
    QByteArray bytes;
    if (in.open(QIODevice::ReadOnly)) bytes = in.readAll();
    if (!in.isOpen() || in.error() != QFileDevice::NoError) {
        //: %1 is the examples file the program ships, %2 the system's reason.
        dialogs.showError(
            parent, GeneralErrorText(
                        QCoreApplication::translate("OpenExample", "The examples file %1 cannot be read: %2")
                            .arg(shipped, in.errorString())));
        return false;
    }
    try {
        CheckedFileWriter out(QFile::encodeName(copy).toStdString());
        out.open();
        out.write(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        out.commitIfAbsent();
    } catch (const FileWriteError& e) {
        //: %1 is the user's copy of the examples in the data folder, %2 the system's reason.
        dialogs.showError(
            parent, GeneralErrorText(QCoreApplication::translate("OpenExample",
                                                                 "The examples could not be copied to %1: %2")
                                         .arg(copy, QString::fromLocal8Bit(e.what()))));
        return false;
    }
    return true;
}

}  // namespace

void OpenExample(SettingsViewer& viewer, PlatformDialogs& dialogs, QWidget* parent, const QString& shipped,
                 const QString& dataDir) {
    const QString copy = QDir(dataDir).filePath(ExamplesCopyName);
    // A dangling link counts as there: the viewer then says what is wrong with it.
    const bool present = QFileInfo::exists(copy) || QFileInfo(copy).isSymLink();
    if (!present && !copyExamples(dialogs, parent, shipped, copy)) return;
    viewer.viewSettingsFile(copy);
}
