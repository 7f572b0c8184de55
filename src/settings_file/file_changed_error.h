#pragma once

#include <stdexcept>

// The English text; the windows say it in the user's language.
inline constexpr const char* FileChangedText = "The file was changed by another program";

// A file kept open for editing was changed or replaced by someone else since this program last saw it, so
// writing to it would undo their change or be lost with the file they replaced. Nothing was written.
class FileChangedError : public std::runtime_error {
public:
    FileChangedError() : std::runtime_error(FileChangedText) {}
};
