#pragma once

#include <QString>
#include <exception>
#include <functional>

class PlatformDialogs;
class QWidget;

// The text of the general error report: the error's text with a full stop appended, unless it already ends
// in a full stop or in a character whose code is below it.
QString GeneralErrorText(const QString& text);
QString GeneralErrorText(const std::exception& e);

// Runs a handler so that no exception ever crosses into Qt: any error is shown by the general error report.
void guarded(PlatformDialogs& dialogs, QWidget* parent, const std::function<void()>& handler);
