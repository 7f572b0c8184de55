#pragma once

// An advisory lock on an open file, held until the object goes out of scope, so that two copies of the
// program never append to, mark or replace one file at the same time.
//
// The lock is taken on a duplicate of the descriptor: it belongs to the open file itself and lasts until the
// duplicate is closed here, even when the file's own descriptor is closed first (a compaction closes the
// file it reads before it renames the new one over it).
class FileLock {
public:
    // Waits a short while for another copy to finish; throws EInOutError with the locked-file code when the
    // lock stays taken, or the failure's own error. On a file system that keeps no locks it goes on without.
    explicit FileLock(int fd);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    static constexpr int Attempts = 20;
    static constexpr int PauseMs = 50;

private:
    int fd_ = -1;
};
