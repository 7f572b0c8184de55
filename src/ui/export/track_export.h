#pragma once

#include <QString>
#include <atomic>
#include <cstddef>
#include <functional>
#include <thread>

#include "core/plot_track.h"
#include "core/t_state.h"

// Writes a run's kept plot points as CSV (the columns of tulvane-trace --orbit) on a thread of its own, from
// a copy of the points, which shares them with the run's track (PlotTrack), so the window stays responsive
// and a run may go on adding points meanwhile. The table ends at the last plot point the copy holds. The
// file appears only when complete: a cancelled or failed export leaves nothing behind and an existing file
// as it was.
class TrackExport {
public:
    TrackExport(PlotTrack points, const TState& start, QString path);
    ~TrackExport();
    TrackExport(const TrackExport&) = delete;
    TrackExport& operator=(const TrackExport&) = delete;

    // finished, when given, is called on the writer's thread once the writer is done.
    void start(std::function<void()> finished = {});
    // Asks the writer to stop; it does so within one row.
    void cancel() { cancelled_ = true; }
    // Returns when the writer has stopped.
    void wait();

    bool finished() const { return finished_; }
    std::size_t rowsWritten() const { return rows_; }
    std::size_t rowCount() const { return points_.size(); }
    bool cancelled() const { return cancelled_; }
    // Whether the file was put in place: false after a failure, or a cancel that came in time.
    bool written() const { return written_; }
    // Empty unless the export failed; only meaningful once finished.
    const QString& failure() const { return failure_; }

    // For tests: runs on the writer's thread before it writes.
    std::function<void()> beforeWriting;

private:
    void write();

    PlotTrack points_;
    TState start_;
    QString path_;
    std::thread writer_;
    std::atomic<std::size_t> rows_{0};
    std::atomic<bool> cancelled_{false};
    std::atomic<bool> finished_{false};
    std::atomic<bool> written_{false};
    QString failure_;
};
