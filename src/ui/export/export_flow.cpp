#include "ui/export/export_flow.h"

#include <QAction>
#include <QFileInfo>
#include <QLocale>
#include <QPointer>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <utility>

#include "core/label_codec.h"
#include "core/run_session.h"
#include "ui/common/data_folder.h"
#include "ui/common/distance_in_words.h"
#include "ui/common/error_guard.h"
#include "ui/common/platform_dialogs.h"
#include "ui/common/view_options.h"
#include "ui/export/export_file_name.h"
#include "ui/export/picture_caption.h"
#include "ui/export/picture_export.h"
#include "ui/export/track_export.h"

namespace {

const char* const CaptionKey = "Export/PictureCaption";
// How often a progress box is brought up to date.
constexpr int ProgressPollMs = 30;

}  // namespace

// One export under way: its writer, and its progress box while one is shown.
struct ExportFlow::Job {
    bool isPicture = false;  // else the track
    QString path;
    std::unique_ptr<PictureExport> picture;
    // Made when the writing begins: a track export waits for a replay under way.
    std::unique_ptr<TrackExport> track;
    QPointer<QProgressDialog> box;

    ~Job() {
        // The writers stop first: their destructors cancel and wait.
        picture.reset();
        track.reset();
        delete box.data();
    }
    void cancel() {
        if (picture) picture->cancel();
        if (track) track->cancel();
    }
    QString failure() const {
        if (picture) return picture->failure();
        return track ? track->failure() : QString();
    }
    // Stopped in time by a cancel: no file, and no failure to tell.
    bool cancelled() const {
        const bool written = picture ? picture->written() : track && track->written();
        return !written && failure().isEmpty();
    }
};

ExportFlow::ExportFlow(PlatformDialogs& dialogs, const RunSession& session, QWidget* window)
    : QObject(window), dialogs_(dialogs), session_(session), window_(window) {
    //: File menu: a checkable item; when on, exported pictures get a strip below with the label, the day, the
    //: scale and the orbit's summary.
    captionAction_ = new QAction(tr("&Caption on Exported Pictures"), this);
    captionAction_->setObjectName(QStringLiteral("exportCaptionAction"));
    captionAction_->setCheckable(true);
    captionAction_->setChecked(ViewOptions::flag(QLatin1String(CaptionKey)));
    connect(captionAction_, &QAction::toggled, this,
            [](bool on) { ViewOptions::setFlag(QLatin1String(CaptionKey), on); });
    progressTimer_ = new QTimer(this);
    progressTimer_->setInterval(ProgressPollMs);
    connect(progressTimer_, &QTimer::timeout, this, &ExportFlow::showProgress);
}

ExportFlow::~ExportFlow() {
    jobs_.clear();
}

QString ExportFlow::label() const {
    return QString::fromStdU16String(RecLabelText(session_.records().CurSettings));
}

QString ExportFlow::scale() const {
    const QString distance =
        distanceInWords(session_.records().CurSettings.sf(), QLocale().decimalPoint().front());
    //: The scale in the caption strip of an exported picture: %1 is a distance in words ("1 million km").
    return distance.isEmpty() ? distance : tr("1 px = %1").arg(distance);
}

QStringList ExportFlow::captionLines(const QString& days) const {
    QStringList facts;
    //: The elapsed day in the caption strip of an exported picture: %1 is a decimal number.
    const QString day = days.isEmpty() ? days : tr("day %1", "picture caption").arg(days);
    for (const QString& fact : {label(), day, scale()})
        if (!fact.isEmpty()) facts << fact;
    QStringList lines{facts.join(QStringLiteral(" \u2014 "))};
    if (captionSummary) lines << captionSummary();
    return lines;
}

bool ExportFlow::askFile(const QString& title, const QString& filter, const QString& suffix,
                         const QString& folder, QString& fileName) {
    PlatformDialogs::FileOptions options;
    options.title = title;
    options.nameFilter = filter;
    options.initialDir = folder;
    options.defaultSuffix = suffix;
    options.overwritePrompt = true;
    fileName = folder + QLatin1Char('/') + fileName;
    return dialogs_.saveFile(window_, options, fileName);
}

void ExportFlow::exportPicture(const QImage& picture, const QString& days) {
    QString fileName = suggestedExportName(label(), days, QStringLiteral("png"));
    //: The title of the file dialog of File > Export Picture, and the filter of its files: the part in
    //: brackets stays as it is.
    if (!askFile(tr("Export Picture"), tr("PNG pictures (*.png *.PNG)"), QStringLiteral("png"),
                 DataFolder::pictureExportFolder(), fileName))
        return;
    QImage shown = picture;
    if (captionAction_->isChecked()) shown = withCaption(picture, captionLines(days));
    auto job = std::make_unique<Job>();
    job->isPicture = true;
    job->path = fileName;
    job->picture = std::make_unique<PictureExport>(std::move(shown), fileName);
    job->picture->beforeWriting = beforeWriting;
    job->picture->start(notifyEnd(*job));
    jobs_.push_back(std::move(job));
}

void ExportFlow::exportTrack(const QString& days) {
    QString fileName = suggestedExportName(label(), days, QStringLiteral("csv"));
    //: The title of the file dialog of File > Export Track, and the filter of its files: the part in brackets
    //: stays as it is.
    if (!askFile(tr("Export Track"), tr("CSV tables (*.csv *.CSV)"), QStringLiteral("csv"),
                 DataFolder::trackExportFolder(), fileName))
        return;
    auto job = std::make_unique<Job>();
    job->path = fileName;
    //: The progress box of a track export that waits for a replay under way; %1 is the file's name.
    job->box =
        progressBox(tr("Export Track"),
                    tr("Waiting for the replay to end before writing the track to %1")
                        .arg(QFileInfo(fileName).fileName()),
                    //: The progress bar's name for a screen reader: the rows of the track written so far.
                    0, tr("Rows written"));
    if (!session_.replaying()) startTrackWriter(*job);
    jobs_.push_back(std::move(job));
    progressTimer_->start();
}

