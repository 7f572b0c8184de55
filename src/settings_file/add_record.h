#pragma once

class LockWait;
class TStateFile;
class TState;

// Saves one record into the file at file.path(): appended after the last whole record of an existing file,
// or as the only record of a new one. A file is created only where none exists, so nothing that exists is
// ever emptied; a file that appears meanwhile is appended to. The write happens under the file's lock, on the
// file the path names once the lock is held (another copy may have replaced it while this one waited); while
// another copy holds the lock, wait decides how long to go on (see FileLock). On failure nothing is left
// behind: no torn record, and no new file left empty, as long as this save made it, holds its lock and the
// path still names it (otherwise another copy may be saving into it); the file is closed and the failure
// thrown as EInOutError, or LockWaitCancelled when the wait was given up. On success the file stays open for
// the caller to close.
void addRecordToFile(TStateFile& file, const TState& record, LockWait* wait = nullptr);
