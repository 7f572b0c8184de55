#pragma once

class TStateFile;

// Compacts the settings file open in viewed: every whole record whose Action is not exactly 1 is kept, in
// order and byte for byte, and a partial tail is dropped. The kept records go to a temporary file beside the
// real file (a symbolic link is followed), which gets the old file's permission bits (and its owner and group
// where the system permits), is synced and renamed over the real file in one step. On any failure the file is
// left exactly as it was, the temporary file is removed and the failure is thrown as EInOutError (code 103
// first when viewed is not open). viewed is closed in every case.
void compactStateFile(TStateFile& viewed);
