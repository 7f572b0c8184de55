#pragma once

#include <QString>
#include <exception>

class PlatformDialogs;
class QWidget;

// "<kind> error raised with message: <text>" for a caught error.
QString ReportErrorText(const std::exception& e);

// The error report of every handler that touches a settings file: a modal box with that text.
void ReportError(PlatformDialogs& dialogs, QWidget* parent, const std::exception& e);
