#include "ui/common/platform_dialogs.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>

namespace {
const QString AppTitle = QStringLiteral("Tulvane");

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

void QtPlatformDialogs::showMessage(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, AppTitle, text, QMessageBox::Ok, parent);
    // The user may want to copy a path or an error text out of the box.
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);
    box.exec();
}

void QtPlatformDialogs::showError(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Critical, AppTitle, text, QMessageBox::Ok, parent);
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);
    box.exec();
}

bool QtPlatformDialogs::confirm(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Question, AppTitle, text, QMessageBox::Ok | QMessageBox::Cancel, parent);
    box.setDefaultButton(QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok;
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
