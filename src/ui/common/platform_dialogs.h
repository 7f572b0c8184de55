#pragma once

#include <QColor>
#include <QString>
#include <functional>

class QWidget;

// Every modal box and standard dialog the program shows goes through this interface, so that tests can
// script the user's answers (ScriptedDialogs in tests/) and the program uses the Qt ones.
class PlatformDialogs {
public:
    struct FileOptions {
        QString title;
        QString nameFilter;  // Qt form, e.g. "JPEG Graphics (*.jpg *.jpeg *.JPG *.JPEG)"
        QString initialDir;
        QString defaultSuffix;  // without the dot; empty for none
        bool mustExist = false;
        bool overwritePrompt = false;
        bool hideFilterPatterns = false;  // show only the filter's name, not its patterns
    };

    virtual ~PlatformDialogs() = default;
    // A modal box with an OK button and the program's title as caption.
    virtual void showMessage(QWidget* parent, const QString& text) = 0;
    // The general error report: caption "Tulvane", error icon, the text as given.
    virtual void showError(QWidget* parent, const QString& text) = 0;
    // A box with an OK button, the program's title as caption and a warning icon.
    virtual void showWarning(QWidget* parent, const QString& text) = 0;
    // A confirmation box with OK and Cancel; true only for OK.
    virtual bool confirm(QWidget* parent, const QString& text) = 0;
    // A text-entry box with OK and Cancel; the field starts with value and takes at most maxLength
    // characters.
    virtual bool inputQuery(QWidget* parent, const QString& caption, const QString& prompt, QString& value,
                            int maxLength) = 0;
    // The colour dialog, opening on color; true and color set when accepted.
    virtual bool pickColor(QWidget* parent, QColor& color) = 0;
    // File dialogs; true and fileName (full path) set when the user confirmed a name.
    virtual bool openFile(QWidget* parent, const FileOptions& options, QString& fileName) = 0;
    virtual bool saveFile(QWidget* parent, const FileOptions& options, QString& fileName) = 0;
    // The box shown while another copy of the program holds a file this one must write: modal, so that it
    // holds a run still, with the text and a Cancel button. tryAgain, which never throws, is called every
    // PollMs until it returns true; then the box closes and this returns true. False when the user cancelled.
    virtual bool waitForOtherCopy(QWidget* parent, const QString& text,
                                  const std::function<bool()>& tryAgain) = 0;

    static constexpr int PollMs = 50;
};

class QtPlatformDialogs : public PlatformDialogs {
public:
    // Also stops Qt's own dialogs from writing their settings file (QtProject.conf).
    QtPlatformDialogs();
    void showMessage(QWidget* parent, const QString& text) override;
    void showError(QWidget* parent, const QString& text) override;
    void showWarning(QWidget* parent, const QString& text) override;
    bool confirm(QWidget* parent, const QString& text) override;
    bool inputQuery(QWidget* parent, const QString& caption, const QString& prompt, QString& value,
                    int maxLength) override;
    bool pickColor(QWidget* parent, QColor& color) override;
    bool openFile(QWidget* parent, const FileOptions& options, QString& fileName) override;
    bool saveFile(QWidget* parent, const FileOptions& options, QString& fileName) override;
    bool waitForOtherCopy(QWidget* parent, const QString& text,
                          const std::function<bool()>& tryAgain) override;
};
