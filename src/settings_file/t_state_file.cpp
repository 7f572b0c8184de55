#include "settings_file/t_state_file.h"

#include <fcntl.h>
#include <limits.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "settings_file/in_out_error.h"
#include "settings_file/sys_calls.h"

namespace {
constexpr std::int64_t RecordSize = TStateLayout::Size;
}

TStateFile::~TStateFile() {
    if (isOpen()) SysCalls::close(fd_);
}

void TStateFile::assign(const std::string& path) {
    closeQuietly();
    path_ = path;
}

void TStateFile::openExisting() {
    openWith(O_RDWR | O_CLOEXEC);
}

void TStateFile::openForReading() {
    openWith(O_RDONLY | O_CLOEXEC);
}

void TStateFile::create() {
    openWith(O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC);
}

bool TStateFile::createNew(std::string* made) {
    closeQuietly();
    std::string at = path_;
    // O_EXCL refuses any symbolic link, even one whose target is missing: such a link names where the new
    // file goes, as a plain create would have followed it.
    for (int hop = 0;; ++hop) {
        const int fd = SysCalls::open(at.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            fd_ = fd;
            pos_ = 0;
            if (made) *made = at;
            return true;
        }
        if (errno != EEXIST) throw EInOutError::fromErrno(errno, at);
        char target[PATH_MAX];
        const ssize_t n = ::readlink(at.c_str(), target, sizeof target - 1);
        if (n < 0) return false;
        if (hop == 40) throw EInOutError::fromErrno(ELOOP);
        target[n] = '\0';
        const auto slash = at.find_last_of('/');
        at = target[0] == '/' || slash == std::string::npos ? std::string(target)
                                                            : at.substr(0, slash + 1) + target;
    }
}

void TStateFile::openWith(int flags) {
    closeQuietly();
    const int fd = SysCalls::open(path_.c_str(), flags, 0666);
    if (fd < 0) throw EInOutError::fromErrno(errno, path_);
    fd_ = fd;
    pos_ = 0;
}

std::int64_t TStateFile::byteLength() const {
    requireOpen();
    struct stat st {};
    if (SysCalls::fstat(fd_, &st) != 0) throw EInOutError::fromErrno(errno);
    return st.st_size;
}

FileIdentity TStateFile::identity() const {
    requireOpen();
    return FileIdentity::ofOpenFile(fd_);
}

std::int64_t TStateFile::size() const {
    return byteLength() / RecordSize;
}

std::int64_t TStateFile::position() const {
    requireOpen();
    return pos_ / RecordSize;
}

bool TStateFile::atEnd() const {
    return position() >= size();
}

void TStateFile::seek(std::int64_t n) {
    requireOpen();
    if (n < 0) throw EInOutError::fromErrno(EINVAL);
    pos_ = n * RecordSize;
}

void TStateFile::read(TState& record) {
    requireOpen();
    TState in;
    std::size_t got = 0;
    while (got < in.bytes.size()) {
        const ssize_t r = SysCalls::pread(fd_, in.bytes.data() + got, in.bytes.size() - got, pos_ + got);
        if (r < 0) throw EInOutError::fromErrno(errno);
        if (r == 0) throw EInOutError(IoCode::ReadBeyondEnd);
        got += static_cast<std::size_t>(r);
    }
    record = in;
    pos_ += RecordSize;
}

void TStateFile::write(const TState& record) {
    requireOpen();
    writeAt(record, pos_);
    pos_ += RecordSize;
}

void TStateFile::writeAt(const TState& record, std::int64_t offset) {
    const ssize_t r = SysCalls::pwrite(fd_, record.bytes.data(), record.bytes.size(), offset);
    if (r < 0) throw EInOutError::fromErrno(errno);
    if (r < RecordSize) throw EInOutError(IoCode::DiskFull);
}

void TStateFile::appendRecord(const TState& record) {
    const std::int64_t former = byteLength();
    const std::int64_t at = former / RecordSize * RecordSize;
    // The partial tail is overwritten; keep its bytes so that a failed write can put them back.
    std::vector<std::uint8_t> tail(static_cast<std::size_t>(former - at));
    if (!tail.empty()) {
        const ssize_t r = SysCalls::pread(fd_, tail.data(), tail.size(), at);
        if (r < 0) throw EInOutError::fromErrno(errno);
        tail.resize(static_cast<std::size_t>(r));
    }
    try {
        writeAt(record, at);
    } catch (...) {
        if (SysCalls::ftruncate(fd_, former) == 0 && !tail.empty())
            SysCalls::pwrite(fd_, tail.data(), tail.size(), at);
        throw;
    }
    pos_ = at + RecordSize;
}

void TStateFile::close() {
    requireOpen();
    const int fd = fd_;
    fd_ = -1;
    if (SysCalls::close(fd) != 0) throw EInOutError::fromErrno(errno);
}

void TStateFile::closeQuietly() noexcept {
    if (!isOpen()) return;
    SysCalls::close(fd_);
    fd_ = -1;
}

void TStateFile::requireOpen() const {
    if (!isOpen()) throw EInOutError(IoCode::FileNotOpen);
}
