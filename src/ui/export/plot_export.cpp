#include "ui/export/plot_export.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>

#include "settings_file/checked_file_writer.h"
#include "ui/common/error_guard.h"

QString savePicturePng(const QImage& picture, const QString& path, const std::function<bool()>& stop) {
    const auto stopped = [&stop] { return stop && stop(); };
    // Encoded in memory first: the encoder's own writes go unchecked, the file's are all checked.
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.save(&buffer, "PNG"))
        //: Why a picture export failed: Qt's PNG writer refused the picture.
        return QCoreApplication::translate("PictureExport", "the picture could not be encoded");
    if (stopped()) return {};
    try {
        CheckedFileWriter file(QFile::encodeName(path).toStdString());
        file.open();
        file.write(png.constData(), static_cast<std::size_t>(png.size()));
        if (stopped()) return {};
        file.commit();
    } catch (const FileWriteError& e) {
        return ErrorMessageText(e);
    }
    return {};
}
