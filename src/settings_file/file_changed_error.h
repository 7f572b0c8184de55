#pragma once

#include <stdexcept>

// A file kept open for editing was changed or replaced by someone else since this program last saw it, so
// writing to it would undo their change or be lost with the file they replaced. Nothing was written.
class FileChangedError : public std::runtime_error {
public:
    FileChangedError() : std::runtime_error("The file was changed by another program") {}
};
