#include "settings_file/sys_calls.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace SysCalls {

std::function<Outcome(Call)> hook;

namespace {

Outcome ask(Call call) {
    return hook ? hook(call) : Outcome{};
}

template <class F>
auto retry(F f) {
    decltype(f()) r;
    do r = f();
    while (r < 0 && errno == EINTR);
    return r;
}

// Runs f unless the hook fails the call.
template <class F>
auto run(Call call, F f) -> decltype(f()) {
    const Outcome o = ask(call);
    if (o.err != 0) {
        errno = o.err;
        return -1;
    }
    return retry(f);
}

}  // namespace

int open(const char* path, int flags, mode_t mode) {
    return run(Call::Open, [&] { return ::open(path, flags, mode); });
}

ssize_t pread(int fd, void* buf, size_t n, off_t offset) {
    return run(Call::Read, [&] { return ::pread(fd, buf, n, offset); });
}

ssize_t pwrite(int fd, const void* buf, size_t n, off_t offset) {
    const Outcome o = ask(Call::Write);
    if (o.err != 0) {
        errno = o.err;
        return -1;
    }
    if (o.shortWrite >= 0 && static_cast<size_t>(o.shortWrite) < n) n = static_cast<size_t>(o.shortWrite);
    return retry([&] { return ::pwrite(fd, buf, n, offset); });
}

int fstat(int fd, struct stat* st) {
    return run(Call::Stat, [&] { return ::fstat(fd, st); });
}

int stat(const char* path, struct stat* st) {
    return run(Call::StatPath, [&] { return ::stat(path, st); });
}

int ftruncate(int fd, off_t length) {
    return run(Call::Truncate, [&] { return ::ftruncate(fd, length); });
}

int fdatasync(int fd) {
    return run(Call::DataSync, [&] { return ::fdatasync(fd); });
}

int fsync(int fd) {
    return run(Call::Sync, [&] { return ::fsync(fd); });
}

int fchmod(int fd, mode_t mode) {
    return run(Call::Chmod, [&] { return ::fchmod(fd, mode); });
}

int rename(const char* from, const char* to) {
    return run(Call::Rename, [&] { return std::rename(from, to); });
}

int renameNoReplace(const char* from, const char* to) {
    return run(Call::Rename, [&] {
        const int r = ::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE);
        if (r == 0 || errno != EINVAL) return r;
        if (::link(from, to) != 0) return -1;
        ::unlink(from);
        return 0;
    });
}

int flock(int fd, int operation) {
    return run(Call::Lock, [&] { return ::flock(fd, operation); });
}

int linkat(int fromDir, const char* from, int toDir, const char* to, int flags) {
    return run(Call::Link, [&] { return ::linkat(fromDir, from, toDir, to, flags); });
}

int close(int fd) {
    const Outcome o = ask(Call::Close);
    // Linux releases the descriptor whatever close reports, and a retry could close another file's
    // descriptor.
    const int r = ::close(fd);
    if (o.err != 0) {
        errno = o.err;
        return -1;
    }
    return r;
}

}  // namespace SysCalls
