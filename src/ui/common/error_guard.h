#pragma once

#include <QString>
#include <exception>
#include <functional>

class PlatformDialogs;
class QWidget;

// The text of a caught error in the user's language. The layers below the windows have no Qt and keep their
// texts in English (tulvane-trace prints them as they are): their errors are told here from their fixed
// texts, or from their codes and arguments, and an error of any other kind by its own text.
QString ErrorMessageText(const std::exception& e);
// The same for an error kept for later, from another thread; "Unknown error" for one that is no
// std::exception.
QString ErrorMessageText(const std::exception_ptr& error);

// The text of the general error report: the error's text with a full stop appended, unless it already ends
// in a full stop or in a character whose code is below it.
QString GeneralErrorText(const QString& text);
QString GeneralErrorText(const std::exception& e);

// Runs a handler so that no exception ever crosses into Qt: any error is shown by the general error report.
void guarded(PlatformDialogs& dialogs, QWidget* parent, const std::function<void()>& handler);
