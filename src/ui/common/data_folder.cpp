#include "ui/common/data_folder.h"

#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <initializer_list>
#include <system_error>

#include "settings_file/temporary_files.h"
#include "ui/common/platform_dialogs.h"

namespace {

QString systemText(int err) {
    return QString::fromLocal8Bit(std::strerror(err));
}

// With the effective ids, as the program's own writes will have; a read-only mount refuses even root.
bool writableFolder(const QByteArray& path) {
    return ::faccessat(AT_FDCWD, path.constData(), W_OK | X_OK, AT_EACCESS) == 0;
}

}  // namespace

QString DataFolder::problem(const QString& folder) {
    // Without a trailing slash: with one, a file in the folder's place reads "File exists".
    const std::filesystem::path path(QFile::encodeName(QDir::cleanPath(folder)).toStdString());
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
    if (std::filesystem::exists(path) && !std::filesystem::is_directory(path)) return systemText(ENOTDIR);
    if (ec) return QString::fromLocal8Bit(ec.message().c_str());
    if (!writableFolder(QFile::encodeName(folder))) return systemText(errno);
    return {};
}

QString DataFolder::unusableText(const QString& folder, const QString& reason) {
    //: Shown once at start. %1 is the folder, %2 the system's reason ("Read-only file system").
    return QCoreApplication::translate(
               "DataFolder",
               "The data folder %1 cannot be used: %2. Settings files can be saved in "
               "any other folder; the file dialogs start in the home folder instead.")
        .arg(folder, reason);
}

void DataFolder::checkAtStart(PlatformDialogs& dialogs, QWidget* parent, const QString& folder) {
    const QString reason = problem(folder);
    if (!reason.isEmpty()) {
        dialogs.showWarning(parent, unusableText(folder, reason));
        return;
    }
    TemporaryFiles::removeStale(QFile::encodeName(folder).toStdString());
}

QString DataFolder::classicStartFolder(const QString& folder) {
    if (QFileInfo(folder).isDir() && writableFolder(QFile::encodeName(folder))) return folder;
    return QDir::homePath();
}

namespace {

// The first of the user's folders at these places that is there, else the home folder.
QString firstFolderOf(std::initializer_list<QStandardPaths::StandardLocation> locations) {
    for (const auto location : locations) {
        QString candidate = QStandardPaths::writableLocation(location);
        if (!candidate.isEmpty() && QFileInfo(candidate).isDir()) return candidate;
    }
    return QDir::homePath();
}

}  // namespace

QString DataFolder::pictureExportFolder() {
    return firstFolderOf({QStandardPaths::PicturesLocation, QStandardPaths::DocumentsLocation});
}

QString DataFolder::trackExportFolder() {
    return firstFolderOf({QStandardPaths::DocumentsLocation});
}
