#pragma once

#include <QCoreApplication>
#include <QString>

// The file dialogs' filter for settings files. Qt's filters are case-sensitive here, so both spellings of
// the extension are listed.
inline QString settingsFileFilter() {
    //: The file dialogs' filter for settings files: keep the patterns in brackets as they are.
    return QCoreApplication::translate("SettingsFileFilter", "Tulvane files (*.tv0 *.TV0)");
}
