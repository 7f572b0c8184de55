#include "settings_file/in_out_error.h"

#include <sys/stat.h>

#include <cerrno>

namespace {

std::string otherText(int code) {
    return "I/O error " + std::to_string(code);
}

// The folder part of a path as open() sees it: "" and names without a slash live in ".".
std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

bool isFolder(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

EInOutError::EInOutError(int code) : AppError("EInOutError", textForCode(code)), code_(code) {}

EInOutError::EInOutError(int code, const std::string& text) : AppError("EInOutError", text), code_(code) {}

std::string EInOutError::textForCode(int code) {
    switch (code) {
        case IoCode::FileNotFound:
            return "The specified file was not found";
        case IoCode::PathNotFound:
            return "Invalid file name - %s";
        case IoCode::TooManyOpenFiles:
            return "Too many open files";
        case IoCode::AccessDenied:
            return "File access denied";
        case IoCode::ReadBeyondEnd:
            return "Read beyond end of file";
        case IoCode::DiskFull:
            return "Disk full";
        default:
            return otherText(code);
    }
}

EInOutError EInOutError::fromErrno(int err) {
    switch (err) {
        case ENOENT:
            return EInOutError(IoCode::FileNotFound);
        case ENOTDIR:
            return EInOutError(IoCode::PathNotFound);
        case EACCES:
        case EPERM:
        case EROFS:
            return EInOutError(IoCode::AccessDenied);
        case EMFILE:
        case ENFILE:
            return EInOutError(IoCode::TooManyOpenFiles);
        case ENOSPC:
        case EFBIG:  // a file-size limit is a full disk to the user
            return EInOutError(IoCode::DiskFull);
        default: {
            // An errno is not one of our codes (EIO is 5, which is not "access denied"): keep its own number.
            EInOutError e(err, otherText(err));
            e.unmappedErrno_ = err;
            return e;
        }
    }
}

EInOutError EInOutError::fromErrno(int err, const std::string& path) {
    if (err == ENOENT && !isFolder(folderOf(path))) return EInOutError(IoCode::PathNotFound);
    return fromErrno(err);
}
