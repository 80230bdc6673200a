#pragma once
#include <cstddef>
#include <string>

// Writes nSize bytes as a new file strPath and never replaces one that is
// there: the bytes go to a temporary file in the same folder, which is then
// linked under the final name (link(2) fails on an existing name) and
// unlinked. A reader never sees a partial file. False with a reason in
// strError ("File exists" when the name is taken). Durability is left to
// the caller (SyncFolder once after many files, rather than one fsync each).
bool WriteNewFile(const std::string& strPath, const void* pData, std::size_t nSize,
                  std::string& strError);

// Flushes the file system holding strFolder (syncfs) and the folder itself.
bool SyncFolder(const std::string& strFolder, std::string& strError);
