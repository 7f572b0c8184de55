#pragma once

#include <QString>
#include <atomic>
#include <cstddef>
#include <thread>

#include "core/plot_track.h"
#include "core/t_state.h"

// Writes a run's kept plot points as CSV (the columns of tulvane-trace --orbit) on a thread of its own, from
// a copy of the points, so the window stays responsive and a run may go on adding points meanwhile. The
// file appears only when complete: a cancelled or failed export leaves nothing behind and an existing file
// as it was.
class TrackExport {
public:
    TrackExport(PlotTrack points, const TState& start, QString path);
    ~TrackExport();
    TrackExport(const TrackExport&) = delete;
    TrackExport& operator=(const TrackExport&) = delete;

    void start();
    // Asks the writer to stop; it does so within one row.
    void cancel() { cancelled_ = true; }
    // Returns when the writer has stopped.
    void wait();

    bool finished() const { return finished_; }
    std::size_t rowsWritten() const { return rows_; }
    std::size_t rowCount() const { return points_.size(); }
    bool cancelled() const { return cancelled_; }
    // Empty unless the export failed; only meaningful once finished.
    const QString& failure() const { return failure_; }

private:
    void write();

    PlotTrack points_;
    TState start_;
    QString path_;
    std::thread writer_;
    std::atomic<std::size_t> rows_{0};
    std::atomic<bool> cancelled_{false};
    std::atomic<bool> finished_{false};
    QString failure_;
};
