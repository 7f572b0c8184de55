#include <QtTest>
#include <cerrno>
#include <cstring>
#include <functional>
#include <stdexcept>

#include "core/fp_error.h"
#include "core/parse_quantity.h"
#include "marking_translator.h"
#include "scripted_dialogs.h"
#include "settings_file/checked_file_writer.h"
#include "settings_file/file_changed_error.h"
#include "settings_file/file_lock.h"
#include "settings_file/in_out_error.h"
#include "ui/common/error_guard.h"
#include "ui/common/report_error.h"

Q_DECLARE_METATYPE(std::exception_ptr)
using Text = std::function<QString()>;
Q_DECLARE_METATYPE(Text)

namespace {

std::exception_ptr thrownBy(const std::function<void()>& f) {
    try {
        f();
    } catch (...) {
        return std::current_exception();
    }
    return nullptr;
}

QString m(const QString& text) {
    return MarkingTranslator::marked(text);
}

// What the user reads without a catalogue: the marks gone.
QString unmarked(QString text) {
    return text.remove(QChar(0x2039)).remove(QChar(0x203a));
}

}  // namespace

// The errors of the layers below the windows, which have no Qt, reach the user in the user's language: each
// is translated whole from its fixed text or its code and arguments, and reads in English exactly as the
// layer wrote it.
class ErrorTextTest : public QObject {
    Q_OBJECT

private slots:
    void errorsOfTheLowerLayers_data() {
        QTest::addColumn<std::exception_ptr>("error");
        QTest::addColumn<QString>("translated");
        const auto row = [](const char* name, const std::exception_ptr& error, const QString& translated) {
            QTest::newRow(name) << error << translated;
        };
        const auto make = [](auto e) { return std::make_exception_ptr(e); };
        row("file not found", make(EInOutError::fromErrno(ENOENT)), m("The specified file was not found"));
        row("the folder's missing keeps its %s", make(EInOutError(IoCode::PathNotFound)),
            m("Invalid file name - %s"));
        row("too many open files", make(EInOutError::fromErrno(EMFILE)), m("Too many open files"));
        row("access denied", make(EInOutError::fromErrno(EROFS)), m("File access denied"));
        row("read beyond the end", make(EInOutError(IoCode::ReadBeyondEnd)), m("Read beyond end of file"));
        row("disk full", make(EInOutError::fromErrno(ENOSPC)), m("Disk full"));
        row("an errno without words", make(EInOutError::fromErrno(EIO)), m("I/O error 5"));
        row("a code without words", make(EInOutError(IoCode::FileNotOpen)), m("I/O error 103"));
        row("locked by another copy", make(EInOutError(IoCode::Locked)), m("I/O error 32"));
        row("a file error's own text", make(EInOutError(IoCode::AccessDenied, "Quota exceeded")),
            "Quota exceeded");
        row("division by zero", make(FloatingPointError("EZeroDivide", ZeroDivideText)), m(ZeroDivideText));
        row("overflow", make(FloatingPointError("EOverflow", OverflowText)), m(OverflowText));
        row("invalid operation", make(FloatingPointError("EInvalidOp", InvalidOpText)), m(InvalidOpText));
        row("changed by another program", make(FileChangedError()), m(FileChangedText));
        row("the wait cancelled", make(LockWaitCancelled()), m(LockWaitCancelledText));
        row("not a number", thrownBy([] { parseQuantity("1,5", QuantityKinds::Mass); }),
            m("\"1,5\" is not a number"));
        row("unknown unit of three", thrownBy([] { parseQuantity("1 lb", QuantityKinds::Mass); }),
            m("Unknown unit \"lb\": use " + m(m("kg, Msun") + " or Mearth")));
        row("unknown unit of two", thrownBy([] { parseQuantity("3 mph", QuantityKinds::Speed); }),
            m("Unknown unit \"mph\": use " + m("km/s or m/s")));
        row("out of range", thrownBy([] { parseQuantity("2e4932", QuantityKinds::Mass); }),
            m("\"2e4932\" is out of range"));
        // The system's own words, already in the user's language.
        row("a failed write", make(FileWriteError(ENOSPC)), QString::fromLocal8Bit(std::strerror(ENOSPC)));
        row("another error", make(std::runtime_error("something else")), "something else");
        row("no std::exception", make(42), m("Unknown error"));
    }
    void errorsOfTheLowerLayers() {
        QFETCH(std::exception_ptr, error);
        QFETCH(QString, translated);
        QVERIFY(error);
        QCOMPARE(ErrorMessageText(error), unmarked(translated));
        try {
            std::rethrow_exception(error);
        } catch (const std::exception& e) {
            QCOMPARE(ErrorMessageText(e), QString::fromLocal8Bit(e.what()));
        } catch (...) {
        }
        const MarkedTexts marked;
        QCOMPARE(ErrorMessageText(error), translated);
    }

    void reportsSayTheErrorInTheUsersLanguage_data() {
        QTest::addColumn<Text>("text");
        QTest::addColumn<QString>("translated");
        QTest::newRow("file error report")
            << Text([] { return ReportErrorText(EInOutError::fromErrno(EACCES)); })
            << m("EInOutError error raised with message: " + m("File access denied"));
        QTest::newRow("report of an error of no kind")
            << Text([] { return ReportErrorText(std::runtime_error("x")); })
            << m("Exception error raised with message: x");
        QTest::newRow("general report")
            << Text([] { return GeneralErrorText(FloatingPointError("EOverflow", OverflowText)); })
            << m(OverflowText) + ".";
        QTest::newRow("general report of an unknown error") << Text([] {
            ScriptedDialogs dialogs;
            guarded(dialogs, nullptr, [] { throw 1; });
            return dialogs.texts("error").value(0);
        }) << m("Unknown error") + ".";
        QTest::newRow("general report of a run's error") << Text([] {
            ScriptedDialogs dialogs;
            guarded(dialogs, nullptr, [] { raiseFpError(FE_DIVBYZERO); });
            return dialogs.texts("error").value(0);
        }) << m(ZeroDivideText) + ".";
    }
    void reportsSayTheErrorInTheUsersLanguage() {
        QFETCH(Text, text);
        QFETCH(QString, translated);
        QCOMPARE(text(), unmarked(translated));
        const MarkedTexts marked;
        QCOMPARE(text(), translated);
    }
};

QTEST_MAIN(ErrorTextTest)
#include "error_text_qtest.moc"
