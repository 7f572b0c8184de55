#include "settings_file/checked_writes.h"

#include "settings_file/file_changed_error.h"
#include "settings_file/file_identity.h"
#include "settings_file/file_lock.h"
#include "settings_file/in_out_error.h"
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

void rewriteRecordIfUnchanged(TStateFile& file, std::int64_t n, const TState& record, FileIdentity& known) {
    requireOpen(file);
    FileLock lock(file.fd());
    requireUnchanged(file, known);
    file.seek(n);
    file.write(record);
    known = file.identity();
}

void appendRecordIfUnchanged(TStateFile& file, const TState& record, FileIdentity& known) {
    requireOpen(file);
    FileLock lock(file.fd());
    requireUnchanged(file, known);
    file.appendRecord(record);
    known = file.identity();
}
