#include "settings_file/checked_file_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "settings_file/sys_calls.h"
#include "settings_file/temporary_files.h"

namespace {

// The file a path names, its links followed, even when it does not exist yet (then its folder's real path).
std::string resolvedTarget(const std::string& path) {
    char buf[PATH_MAX];
    if (::realpath(path.c_str(), buf)) return buf;
    const auto slash = path.find_last_of('/');
    const std::string folder =
        slash == std::string::npos ? std::string(".") : path.substr(0, slash ? slash : 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (!::realpath(folder.c_str(), buf)) throw FileWriteError(errno);
    const std::string real = buf;
    return (real == "/" ? real : real + "/") + name;
}

bool unnamedRefused(int err) {
    return err == EOPNOTSUPP || err == EISDIR || err == EINVAL || err == ENOENT;
}

}  // namespace

FileWriteError::FileWriteError(int err) : std::runtime_error(std::strerror(err)), err_(err) {}

CheckedFileWriter::CheckedFileWriter(std::string path) : path_(std::move(path)) {}

CheckedFileWriter::~CheckedFileWriter() {
    cancel();
}

void CheckedFileWriter::fail(int err) {
    cancel();
    throw FileWriteError(err);
}

void CheckedFileWriter::open() {
    cancel();
    target_ = resolvedTarget(path_);
    folder_ = target_.substr(0, std::max<std::size_t>(target_.find_last_of('/'), 1));
    TemporaryFiles::removeStale(folder_);
    dir_ = SysCalls::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir_ < 0) fail(errno);
    fd_ = SysCalls::open(folder_.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
    unnamed_ = fd_ >= 0;
    if (!unnamed_) {
        if (!unnamedRefused(errno)) fail(errno);
        fd_ = TemporaryFiles::createFor(folder_, TemporaryFiles::baseFor(target_), tmpPath_);
        if (fd_ < 0) fail(errno);
    }
    // The new file keeps the old one's permission bits; a new one gets what the user's umask allows.
    struct stat st {};
    if (SysCalls::stat(target_.c_str(), &st) == 0) {
        if (SysCalls::fchmod(fd_, st.st_mode & 07777) != 0) fail(errno);
    } else if (!unnamed_) {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        if (SysCalls::fchmod(fd_, 0666 & ~mask) != 0) fail(errno);
    }
}

void CheckedFileWriter::write(const void* data, std::size_t bytes) {
    const auto* p = static_cast<const char*>(data);
    while (bytes > 0) {
        const ssize_t r = SysCalls::pwrite(fd_, p, bytes, static_cast<off_t>(written_));
        if (r < 0) fail(errno);
        // A write that takes nothing and names no error is a full disk by another name.
        if (r == 0) fail(ENOSPC);
        p += r;
        bytes -= static_cast<std::size_t>(r);
        written_ += r;
    }
}

void CheckedFileWriter::commit() {
    place(true);
}

bool CheckedFileWriter::commitIfAbsent() {
    return place(false);
}

bool CheckedFileWriter::place(bool replace) {
    if (SysCalls::fdatasync(fd_) != 0) fail(errno);
    if (unnamed_) {
        // Named through /proc: linking the descriptor itself (AT_EMPTY_PATH) needs a capability users lack.
        const std::string proc = "/proc/self/fd/" + std::to_string(fd_);
        for (int attempt = 0; tmpPath_.empty(); ++attempt) {
            const std::string name = TemporaryFiles::nameFor(TemporaryFiles::baseFor(target_));
            if (SysCalls::linkat(AT_FDCWD, proc.c_str(), dir_, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
                tmpPath_ = folder_ + "/" + name;
            else if (unnamedRefused(errno))
                copyToNamed();
            else if (errno != EEXIST || attempt == 100)
                fail(errno);
        }
    }
    const int fd = fd_;
    fd_ = -1;
    if (SysCalls::close(fd) != 0) fail(errno);
    if (replace) {
        if (SysCalls::rename(tmpPath_.c_str(), target_.c_str()) != 0) fail(errno);
    } else if (SysCalls::renameNoReplace(tmpPath_.c_str(), target_.c_str()) != 0) {
        if (errno != EEXIST) fail(errno);
        cancel();
        return false;
    }
    tmpPath_.clear();
    // The new file is complete and in place; a folder that cannot be synced leaves nothing to act on.
    SysCalls::fsync(dir_);
    cancel();
    return true;
}

void CheckedFileWriter::copyToNamed() {
    std::string named;
    const int out = TemporaryFiles::createFor(folder_, TemporaryFiles::baseFor(target_), named);
    if (out < 0) fail(errno);
    const int in = fd_;
    fd_ = out;
    tmpPath_ = named;
    struct stat st {};
    if (SysCalls::fstat(in, &st) != 0 || SysCalls::fchmod(out, st.st_mode & 07777) != 0) {
        const int err = errno;
        SysCalls::close(in);
        fail(err);
    }
    const long long total = written_;
    written_ = 0;
    char buf[1 << 16];
    for (long long at = 0; at < total;) {
        const ssize_t r = SysCalls::pread(in, buf, sizeof buf, static_cast<off_t>(at));
        if (r <= 0) {
            const int err = r < 0 ? errno : EIO;
            SysCalls::close(in);
            fail(err);
        }
        try {
            write(buf, static_cast<std::size_t>(r));
        } catch (...) {
            SysCalls::close(in);
            throw;
        }
        at += r;
    }
    SysCalls::close(in);
    if (SysCalls::fdatasync(fd_) != 0) fail(errno);
}

void CheckedFileWriter::cancel() {
    if (fd_ >= 0) SysCalls::close(fd_);
    fd_ = -1;
    if (!tmpPath_.empty()) ::unlink(tmpPath_.c_str());
    tmpPath_.clear();
    if (dir_ >= 0) SysCalls::close(dir_);
    dir_ = -1;
    written_ = 0;
}
