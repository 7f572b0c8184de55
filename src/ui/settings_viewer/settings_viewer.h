#pragma once

#include <QDialog>
#include <QLocale>
#include <QString>
#include <functional>
#include <string>

#include "core/sim_records.h"
#include "core/t_state.h"
#include "settings_file/t_state_file.h"

class PlatformDialogs;
class QFrame;
class QLabel;
class QListWidget;
class QPushButton;

// The State Settings dialog: shows CurSettings, or the records of a settings file one at a time, where the
// user can make a record current, mark it for deletion and compact the file. Created hidden once and shown
// modally by the main window's View menu.
class SettingsViewer : public QDialog {
    Q_OBJECT

public:
    SettingsViewer(SimRecords& records, PlatformDialogs& dialogs, QString dataDir, QWidget* parent = nullptr);

    // View / Current Settings and View / Saved Settings: each returns when the dialog has closed.
    void viewCurrentSettings();
    void viewSavedSettings();
    // View / Saved Settings from the point where the user has chosen the file name.
    void viewSettingsFile(const QString& name);
    // Makes record n (from 1) of the named file current without showing the viewer, as its Make Current
    // would; a record that cannot be read, or is marked for deletion, is reported and changes nothing.
    bool makeFileRecordCurrent(const QString& name, std::int64_t n);

    // Every closing (finishedButton, the close box, Esc) ends here, so the viewed file is always closed.
    void done(int result) override;

protected:
    // The record steps, the widgets and what the viewer shows: its own buttons use them, and tests
    // drive them through a subclass.
    void showRecord(const TState& V);

    void showFirstRecord();
    void showLastRecord();
    void showNextRecord();
    void showPreviousRecord();
    void makeRecordCurrent();
    void markForDeletion();
    void unmarkForDeletion();
    void finish();

    // Runs inside the dialog's modal loop right after it is shown: tests act on the dialog through it.
    std::function<void()> whileShown;

    QFrame *ColorAPanel, *ColorBPanel;
    QLabel *ALabel, *BLabel;
    QListWidget *BodyLabels, *AList, *BList, *ComLabels, *ComList;
    QFrame* RecordPanel;
    QLabel *CountLabel, *FilenameLabel;
    QPushButton *FirstButton, *LastButton, *NextButton, *PreviousButton;
    QPushButton *CurrentButton, *DeleteButton, *UndeleteButton;
    QPushButton* finishedButton;

    const TState& viewRec() const { return viewedRecord_; }
    bool viewModified() const { return viewedFileModified_; }
    bool viewFileOpen() const { return viewedFile_.isOpen(); }

private:
    void closeViewedFile();
    void showModally();
    void setCountLabel(std::int64_t n);
    static QString countText(std::int64_t n, std::int64_t count);
    // Reads the record at the current position into viewedRecord_ and shows it as record n.
    void readAndShow(std::int64_t n);
    // Runs a file step; a failure is reported and the viewed file closed (the File lost state). A wait for
    // another copy that the user cancelled wrote nothing: cancelled puts back what the step showed early, the
    // user is told, and the file stays open.
    void fileStep(const std::function<void()>& step, const std::function<void()>& cancelled = {});
    // Shows the shown record's new mark at once and writes it.
    void writeMark(std::int32_t action, const QString& text);
    void rewriteShownRecord();
    // Another copy of the program changed the viewed file: says so and closes, writing nothing more.
    void leaveChangedFile();
    void setRow(QListWidget* list, int row, const QString& text);
    QString colorCode(TColor c) const;
    // The Action row's texts: no mark, and the mark for deletion.
    QString noMarkText() const;
    QString deleteMarkText() const;
    QString general(Extended x) const;

    SimRecords& records_;
    PlatformDialogs& dialogs_;
    QString dataDir_;
    QLocale locale_;
    std::string decimalSeparator_;

    QString viewedFileName_;
    TStateFile viewedFile_;
    // The viewed file as this viewer last saw or wrote it; a file that differs was changed by someone else.
    FileIdentity viewedFileIdentity_;
    TState viewedRecord_{};
    std::int64_t viewedRecordCount_ = 0;
    bool viewedFileModified_ = false;
};
