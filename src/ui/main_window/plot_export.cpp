#include "ui/main_window/plot_export.h"

#include <QSaveFile>

QString savePicturePng(const QImage& picture, const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return file.errorString();
    if (!picture.save(&file, "PNG")) {
        const QString why = file.error() != QFileDevice::NoError
                                ? file.errorString()
                                : QStringLiteral("the picture could not be encoded");
        file.cancelWriting();
        return why;
    }
    if (!file.commit()) return file.errorString();
    return {};
}
