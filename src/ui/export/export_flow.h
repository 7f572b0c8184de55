#pragma once

#include <QImage>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class PlatformDialogs;
class QAction;
class QProgressDialog;
class QTimer;
class QWidget;
class RunSession;

// File > Export Picture and Export Track, from the question for the file to the report of the result. The
// file is written on a thread of its own, so the window, and a run, go on meanwhile; what came of it (the
// system's reason for a failure) is shown on the window's thread when the writer is done. Each export
// suggests a name, the record's label and the elapsed day, and starts in the user's pictures or documents
// folder.
class ExportFlow : public QObject {
    Q_OBJECT

public:
    ExportFlow(PlatformDialogs& dialogs, const RunSession& session, QWidget* window);
    // Cancels what is still being written and waits for the writers: nothing half-written is left.
    ~ExportFlow() override;

    // A checkable menu item: a caption strip under exported pictures (the label, the day, the scale and the
    // orbit's summary line). Off unless the view options say otherwise; they remember each change.
    QAction* captionAction() const { return captionAction_; }
    // The orbit readout's summary line of the run's start, for the caption; none when unset.
    std::function<QString()> captionSummary;
    // What the caption strip says: the label, the elapsed days and the scale on one line, the summary on the
    // next.
    QStringList captionLines(const QString& days) const;

    // The picture is what the window shows; days, the elapsed days it shows, go into the name and caption.
    void exportPicture(const QImage& picture, const QString& days);
    // The run's kept points, to the last plot point when the export begins; a replay under way is waited
    // for, since its points are not yet all there. A box shows the progress at once and can cancel.
    void exportTrack(const QString& days);

    // Whether a file is still being written.
    bool writing() const { return !jobs_.empty(); }
    // Ending the program: at once when nothing is being written. Otherwise each export's progress box comes
    // up, holding the window, and end runs once every export is written or cancelled; a cancelled one is
    // told, since the user may not expect the file to be missing.
    void endAfterWrites(std::function<void()> end);

    // For tests: runs each time a track export's progress is looked at, with its box; and on each writer's
    // thread before it writes.
    std::function<void(QProgressDialog&)> whileExportingTrack;
    std::function<void()> beforeWriting;

signals:
    // An export's writer is done and what came of it has been shown.
    void exportEnded();

private:
    struct Job;

    // The record's label and the scale, as the names and the caption tell them.
    QString label() const;
    QString scale() const;
    bool askFile(const QString& title, const QString& filter, const QString& suffix, const QString& folder,
                 QString& fileName);
    // rows 0: a busy bar, for a picture or a replay waited for.
    QProgressDialog* progressBox(const QString& title, const QString& text, int rows, const QString& barName);
    void startTrackWriter(Job& job);
    void showProgress();
    // Called on the writer's thread: the job's end is handled on the window's.
    std::function<void()> notifyEnd(const Job& job);
    void finish(const Job* job);
    // What the user is told of an export that failed, or was cancelled while the program ended.
    static QString failedText(const Job& job, const QString& failure);
    static QString cancelledText(const Job& job);
    void holdWindowWithBox(Job& job);

    PlatformDialogs& dialogs_;
    const RunSession& session_;
    QWidget* window_;
    QAction* captionAction_;
    QTimer* progressTimer_;
    std::vector<std::unique_ptr<Job>> jobs_;
    std::function<void()> end_;
};
