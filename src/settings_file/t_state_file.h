#pragma once

#include <cstdint>
#include <string>

#include "core/t_state.h"
#include "settings_file/file_identity.h"

// A file of 293-byte TState records bound to a path, with the current position in whole records.
// Every failing operation throws EInOutError.
class TStateFile {
public:
    TStateFile() = default;
    ~TStateFile();  // closes quietly
    TStateFile(const TStateFile&) = delete;
    TStateFile& operator=(const TStateFile&) = delete;

    void assign(const std::string& path);  // binds the path; the file is closed
    void openExisting();                   // read and write, position 0
    void openForReading();                 // read only (a file that may not be written), position 0
    void create();                         // creates or truncates to 0 bytes, read and write, position 0
    // Creates the file only when nothing exists at the path, read and write, position 0. A dangling symbolic
    // link gets its target created. Returns false, leaving the file closed, when a file is there already;
    // made then holds the path of the new file.
    bool createNew(std::string* made = nullptr);
    std::int64_t size() const;      // whole records
    std::int64_t position() const;  // current byte offset div 293
    bool atEnd() const;             // position >= size
    void seek(std::int64_t n);      // to byte 293 * n
    void read(TState& record);
    void write(const TState& record);
    void close();
    void closeQuietly() noexcept;  // closes when open, ignoring any failure

    bool isOpen() const { return fd_ >= 0; }
    const std::string& path() const { return path_; }
    int fd() const { return fd_; }
    FileIdentity identity() const;  // of the open file

    // Appends one record after the last whole record, over any partial tail. A write that fails part-way
    // truncates the file back to its former length and puts the tail's bytes back, so no torn record is left.
    void appendRecord(const TState& record);

private:
    void openWith(int flags);
    void requireOpen() const;
    std::int64_t byteLength() const;
    void writeAt(const TState& record, std::int64_t offset);

    std::string path_;
    int fd_ = -1;
    std::int64_t pos_ = 0;  // byte offset
};
