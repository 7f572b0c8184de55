#pragma once

#include <QImage>
#include <QStringList>

// The picture with a caption strip below it, one line of text for each of lines: dark text on white, in the
// program's font, each line cut short with an ellipsis where the picture is too narrow for it. The picture's
// own pixels are unchanged.
QImage withCaption(const QImage& picture, const QStringList& lines);
