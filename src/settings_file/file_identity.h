#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <string>

// What tells one state of a file from another: which file it is (device and inode) and, for a file that may
// have been written since, its size and modification time.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};

    static FileIdentity of(const struct stat& st);
    // Of the file open on fd, or of the file a path names now (a symbolic link is followed). Both throw
    // EInOutError.
    static FileIdentity ofOpenFile(int fd);
    static FileIdentity atPath(const std::string& path);

    bool sameFile(const FileIdentity& other) const { return device == other.device && inode == other.inode; }
    bool operator==(const FileIdentity& other) const {
        return sameFile(other) && size == other.size && modified.tv_sec == other.modified.tv_sec &&
               modified.tv_nsec == other.modified.tv_nsec;
    }
};
