#include "settings_file/add_record.h"

#include <unistd.h>

#include <cerrno>
#include <optional>
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

// Removes a new file that this save made, under the lock this save holds, when the path still names it and
// nobody has written to it. Anything less certain is left: another copy may be saving into it right now.
void removeUnwrittenNewFile(const TStateFile& file, const std::string& made) {
    struct stat open {};
    struct stat named {};
    if (SysCalls::fstat(file.fd(), &open) != 0 || SysCalls::stat(made.c_str(), &named) != 0) return;
    if (open.st_dev != named.st_dev || open.st_ino != named.st_ino || open.st_size != 0) return;
    ::unlink(made.c_str());
}

constexpr int MaxReopens = 20;

}  // namespace

void addRecordToFile(TStateFile& file, const TState& record, LockWait* wait) {
    std::string made;
    try {
        for (int reopen = 0;; ++reopen) {
            openOrCreate(file, made);
            std::optional<FileLock> lock;
            try {
                lock.emplace(file.fd(), wait);
                if (!pathStillNames(file)) {
                    // Another copy replaced or removed the file while this one waited for the lock.
                    file.closeQuietly();
                    if (reopen == MaxReopens) throw EInOutError(IoCode::Locked);
                    continue;
                }
                file.appendRecord(record);
            } catch (...) {
                if (lock && !made.empty()) removeUnwrittenNewFile(file, made);
                throw;
            }
            return;
        }
    } catch (...) {
        file.closeQuietly();
        throw;
    }
}
