#pragma once

#include <QImage>
#include <QString>
#include <functional>

// Writes a picture as PNG. The file appears only when it is complete: it is written beside its final name
// and renamed over it at the end, so a failure (a full disk, a read-only folder) leaves nothing behind and
// an existing file as it was. Returns an empty string, or the reason it failed. When stop is given, it is
// asked before the file is written and again before it is put in place: true drops the file, silently.
QString savePicturePng(const QImage& picture, const QString& path, const std::function<bool()>& stop = {});
