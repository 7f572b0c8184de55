#include "ui/common/error_guard.h"

#include <QCoreApplication>
#include <cstring>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/fp_error.h"
#include "core/label_codec.h"
#include "core/parse_quantity.h"
#include "settings_file/checked_file_writer.h"
#include "settings_file/file_changed_error.h"
#include "settings_file/file_lock.h"
#include "settings_file/in_out_error.h"
#include "ui/common/platform_dialogs.h"

namespace {

// The lower layers' errors whose text never changes, marked here for translation; the checks below and the
// tests keep them the same as the texts those layers throw.
constexpr const char* FixedTexts[] = {
    //: An error of the simulation's arithmetic: a run, or a cross that cannot be placed, stopped on it.
    QT_TRANSLATE_NOOP("ErrorText", "Invalid floating point operation"),
    //: An error of the simulation's arithmetic; a plot interval whose steps are 0 gives it at once.
    QT_TRANSLATE_NOOP("ErrorText", "Floating point division by zero"),
    //: An error of the simulation's arithmetic: a value grew beyond the largest number.
    QT_TRANSLATE_NOOP("ErrorText", "Floating point overflow"),
    //: A file error: the settings file does not exist.
    QT_TRANSLATE_NOOP("ErrorText", "The specified file was not found"),
    //: A file error: the folder of the file does not exist. The "%s" is shown as it stands, as the program
    //: has always shown it: keep it.
    QT_TRANSLATE_NOOP("ErrorText", "Invalid file name - %s"),
    //: A file error.
    QT_TRANSLATE_NOOP("ErrorText", "Too many open files"),
    //: A file error: the user may not read or write the file, or the disk is read-only.
    QT_TRANSLATE_NOOP("ErrorText", "File access denied"),
    //: A file error: the settings file ends in the middle of a record.
    QT_TRANSLATE_NOOP("ErrorText", "Read beyond end of file"),
    //: A file error: no room was left for the whole record.
    QT_TRANSLATE_NOOP("ErrorText", "Disk full"),
    //: Another program changed or replaced the settings file the viewer shows, so nothing was written.
    QT_TRANSLATE_NOOP("ErrorText", "The file was changed by another program"),
    //: The user cancelled the wait for another copy of this program to finish with the settings file.
    QT_TRANSLATE_NOOP("ErrorText", "Waiting for another copy of the program was cancelled"),
    //: A broken installation: the character conversion data of the ICU library are missing.
    QT_TRANSLATE_NOOP("ErrorText", "The windows-1252 code page is not available"),
    //: A broken installation: the C library cannot make its C locale.
    QT_TRANSLATE_NOOP("ErrorText", "The C locale is not available"),
};

constexpr bool isFixedText(std::string_view text) {
    for (const char* fixed : FixedTexts)
        if (text == fixed) return true;
    return false;
}
static_assert(isFixedText(InvalidOpText) && isFixedText(ZeroDivideText) && isFixedText(OverflowText));
static_assert(isFixedText(FileChangedText) && isFixedText(LockWaitCancelledText));
static_assert(isFixedText(CodePageMissingText) && isFixedText(CLocaleMissingText));

// "kg, Msun or Mearth": the names stay as they are typed.
QString unitListText(const std::vector<std::string>& names) {
    QString out;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const QString name = QString::fromStdString(names[i]);
        if (i == 0)
            out = name;
        else if (i + 1 == names.size())
            //: The last two of the units a typed value may have: "Msun or Mearth".
            out = QCoreApplication::translate("ErrorText", "%1 or %2", "units").arg(out, name);
        else
            //: Two of the units a typed value may have, more following: "kg, Msun".
            out = QCoreApplication::translate("ErrorText", "%1, %2", "units").arg(out, name);
    }
    return out;
}

QString quantityErrorText(const QuantityTextError& e) {
    const QString subject = QString::fromStdString(e.subject());
    switch (e.reason()) {
        case QuantityTextError::Reason::NotANumber:
            //: A typed value refused; %1 is the text as typed.
            return QCoreApplication::translate("ErrorText", "\"%1\" is not a number").arg(subject);
        case QuantityTextError::Reason::UnknownUnit:
            //: A typed value refused; %1 is the unit as typed, %2 the units it may have ("kg, Msun or
            //: Mearth"), which are typed as they are written.
            return QCoreApplication::translate("ErrorText", "Unknown unit \"%1\": use %2")
                .arg(subject, unitListText(e.unitNames()));
        case QuantityTextError::Reason::OutOfRange:
            break;
    }
    //: A typed value refused: beyond the largest or below the smallest number the program computes with.
    return QCoreApplication::translate("ErrorText", "\"%1\" is out of range").arg(subject);
}

// A file error's code or errno, when its text is the one the number gives: "I/O error 5".
std::optional<int> ioErrorNumber(const EInOutError& e) {
    const int n = e.unmappedErrno() != 0 ? e.unmappedErrno() : e.code();
    if (std::string_view(e.what()) != "I/O error " + std::to_string(n)) return std::nullopt;
    return n;
}

}  // namespace

QString ErrorMessageText(const std::exception& e) {
    if (const auto* quantity = dynamic_cast<const QuantityTextError*>(&e))
        return quantityErrorText(*quantity);
    if (const auto* io = dynamic_cast<const EInOutError*>(&e))
        if (const std::optional<int> n = ioErrorNumber(*io))
            //: A file error the program has no words of its own for; %1 is the system's error number.
            return QCoreApplication::translate("ErrorText", "I/O error %1").arg(*n);
    // The system's own text, in the language and the encoding of the user's locale.
    if (dynamic_cast<const FileWriteError*>(&e)) return QString::fromLocal8Bit(e.what());
    for (const char* fixed : FixedTexts)
        if (std::strcmp(e.what(), fixed) == 0) return QCoreApplication::translate("ErrorText", fixed);
    return QString::fromUtf8(e.what());
}

QString ErrorMessageText(const std::exception_ptr& error) {
    QString unknown = QCoreApplication::translate("ErrorText", "Unknown error");
    if (!error) return unknown;
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        return ErrorMessageText(e);
    } catch (...) {
        return unknown;
    }
}

QString GeneralErrorText(const QString& text) {
    if (!text.isEmpty() && text.back().unicode() <= u'.') return text;
    return text + QLatin1Char('.');
}

QString GeneralErrorText(const std::exception& e) {
    return GeneralErrorText(ErrorMessageText(e));
}

void guarded(PlatformDialogs& dialogs, QWidget* parent, const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& e) {
        dialogs.showError(parent, GeneralErrorText(e));
    } catch (...) {
        //: The general error report of an error the program knows nothing of.
        dialogs.showError(parent,
                          GeneralErrorText(QCoreApplication::translate("ErrorText", "Unknown error")));
    }
}
