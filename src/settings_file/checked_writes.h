#pragma once

#include <cstdint>

class LockWait;
class TStateFile;
struct FileIdentity;
class TState;

// Writes to a file that stays open between the user's actions, as the viewer's file does. Each write holds
// the file's lock and first checks that the path still names the file as known was taken (same file, size and
// modification time); if not, it writes nothing and throws FileChangedError. After a write, known is the file
// as it is now. Other failures throw EInOutError and leave the file open. While another copy holds the lock,
// wait decides how long to go on (see FileLock); when it gives up, LockWaitCancelled is thrown, nothing is
// written and the file stays open.

// Rewrites record n in place; the position is then n + 1.
void rewriteRecordIfUnchanged(TStateFile& file, std::int64_t n, const TState& record, FileIdentity& known,
                              LockWait* wait = nullptr);
// Appends after the last whole record, as TStateFile::appendRecord does.
void appendRecordIfUnchanged(TStateFile& file, const TState& record, FileIdentity& known,
                             LockWait* wait = nullptr);
// compactStateFileIfUnchanged, after waiting for the lock as above; only a cancelled wait leaves the file
// open.
void compactIfUnchanged(TStateFile& file, const FileIdentity& known, LockWait* wait);
// Checks under a lock held by the caller; throws FileChangedError when the file is no longer as known.
void requireUnchanged(const TStateFile& file, const FileIdentity& known);