QProgressDialog* ExportFlow::progressBox(const QString& title, const QString& text, int rows,
                                         const QString& barName) {
    auto* box = new QProgressDialog(window_);
    box->setWindowTitle(title);
    box->setLabelText(text);
    auto* bar = new QProgressBar(box);
    bar->setAccessibleName(barName);
    box->setBar(bar);
    //: The progress box's button that stops the export; no file is written then.
    auto* cancel = new QPushButton(tr("Cancel", "export"), box);
    cancel->setAccessibleName(tr("Cancel the export"));
    box->setCancelButton(cancel);
    box->setRange(0, rows);
    // The window, and a run, go on while the file is written.
    box->setWindowModality(Qt::NonModal);
    box->setAutoReset(false);
    box->setAutoClose(false);
    box->setMinimumDuration(0);
    box->show();
    return box;
}

void ExportFlow::startTrackWriter(Job& job) {
    job.track = std::make_unique<TrackExport>(session_.keptPoints(), session_.runStart(), job.path);
    job.track->beforeWriting = beforeWriting;
    //: The progress box of a track export; %1 is the file's name.
    job.box->setLabelText(tr("Writing the track to %1").arg(QFileInfo(job.path).fileName()));
    job.box->setRange(0, static_cast<int>(job.track->rowCount()));
    job.track->start(notifyEnd(job));
}

void ExportFlow::showProgress() {
    for (std::size_t i = 0; i < jobs_.size(); ++i) {
        Job& job = *jobs_[i];
        if (!job.box) continue;
        if (job.track && whileExportingTrack) whileExportingTrack(*job.box);
        if (job.box->wasCanceled()) {
            job.cancel();
            // Nothing was started yet: there is no writer to wait for.
            if (!job.picture && !job.track) {
                finish(&job);
                return;
            }
            continue;
        }
        if (!job.picture && !job.track && !session_.replaying()) startTrackWriter(job);
        if (job.track) job.box->setValue(static_cast<int>(job.track->rowsWritten()));
    }
}

std::function<void()> ExportFlow::notifyEnd(const Job& job) {
    const Job* j = &job;
    return [this, j] {
        QMetaObject::invokeMethod(
            this, [this, j] { finish(j); }, Qt::QueuedConnection);
    };
}

void ExportFlow::finish(const Job* job) {
    const auto it = std::find_if(jobs_.begin(), jobs_.end(), [job](const auto& j) { return j.get() == job; });
    if (it == jobs_.end()) return;
    // Out of the list before any box is shown: another export may end meanwhile.
    std::unique_ptr<Job> done = std::move(*it);
    jobs_.erase(it);
    if (jobs_.empty()) progressTimer_->stop();
    if (done->picture) done->picture->wait();
    if (done->track) done->track->wait();
    if (done->box) done->box->hide();
    const QString failure = done->failure();
    guarded(dialogs_, window_, [&] {
        if (!failure.isEmpty())
            dialogs_.showError(window_, GeneralErrorText(failedText(*done, failure)));
        else if (end_ && done->cancelled())
            dialogs_.showMessage(window_, cancelledText(*done));
    });
    done.reset();
    emit exportEnded();
    if (end_ && jobs_.empty()) std::exchange(end_, nullptr)();
}

QString ExportFlow::failedText(const Job& job, const QString& failure) {
    if (job.isPicture)
        //: %1 is the file's path, %2 the reason, often the system's.
        return tr("The picture could not be exported to %1: %2").arg(job.path, failure);
    //: %1 is the file's path, %2 the reason, often the system's.
    return tr("The track could not be exported to %1: %2").arg(job.path, failure);
}

QString ExportFlow::cancelledText(const Job& job) {
    if (job.isPicture)
        //: Shown as the program ends when the user cancelled the export that held it; %1 is the file's path.
        return tr("The export of the picture to %1 was cancelled: the file was not written.").arg(job.path);
    //: Shown as the program ends when the user cancelled the export that held it; %1 is the file's path.
    return tr("The export of the track to %1 was cancelled: the file was not written.").arg(job.path);
}

void ExportFlow::holdWindowWithBox(Job& job) {
    if (!job.box) {
        //: The progress box of a picture export that holds the program's end; %1 is the file's name.
        job.box = progressBox(tr("Export Picture"),
                              tr("Writing the picture to %1").arg(QFileInfo(job.path).fileName()),
                              //: The progress bar's name for a screen reader.
                              0, tr("Picture being written"));
        progressTimer_->start();
    }
    //: Added to an export's progress box when the user ends the program while the file is being written.
    const QString ends = QLatin1Char('\n') + tr("Tulvane ends when it is written.");
    if (!job.box->labelText().endsWith(ends)) job.box->setLabelText(job.box->labelText() + ends);
    // A modality takes effect at the next show.
    job.box->hide();
    job.box->setWindowModality(Qt::WindowModal);
    job.box->show();
    job.box->raise();
}

void ExportFlow::endAfterWrites(std::function<void()> end) {
    if (jobs_.empty()) {
        end();
        return;
    }
    end_ = std::move(end);
    for (const auto& job : jobs_) holdWindowWithBox(*job);
}
