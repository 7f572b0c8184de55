#pragma once

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <string>

// The lock another copy of the program holds on a file: a lock on an open file of its own, which conflicts
// with this copy's locks even inside one process.
class OtherCopyLock {
public:
    explicit OtherCopyLock(const std::string& path) : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
        locked_ = fd_ >= 0 && ::flock(fd_, LOCK_EX | LOCK_NB) == 0;
    }
    ~OtherCopyLock() {
        if (fd_ >= 0) ::close(fd_);
    }
    OtherCopyLock(const OtherCopyLock&) = delete;
    OtherCopyLock& operator=(const OtherCopyLock&) = delete;
    bool locked() const { return locked_; }

    // Whether anyone holds a lock on the file at path right now.
    static bool heldOn(const std::string& path) {
        OtherCopyLock probe(path);
        return probe.fd_ >= 0 && !probe.locked_;
    }

private:
    int fd_;
    bool locked_ = false;
};
