#include "settings_file/safe_rewrite.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <random>
#include <string>

#include "settings_file/in_out_error.h"
#include "settings_file/sys_calls.h"
#include "settings_file/t_state_file.h"

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

// The file's name, cut short enough that the temporary name fits wherever the file's own name fits; the cut
// falls between two UTF-8 characters.
std::string baseOf(const std::string& realPath) {
    std::string base = realPath.substr(realPath.find_last_of('/') + 1);
    constexpr std::size_t MaxKept = 100;
    if (base.size() > MaxKept) {
        std::size_t cut = MaxKept;
        while (cut > 0 && (static_cast<unsigned char>(base[cut]) & 0xC0) == 0x80) --cut;
        base.resize(cut);
    }
    return base;
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

// A new file beside the real one: hidden, and never an existing file's name.
int createTemporary(const std::string& folder, const std::string& base, std::string& tmpPath) {
    static std::mt19937 gen{std::random_device{}()};
    static const char alphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::uniform_int_distribution<int> pick(0, sizeof alphabet - 2);
    for (int attempt = 0;; ++attempt) {
        std::string suffix(8, ' ');
        for (char& c : suffix) c = alphabet[pick(gen)];
        tmpPath = folder + "/." + base + "." + suffix + ".tmp";
        const int fd = SysCalls::open(tmpPath.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0) return fd;
        if (errno != EEXIST || attempt == 100) throw EInOutError::fromErrno(errno, tmpPath);
    }
}

void writeRecord(int fd, const TState& record, off_t offset) {
    const ssize_t r = SysCalls::pwrite(fd, record.bytes.data(), record.bytes.size(), offset);
    if (r < 0) throw EInOutError::fromErrno(errno);
    if (r < static_cast<ssize_t>(record.bytes.size())) throw EInOutError(IoCode::DiskFull);
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
        // Opened before anything changes, so that syncing the folder after the rename cannot fail to start.
        Fd dir(SysCalls::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (dir.get() < 0) throw EInOutError::fromErrno(errno, folder);

        tmp.reset(createTemporary(folder, baseOf(real), tmpPath));
        // The owner and group go over where the system allows it (root, or a member of the group), before the
        // mode, which a change of owner may clear.
        if (::fchown(tmp.get(), st.st_uid, st.st_gid) != 0 &&
            ::fchown(tmp.get(), static_cast<uid_t>(-1), st.st_gid) != 0) {
            // Neither is permitted: the copy is the user's own, as any new file of theirs would be.
        }
        if (SysCalls::fchmod(tmp.get(), st.st_mode & 07777) != 0) throw EInOutError::fromErrno(errno);

        TState record;
        off_t written = 0;
        while (!viewed.atEnd()) {
            viewed.read(record);
            if (record.Action() == 1) continue;
            writeRecord(tmp.get(), record, written);
            written += static_cast<off_t>(record.bytes.size());
        }
        viewed.close();

        if (SysCalls::fdatasync(tmp.get()) != 0) throw EInOutError::fromErrno(errno);
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
