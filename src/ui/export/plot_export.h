#pragma once

#include <QImage>
#include <QString>

// Writes a picture as PNG. The file appears only when it is complete: it is written beside its final name
// and renamed over it at the end, so a failure (a full disk, a read-only folder) leaves nothing behind and
// an existing file as it was. Returns an empty string, or the reason it failed.
QString savePicturePng(const QImage& picture, const QString& path);
