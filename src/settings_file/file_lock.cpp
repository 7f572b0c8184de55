#include "settings_file/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <exception>

#include "settings_file/in_out_error.h"
#include "settings_file/sys_calls.h"

namespace {

int duplicate(int fd) {
    const int dup = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    if (dup < 0) throw EInOutError::fromErrno(errno);
    return dup;
}

}  // namespace

// flock, not fcntl's record locks: those vanish when the process closes any descriptor of the file.
bool FileLock::tryOnce() {
    if (SysCalls::flock(fd_, LOCK_EX | LOCK_NB) == 0) return true;
    const int err = errno;
    // A file system that keeps no locks (some network mounts) leaves the file as unguarded as before,
    // which is better than a file that can no longer be saved to.
    if (err == ENOLCK || err == EOPNOTSUPP || err == ENOSYS) return true;
    if (err != EWOULDBLOCK) fail(err);
    return false;
}

void FileLock::fail(int err) {
    ::close(fd_);
    fd_ = -1;
    throw err == EWOULDBLOCK ? EInOutError(IoCode::Locked) : EInOutError::fromErrno(err);
}

FileLock::FileLock(int fd) : FileLock(fd, nullptr) {}

FileLock::FileLock(int fd, LockWait* wait) : fd_(duplicate(fd)) {
    if (tryOnce()) return;
    if (!wait) {
        for (int attempt = 2;; ++attempt) {
            const timespec pause{0, PauseMs * 1000000L};
            ::nanosleep(&pause, nullptr);
            if (tryOnce()) return;
            if (attempt == Attempts) fail(EWOULDBLOCK);
        }
    }
    // The waiter may run an event loop: no exception may leave tryAgain, so a failure is kept for here.
    std::exception_ptr failure;
    bool taken = false;
    try {
        taken = wait->wait([this, &failure] {
            try {
                return tryOnce();
            } catch (...) {
                failure = std::current_exception();
                return true;
            }
        });
    } catch (...) {
        release();
        throw;
    }
    if (failure) std::rethrow_exception(failure);
    if (!taken) {
        release();
        throw LockWaitCancelled();
    }
}

void FileLock::release() {
    if (fd_ < 0) return;
    ::flock(fd_, LOCK_UN);
    ::close(fd_);
    fd_ = -1;
}

FileLock::~FileLock() {
    release();
}
