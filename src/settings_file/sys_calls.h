#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <functional>

// The system calls of the settings-file code, in one place so that tests can make any one of them fail the
// way a full disk or a failing device would.
namespace SysCalls {

// Stat is fstat of an open file, StatPath stat of a path (following links).
enum class Call {
    Open,
    Read,
    Write,
    Stat,
    Truncate,
    DataSync,
    Sync,
    Chmod,
    Rename,
    Close,
    StatPath,
    Lock,
    Link
};

// A test hook's decision for one call: run it (the default), fail it with errno err without running it, or,
// for Write only, write just the first shortWrite bytes and return that count.
struct Outcome {
    int err = 0;
    ssize_t shortWrite = -1;
};

// Empty in the program; tests set it and must clear it again.
extern std::function<Outcome(Call)> hook;

// Each returns what the system call returns and sets errno the same way; EINTR is retried.
int open(const char* path, int flags, mode_t mode = 0);
ssize_t pread(int fd, void* buf, size_t n, off_t offset);
ssize_t pwrite(int fd, const void* buf, size_t n, off_t offset);
int fstat(int fd, struct stat* st);
int stat(const char* path, struct stat* st);
int ftruncate(int fd, off_t length);
int fdatasync(int fd);
int fsync(int fd);
int fchmod(int fd, mode_t mode);
int rename(const char* from, const char* to);
// rename that never replaces: fails with EEXIST when to exists. Where the file system has no such rename, a
// hard link and the removal of from do the same.
int renameNoReplace(const char* from, const char* to);
int flock(int fd, int operation);
int linkat(int fromDir, const char* from, int toDir, const char* to, int flags);
// The descriptor is released even when the close reports a failure.
int close(int fd);

}  // namespace SysCalls
