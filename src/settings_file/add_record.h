#pragma once

class TStateFile;
struct TState;

// Saves one record into the file at file.path(): appended after the last whole record of an existing file,
// or as the only record of a new one. A file is created only where none exists, so nothing that exists is
// ever emptied; a file that appears meanwhile is appended to. The write happens under the file's lock, on the
// file the path names once the lock is held (another copy may have replaced it while this one waited). On
// failure nothing is left behind: no torn record, and no new file whose first write failed; the file is
// closed and the failure thrown as EInOutError. On success the file stays open for the caller to close.
void addRecordToFile(TStateFile& file, const TState& record);
