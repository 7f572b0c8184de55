#include "settings_file/safe_rewrite.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>

#include "settings_file/checked_writes.h"
#include "settings_file/file_lock.h"
#include "settings_file/in_out_error.h"
#include "settings_file/sys_calls.h"
#include "settings_file/t_state_file.h"
#include "settings_file/temporary_files.h"

namespace {

std::string realPathOf(const std::string& path) {
    char buf[PATH_MAX];
    if (!::realpath(path.c_str(), buf)) throw EInOutError::fromErrno(errno, path);
    return buf;
}

std::string folderOf(const std::string& realPath) {
    const auto slash = realPath.find_last_of('/');
    return slash == 0 ? std::string("/") : realPath.substr(0, slash);
}

// Closes a descriptor when the scope ends, quietly.
class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd() { reset(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    void reset(int fd = -1) {
        if (fd_ >= 0) SysCalls::close(fd_);
        fd_ = fd;
    }
    int release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

private:
    int fd_;
};

constexpr int NameAttempts = 100;

int createNamed(const std::string& folder, const std::string& base, std::string& tmpPath) {
    const int fd = TemporaryFiles::createFor(folder, base, tmpPath);
    if (fd < 0) throw EInOutError::fromErrno(errno, folder);
    return fd;
}

// Where the system or the file system has no unnamed files, or cannot name one, a named file does the work.
bool unnamedRefused(int err) {
    return err == EOPNOTSUPP || err == EISDIR || err == EINVAL || err == ENOENT;
}

// Gives the complete unnamed file a hidden name in the folder. Through /proc, since linking the descriptor
// itself (AT_EMPTY_PATH) needs a capability that ordinary users lack. False when the link is refused.
bool nameUnnamed(int fd, int dir, const std::string& folder, const std::string& base, std::string& tmpPath) {
    const std::string proc = "/proc/self/fd/" + std::to_string(fd);
    for (int attempt = 0;; ++attempt) {
        const std::string name = TemporaryFiles::nameFor(base);
        if (SysCalls::linkat(AT_FDCWD, proc.c_str(), dir, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            // NOLINTNEXTLINE(performance-inefficient-string-concatenation): once, on the way out of the loop.
            tmpPath = folder + "/" + name;
            return true;
        }
        if (errno == EEXIST && attempt < NameAttempts) continue;
        if (unnamedRefused(errno)) return false;
        throw EInOutError::fromErrno(errno, folder);
    }
}

void writeRecord(int fd, const TState& record, off_t offset) {
    const ssize_t r = SysCalls::pwrite(fd, record.bytes.data(), record.bytes.size(), offset);
    if (r < 0) throw EInOutError::fromErrno(errno);
    if (r < static_cast<ssize_t>(record.bytes.size())) throw EInOutError(IoCode::DiskFull);
}

// Gives the copy the old file's owner and group where the system allows it (root, or a member of the group),
// and its permission bits after that, since a change of owner may clear them.
void takeOwnerAndMode(int fd, const struct stat& st) {
    if (::fchown(fd, st.st_uid, st.st_gid) != 0 && ::fchown(fd, static_cast<uid_t>(-1), st.st_gid) != 0) {
        // Neither is permitted: the copy is the user's own, as any new file of theirs would be.
    }
    if (SysCalls::fchmod(fd, st.st_mode & 07777) != 0) throw EInOutError::fromErrno(errno);
}

// Writes every whole record of viewed whose Action is not exactly 1 to fd, from its start, and syncs it.
void copyKept(TStateFile& viewed, int fd) {
    viewed.seek(0);
    TState record;
    off_t written = 0;
    while (!viewed.atEnd()) {
        viewed.read(record);
        if (record.Action() == 1) continue;
        writeRecord(fd, record, written);
        written += static_cast<off_t>(record.bytes.size());
    }
    if (SysCalls::fdatasync(fd) != 0) throw EInOutError::fromErrno(errno);
}

}  // namespace

void compactStateFile(TStateFile& viewed) {
    std::string tmpPath;
    Fd tmp;
    try {
        viewed.seek(0);
        struct stat st {};
        if (SysCalls::fstat(viewed.fd(), &st) != 0) throw EInOutError::fromErrno(errno);
        const std::string real = realPathOf(viewed.path());
        const std::string folder = folderOf(real);
        const std::string base = TemporaryFiles::baseFor(real);
        TemporaryFiles::removeStale(folder);
        // Opened before anything changes, so that syncing the folder after the rename cannot fail to start.
        Fd dir(SysCalls::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (dir.get() < 0) throw EInOutError::fromErrno(errno, folder);

        // The copy has no name until it is complete, so a compaction killed part-way leaves nothing behind.
        tmp.reset(SysCalls::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600));
        const bool unnamed = tmp.get() >= 0;
        if (!unnamed) {
            if (!unnamedRefused(errno)) throw EInOutError::fromErrno(errno, folder);
            tmp.reset(createNamed(folder, base, tmpPath));
        }
        takeOwnerAndMode(tmp.get(), st);
        copyKept(viewed, tmp.get());
        if (unnamed && !nameUnnamed(tmp.get(), dir.get(), folder, base, tmpPath)) {
            tmp.reset(createNamed(folder, base, tmpPath));
            takeOwnerAndMode(tmp.get(), st);
            copyKept(viewed, tmp.get());
        }
        viewed.close();

        if (SysCalls::close(tmp.release()) != 0) throw EInOutError::fromErrno(errno);
        if (SysCalls::rename(tmpPath.c_str(), real.c_str()) != 0) throw EInOutError::fromErrno(errno, real);
        tmpPath.clear();
        // The new file is in place and complete; a folder that cannot be synced (some file systems refuse)
        // leaves nothing for the user to act on.
        SysCalls::fsync(dir.get());
    } catch (...) {
        tmp.reset();
        if (!tmpPath.empty()) ::unlink(tmpPath.c_str());
        viewed.closeQuietly();
        throw;
    }
}

void compactStateFileIfUnchanged(TStateFile& viewed, const FileIdentity& known) {
    if (!viewed.isOpen()) {
        compactStateFile(viewed);  // the error of a closed file
        return;
    }
    try {
        // Held until the new file has replaced the old one: a copy waiting to append then finds the new file.
        FileLock lock(viewed.fd());
        requireUnchanged(viewed, known);
        compactStateFile(viewed);
    } catch (...) {
        viewed.closeQuietly();
        throw;
    }
}
