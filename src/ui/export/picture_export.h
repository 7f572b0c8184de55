#pragma once

#include <QImage>
#include <QString>
#include <atomic>
#include <functional>
#include <thread>

// Encodes a picture as PNG and writes it on a thread of its own, so that a large picture never freezes the
// window. The file appears only when complete (savePicturePng).
class PictureExport {
public:
    PictureExport(QImage picture, QString path);
    ~PictureExport();
    PictureExport(const PictureExport&) = delete;
    PictureExport& operator=(const PictureExport&) = delete;

    // finished, when given, is called on the writer's thread once the writer is done.
    void start(std::function<void()> finished = {});
    // Asks the writer to stop: a file not yet complete is not written.
    void cancel() { cancelled_ = true; }
    // Returns when the writer has stopped.
    void wait();

    bool finished() const { return finished_; }
    bool cancelled() const { return cancelled_; }
    // Whether the file was put in place: false after a failure, or a cancel that came in time.
    bool written() const { return written_; }
    // Empty unless the export failed; only meaningful once finished.
    const QString& failure() const { return failure_; }

    // For tests: runs on the writer's thread before it encodes.
    std::function<void()> beforeWriting;

private:
    QImage picture_;
    QString path_;
    std::thread writer_;
    std::atomic<bool> cancelled_{false};
    std::atomic<bool> finished_{false};
    std::atomic<bool> written_{false};
    QString failure_;
};
