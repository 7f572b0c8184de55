#include "settings_file/add_record.h"

#include <unistd.h>

#include <cerrno>
#include <string>

#include "core/t_state.h"
#include "settings_file/file_identity.h"
#include "settings_file/file_lock.h"
#include "settings_file/in_out_error.h"
#include "settings_file/sys_calls.h"
#include "settings_file/t_state_file.h"

namespace {

// Opens the file at the path, or creates it when there is none; made is the new file's path, else empty.
void openOrCreate(TStateFile& file, std::string& made) {
    made.clear();
    struct stat st {};
    if (SysCalls::stat(file.path().c_str(), &st) != 0) {
        // Only a missing file may be created: any other failure says nothing about whether one is there.
        if (errno != ENOENT) throw EInOutError::fromErrno(errno, file.path());
        if (file.createNew(&made)) return;
    }
    file.openExisting();
}

// Whether the path still names the open file; a file removed or replaced since it was opened is not it.
bool pathStillNames(const TStateFile& file) {
    struct stat st {};
    if (SysCalls::stat(file.path().c_str(), &st) != 0) {
        if (errno == ENOENT) return false;
        throw EInOutError::fromErrno(errno, file.path());
    }
    return FileIdentity::of(st).sameFile(file.identity());
}

constexpr int MaxReopens = 20;

}  // namespace

void addRecordToFile(TStateFile& file, const TState& record) {
    std::string made;
    try {
        for (int reopen = 0;; ++reopen) {
            openOrCreate(file, made);
            FileLock lock(file.fd());
            if (!pathStillNames(file)) {
                // Another copy replaced or removed the file while this one waited for the lock.
                file.closeQuietly();
                if (reopen == MaxReopens) throw EInOutError(IoCode::Locked);
                continue;
            }
            try {
                file.appendRecord(record);
            } catch (...) {
                // Still under the lock: a new file that nobody else has written to goes again.
                struct stat st {};
                if (!made.empty() && ::fstat(file.fd(), &st) == 0 && st.st_size == 0) ::unlink(made.c_str());
                throw;
            }
            return;
        }
    } catch (...) {
        file.closeQuietly();
        throw;
    }
}
