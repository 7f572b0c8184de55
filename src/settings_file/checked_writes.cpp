#include "settings_file/checked_writes.h"

#include "settings_file/file_changed_error.h"
#include "settings_file/file_identity.h"
#include "settings_file/file_lock.h"
#include "settings_file/in_out_error.h"
#include "settings_file/safe_rewrite.h"
#include "settings_file/t_state_file.h"

void requireUnchanged(const TStateFile& file, const FileIdentity& known) {
    FileIdentity now;
    try {
        now = FileIdentity::atPath(file.path());
    } catch (const EInOutError& e) {
        // Removed or renamed away: not the file that was shown.
        if (e.code() == IoCode::FileNotFound) throw FileChangedError();
        throw;
    }
    if (!(now == known)) throw FileChangedError();
}

namespace {
void requireOpen(const TStateFile& file) {
    if (!file.isOpen()) throw EInOutError(IoCode::FileNotOpen);
}
}  // namespace

void rewriteRecordIfUnchanged(TStateFile& file, std::int64_t n, const TState& record, FileIdentity& known,
                              LockWait* wait) {
    requireOpen(file);
    FileLock lock(file.fd(), wait);
    requireUnchanged(file, known);
    file.seek(n);
    file.write(record);
    known = file.identity();
}

void appendRecordIfUnchanged(TStateFile& file, const TState& record, FileIdentity& known, LockWait* wait) {
    requireOpen(file);
    FileLock lock(file.fd(), wait);
    requireUnchanged(file, known);
    file.appendRecord(record);
    known = file.identity();
}

void compactIfUnchanged(TStateFile& file, const FileIdentity& known, LockWait* wait) {
    if (!file.isOpen()) {
        compactStateFileIfUnchanged(file, known);  // the error of a closed file
        return;
    }
    // The compaction's own lock, on the same open file, is then taken at once; it is released when the new
    // file has replaced the old one, and this one after it.
    FileLock lock(file.fd(), wait);
    compactStateFileIfUnchanged(file, known);
}
