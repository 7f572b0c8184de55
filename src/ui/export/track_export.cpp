#include "ui/export/track_export.h"

#include <QFile>
#include <exception>
#include <string>
#include <utility>

#include "core/fp_error.h"
#include "core/track_csv.h"
#include "settings_file/checked_file_writer.h"
#include "ui/common/error_guard.h"

TrackExport::TrackExport(PlotTrack points, const TState& start, QString path)
    : points_(std::move(points)), start_(start), path_(std::move(path)) {}

TrackExport::~TrackExport() {
    cancel();
    wait();
}

void TrackExport::start(std::function<void()> finished) {
    writer_ = std::thread([this, finished = std::move(finished)] {
        if (beforeWriting) beforeWriting();
        write();
        if (finished) finished();
    });
}

void TrackExport::wait() {
    if (writer_.joinable()) writer_.join();
}

void TrackExport::write() {
    // This thread's x87 state is its own: the arithmetic below must be the run's, rounding to nearest.
    clearFpFlags();
    CheckedFileWriter file(QFile::encodeName(path_).toStdString());
    try {
        file.open();
        const TrackCsv csv(start_, true);
        std::string chunk = csv.header() + '\n';
        TState s = start_;
        for (std::size_t i = 0; i < points_.size() && !cancelled_; ++i) {
            points_.restoreInto(i, s);
            const std::int64_t point = points_.plotIndexAt(i);
            chunk += csv.row(point, plotPointDays(point, start_.dT()), s);
            chunk += '\n';
            if (chunk.size() > 1 << 16 || i + 1 == points_.size()) {
                file.write(chunk);
                chunk.clear();
            }
            rows_ = i + 1;
        }
        if (cancelled_) {
            file.cancel();
        } else {
            file.commit();
            written_ = true;
        }
    } catch (const std::exception& e) {
        file.cancel();
        failure_ = ErrorMessageText(e);
    }
    finished_ = true;
}
