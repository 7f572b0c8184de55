#include "settings_file/file_identity.h"

#include <cerrno>

#include "settings_file/in_out_error.h"
#include "settings_file/sys_calls.h"

FileIdentity FileIdentity::of(const struct stat& st) {
    FileIdentity id;
    id.device = st.st_dev;
    id.inode = st.st_ino;
    id.size = st.st_size;
    id.modified = st.st_mtim;
    return id;
}

FileIdentity FileIdentity::ofOpenFile(int fd) {
    struct stat st {};
    if (SysCalls::fstat(fd, &st) != 0) throw EInOutError::fromErrno(errno);
    return of(st);
}

FileIdentity FileIdentity::atPath(const std::string& path) {
    struct stat st {};
    if (SysCalls::stat(path.c_str(), &st) != 0) throw EInOutError::fromErrno(errno, path);
    return of(st);
}
