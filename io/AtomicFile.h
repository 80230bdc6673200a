#pragma once
#include <cstddef>
#include <string>

// Writes nSize bytes to strPath so that the file holds either everything or
// what it held before: the bytes go to a temporary file in the same folder,
// are flushed to disk, and the temporary file is renamed over the target
// only when all of it was written. An existing target keeps its permission
// bits; a symbolic link is followed, so the file it names is replaced.
// A target that exists and is not a regular file (a device, a FIFO) is
// written in place, since it cannot be replaced by a file.
// Returns false with a short reason ("No space left on device", "Is a
// directory") in strError; no temporary file is left behind.
bool WriteWholeFile(const std::string& strPath, const void* pData, std::size_t nSize,
                    std::string& strError);

// Writes nSize bytes as a new file strPath and never replaces one that is
// there: the temporary file is linked under the final name (link(2) fails on
// a taken name, "File exists") and then removed. A reader never sees a
// partial file. Durability is left to the caller: SyncFolder once after many
// files costs far less than an fsync for each.
bool WriteNewFile(const std::string& strPath, const void* pData, std::size_t nSize,
                  std::string& strError);

// Flushes the file system holding strFolder (syncfs) and the folder itself.
bool SyncFolder(const std::string& strFolder, std::string& strError);
