#pragma once

#include <QString>

// The file name an export suggests: the record's label and the elapsed days, "Earth and Sun, day 365.3.png",
// or "Tulvane, day 365.3.png" when the label is empty; without the day when days is empty. A label can hold
// any character: those a file name cannot hold, or that many file systems refuse (a USB stick's), become
// '-', control characters and leading dots (a hidden file) go, and a long label is cut short.
QString suggestedExportName(const QString& label, const QString& days, const QString& suffix);
