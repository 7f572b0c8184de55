#pragma once

class TStateFile;
struct FileIdentity;

// Compacts the settings file open in viewed: every whole record whose Action is not exactly 1 is kept, in
// order and byte for byte, and a partial tail is dropped. The kept records go to a temporary file beside the
// real file (a symbolic link is followed): an unnamed file, named only once it is complete (a named one where
// the system offers no unnamed files). It gets the old file's permission bits (and its owner and group
// where the system permits), is synced and renamed over the real file in one step. On any failure the file is
// left exactly as it was, the temporary file is removed and the failure is thrown as EInOutError (code 103
// first when viewed is not open). viewed is closed in every case.
void compactStateFile(TStateFile& viewed);

// The same under the file's lock, when the path still names the file as known describes it; otherwise
// nothing is written and FileChangedError is thrown. viewed is closed in every case.
void compactStateFileIfUnchanged(TStateFile& viewed, const FileIdentity& known);
