#pragma once

#include <string>

// Named temporary files beside a file being replaced, for systems that refuse unnamed ones (vfat, many FUSE
// and network mounts). The name says who made it: ".NAME.tulvane-<boot id>-<pid>-XXXXXX.tmp", with the first
// 8 characters of this boot's id and the writer's process id, so that a later copy can tell the litter of a
// killed writer from the file of a live one and remove only the former.
namespace TemporaryFiles {

// The part of a file's name that its temporary files carry: the name, cut short enough that the temporary
// name fits wherever the file's own name fits; the cut falls between two UTF-8 characters.
std::string baseFor(const std::string& path);

// A fresh name for a temporary file of the file named base (no folder), its random part new each call.
std::string nameFor(const std::string& base);

// Creates a new, empty temporary file in folder with O_EXCL and mode 0600; tmpPath receives its path.
// Returns its descriptor, or -1 with errno set and tmpPath empty.
int createFor(const std::string& folder, const std::string& base, std::string& tmpPath);

// Whether name has the exact shape nameFor gives.
bool isTemporaryName(const std::string& name);

// Removes the temporary files in folder left by writers that are gone: made during this boot by a process
// that no longer exists, or older than 7 days whoever made them (a shared network folder may hold another
// host's, whose live copy can have any process id). Returns how many went; never throws.
int removeStale(const std::string& folder);

// The first 8 characters of this boot's id; "00000000" where the system does not say.
const std::string& bootId();

}  // namespace TemporaryFiles
