#include "ui/common/platform_dialogs.h"

#include <QClipboard>
#include <QColorDialog>
#include <QFileDialog>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QSettings>
#include <QTimer>

namespace {
const QString AppTitle = QStringLiteral("Tulvane");
constexpr QChar ZeroWidthSpace(0x200B);
constexpr QChar WordJoiner(0x2060);
// A word this long may not fit a line of a message box.
constexpr int LongWord = 20;

bool isFolderSeparator(QChar c) {
    return c == QLatin1Char('/') || c == QLatin1Char('\\');
}

// A message box wraps only between words, so a long path or label would run past its edge and be cut. In a
// long word a zero-width space after each folder separator, and between all the characters of a long part
// without one, lets it break where the line ends; a path never breaks right after its leading separator.
QString breakableText(const QString& text) {
    QString out;
    out.reserve(text.size() * 2);
    qsizetype i = 0;
    while (i < text.size()) {
        if (text[i].isSpace()) {
            out += text[i++];
            continue;
        }
        qsizetype end = i;
        while (end < text.size() && !text[end].isSpace()) ++end;
        const QStringView word = QStringView(text).mid(i, end - i);
        i = end;
        if (word.size() <= LongWord) {
            out += word;
            continue;
        }
        qsizetype partStart = 0;
        for (qsizetype k = 0; k < word.size(); ++k) {
            if (!isFolderSeparator(word[k]) && k + 1 < word.size()) continue;
            const QStringView part = word.mid(partStart, k + 1 - partStart);
            for (qsizetype c = 0; c < part.size(); ++c) {
                out += part[c];
                if (part.size() > LongWord && c + 1 < part.size()) out += ZeroWidthSpace;
            }
            if (k + 1 < word.size()) out += k == 0 ? WordJoiner : ZeroWidthSpace;
            partStart = k + 1;
        }
    }
    return out;
}

// Text copied out of a box is given back without the zero-width characters, so a copied path can be pasted.
class CleanCopies {
public:
    CleanCopies() {
        QClipboard* c = QGuiApplication::clipboard();
        clipboard_ = QObject::connect(c, &QClipboard::dataChanged, [c] { clean(c, QClipboard::Clipboard); });
        selection_ =
            QObject::connect(c, &QClipboard::selectionChanged, [c] { clean(c, QClipboard::Selection); });
    }
    ~CleanCopies() {
        QObject::disconnect(clipboard_);
        QObject::disconnect(selection_);
    }
    CleanCopies(const CleanCopies&) = delete;
    CleanCopies& operator=(const CleanCopies&) = delete;

private:
    static void clean(QClipboard* c, QClipboard::Mode mode) {
        const QString t = c->text(mode);
        if (t.contains(ZeroWidthSpace) || t.contains(WordJoiner))
            c->setText(QString(t).remove(ZeroWidthSpace).remove(WordJoiner), mode);
    }
    QMetaObject::Connection clipboard_;
    QMetaObject::Connection selection_;
};

int execMessageBox(QMessageBox& box) {
    CleanCopies cleanCopies;
    return box.exec();
}

bool runFileDialog(QWidget* parent, const PlatformDialogs::FileOptions& options, QString& fileName,
                   bool save) {
    QFileDialog dialog(parent, options.title, options.initialDir, options.nameFilter);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!options.defaultSuffix.isEmpty()) dialog.setDefaultSuffix(options.defaultSuffix);
    QFileDialog::Options o;
    if (!options.overwritePrompt) o |= QFileDialog::DontConfirmOverwrite;
    // Patterns written with letter classes match in any case; the combo box shows only the filter's name.
    if (options.hideFilterPatterns) o |= QFileDialog::HideNameFilterDetails;
    dialog.setOptions(o);
    if (!fileName.isEmpty()) dialog.selectFile(fileName);
    if (dialog.exec() != QDialog::Accepted) return false;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) return false;
    fileName = chosen.first();
    return true;
}
}  // namespace

QtPlatformDialogs::QtPlatformDialogs() {
    // Qt's file and colour dialogs keep a folder history and their layout in QtProject.conf; the program
    // keeps no settings of that kind. Settings named by organisation go nowhere (no folder can be made
    // under /dev/null); a settings file opened by its own path is unaffected.
    for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, QStringLiteral("/dev/null"));
}

void QtPlatformDialogs::showMessage(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, AppTitle, breakableText(text), QMessageBox::Ok, parent);
    // The user may want to copy a path or an error text out of the box.
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);
    execMessageBox(box);
}

void QtPlatformDialogs::showError(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Critical, AppTitle, breakableText(text), QMessageBox::Ok, parent);
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);
    execMessageBox(box);
}

void QtPlatformDialogs::showWarning(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Warning, AppTitle, breakableText(text), QMessageBox::Ok, parent);
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);
    execMessageBox(box);
}

bool QtPlatformDialogs::confirm(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Question, AppTitle, breakableText(text),
                    QMessageBox::Ok | QMessageBox::Cancel, parent);
    box.setDefaultButton(QMessageBox::Ok);
    return execMessageBox(box) == QMessageBox::Ok;
}

bool QtPlatformDialogs::inputQuery(QWidget* parent, const QString& caption, const QString& prompt,
                                   QString& value, int maxLength) {
    QInputDialog dialog(parent);
    dialog.setWindowTitle(caption);
    dialog.setLabelText(prompt);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setTextValue(value);
    // QInputDialog has no length limit of its own.
    if (auto* edit = dialog.findChild<QLineEdit*>()) edit->setMaxLength(maxLength);
    if (dialog.exec() != QDialog::Accepted) return false;
    value = dialog.textValue();
    return true;
}

bool QtPlatformDialogs::pickColor(QWidget* parent, QColor& color) {
    const QColor chosen = QColorDialog::getColor(color, parent);
    if (!chosen.isValid()) return false;
    color = chosen;
    return true;
}

bool QtPlatformDialogs::openFile(QWidget* parent, const FileOptions& options, QString& fileName) {
    return runFileDialog(parent, options, fileName, false);
}

bool QtPlatformDialogs::saveFile(QWidget* parent, const FileOptions& options, QString& fileName) {
    return runFileDialog(parent, options, fileName, true);
}

bool QtPlatformDialogs::waitForOtherCopy(QWidget* parent, const QString& text,
                                         const std::function<bool()>& tryAgain) {
    QMessageBox box(QMessageBox::Information, AppTitle, breakableText(text), QMessageBox::Cancel, parent);
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);
    bool taken = false;
    QTimer poll;
    poll.setInterval(PollMs);
    QObject::connect(&poll, &QTimer::timeout, &box, [&] {
        if (taken || !tryAgain()) return;
        taken = true;
        box.done(QMessageBox::Ok);
    });
    poll.start();
    execMessageBox(box);
    return taken;
}
