#include "settings_file/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

#include "settings_file/in_out_error.h"
#include "settings_file/sys_calls.h"

// flock, not fcntl's record locks: those vanish when the process closes any descriptor of the file.
FileLock::FileLock(int fd) {
    fd_ = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    if (fd_ < 0) throw EInOutError::fromErrno(errno);
    for (int attempt = 1;; ++attempt) {
        if (SysCalls::flock(fd_, LOCK_EX | LOCK_NB) == 0) return;
        const int err = errno;
        // A file system that keeps no locks (some network mounts) leaves the file as unguarded as before,
        // which is better than a file that can no longer be saved to.
        if (err == ENOLCK || err == EOPNOTSUPP || err == ENOSYS) return;
        if (err != EWOULDBLOCK || attempt == Attempts) {
            ::close(fd_);
            throw err == EWOULDBLOCK ? EInOutError(IoCode::Locked) : EInOutError::fromErrno(err);
        }
        const timespec pause{0, PauseMs * 1000000L};
        ::nanosleep(&pause, nullptr);
    }
}

FileLock::~FileLock() {
    ::flock(fd_, LOCK_UN);
    ::close(fd_);
}
