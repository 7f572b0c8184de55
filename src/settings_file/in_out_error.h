#pragma once

#include <string>

#include "core/app_error.h"

// Codes of file errors: the platform-neutral numbers the user sees.
namespace IoCode {
constexpr int FileNotFound = 2;
constexpr int PathNotFound = 3;
constexpr int TooManyOpenFiles = 4;
constexpr int AccessDenied = 5;
constexpr int ReadBeyondEnd = 100;
constexpr int DiskFull = 101;
constexpr int FileNotOpen = 103;
// Another copy of the program keeps the file locked.
constexpr int Locked = 32;
}  // namespace IoCode

// A file error, kind name "EInOutError".
class EInOutError : public AppError {
public:
    // The text for one of the codes above; any other code reads "I/O error <code>".
    explicit EInOutError(int code);
    // A failure with a text of its own (an errno without a code of the table: "I/O error <errno>").
    EInOutError(int code, const std::string& text);
    int code() const { return code_; }
    // The errno of a failure that has no code of the table (its text is "I/O error <errno>"), else 0: a
    // command-line tool can give the system's own text for it.
    int unmappedErrno() const { return unmappedErrno_; }

    static std::string textForCode(int code);
    // Maps an errno of a failed call to the error the user sees.
    static EInOutError fromErrno(int err);
    // The same for a call on path: a missing file whose folder is missing too is "path not found".
    static EInOutError fromErrno(int err, const std::string& path);

private:
    int code_;
    int unmappedErrno_ = 0;
};
