#pragma once

#include <functional>
#include <stdexcept>

// How a writer waits while another copy of the program holds the lock it needs. The file layer knows no
// windows: the program waits with a box the user can cancel, tests with whatever they script.
class LockWait {
public:
    virtual ~LockWait() = default;
    // Called once the lock was found taken. tryAgain tries once more, without waiting, and never throws; this
    // returns true as soon as a call of it returned true, or false when the user gave up waiting.
    virtual bool wait(const std::function<bool()>& tryAgain) = 0;
};

// The English text; the windows say it in the user's language.
inline constexpr const char* LockWaitCancelledText = "Waiting for another copy of the program was cancelled";

// The user gave up waiting for another copy's lock: nothing was written.
class LockWaitCancelled : public std::runtime_error {
public:
    LockWaitCancelled() : std::runtime_error(LockWaitCancelledText) {}
};

// An advisory lock on an open file, held until the object goes out of scope, so that two copies of the
// program never append to, mark or replace one file at the same time.
//
// The lock is taken on a duplicate of the descriptor: it belongs to the open file itself and lasts until the
// duplicate is closed here, even when the file's own descriptor is closed first (a compaction closes the
// file it reads before it renames the new one over it). A second FileLock on the same open file therefore
// gets the lock at once, and the first to end releases it for both.
class FileLock {
public:
    // Waits a short while for another copy to finish; throws EInOutError with the locked-file code when the
    // lock stays taken, or the failure's own error. On a file system that keeps no locks it goes on without.
    // For callers that cannot ask anyone; a window passes a LockWait instead.
    explicit FileLock(int fd);
    // While another copy holds the lock, wait decides how long to go on trying: LockWaitCancelled is thrown
    // when it gives up, EInOutError for any other failure. With no wait, as above.
    FileLock(int fd, LockWait* wait);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    static constexpr int Attempts = 20;
    static constexpr int PauseMs = 50;

private:
    // One attempt: true when the lock is this copy's (or the file system keeps none), false while another
    // copy holds it; any other failure closes the duplicate and throws.
    bool tryOnce();
    [[noreturn]] void fail(int err);
    void release();

    int fd_ = -1;
};
