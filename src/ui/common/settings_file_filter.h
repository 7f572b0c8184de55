#pragma once

#include <QString>

// The file dialogs' filter for settings files. Qt's filters are case-sensitive here, so both spellings of
// the extension are listed.
inline const QString SettingsFileFilter = QStringLiteral("Tulvane files (*.tv0 *.TV0)");
