#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

// The failure of a checked write: the errno of the call that failed and the system's text for it ("No space
// left on device", "File too large"), never a generic one.
class FileWriteError : public std::runtime_error {
public:
    explicit FileWriteError(int err);
    int err() const { return err_; }

private:
    int err_;
};

// Writes a file that replaces whatever the path names only once it is complete. Every call is checked to its
// end: a write that stops short, a sync or a rename that fails throws FileWriteError, and the old file stays
// as it was. (Qt 6.4's QSaveFile flushes its buffer while committing and ignores a failed flush, so a full
// disk there replaced the target with an empty file and reported success.)
//
// The new content goes to an unnamed file in the target's folder (a symbolic link is followed), named only
// when complete; where the file system refuses unnamed files, to a named one that a later writer removes if
// this process dies before it is done. The new file gets the old one's permission bits.
class CheckedFileWriter {
public:
    explicit CheckedFileWriter(std::string path);
    // Removes whatever was written when commit() has not succeeded.
    ~CheckedFileWriter();
    CheckedFileWriter(const CheckedFileWriter&) = delete;
    CheckedFileWriter& operator=(const CheckedFileWriter&) = delete;

    void open();
    void write(const void* data, std::size_t bytes);
    void write(const std::string& text) { write(text.data(), text.size()); }
    // Syncs the new file and puts it in place of the old one in one step.
    void commit();
    // The same for a file that must not replace one: when the path names a file by then (another copy of
    // the program may have made it a moment ago), the new file is dropped, that one stays, and the result
    // is false.
    bool commitIfAbsent();
    // Drops the new file; the old one stays. Harmless when nothing was opened.
    void cancel();

private:
    [[noreturn]] void fail(int err);
    bool place(bool replace);
    // Where a complete unnamed file cannot be given a name, its bytes go to a named one instead.
    void copyToNamed();

    std::string path_;
    std::string target_;
    std::string folder_;
    std::string tmpPath_;
    int fd_ = -1;
    int dir_ = -1;
    bool unnamed_ = false;
    long long written_ = 0;
};
