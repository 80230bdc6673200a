#pragma once
#include <cstddef>
#include <string>
#include <vector>

// Writes nSize bytes to strPath so that the file holds either everything or
// what it held before: the bytes go to a temporary file in the same folder,
// are flushed to disk, the temporary file is renamed over the target only
// when all of it was written, and the folder is flushed after the rename.
// An existing target keeps its permission bits; a symbolic link is
// followed, so the file it names is replaced. A target that exists and is
// not a regular file (a device, a FIFO) is written in place, since it
// cannot be replaced by a file.
// Returns false with a short reason ("No space left on device", "Is a
// directory") in strError; no temporary file is left behind.
bool WriteWholeFile(const std::string& strPath, const void* pData, std::size_t nSize,
                    std::string& strError);

// Writes nSize bytes as a new file strPath and never replaces one that is
// there ("File exists"). A reader never sees a partial file. Hard links are
// not needed, so FAT sticks and network shares take it too. Durability is
// left to the caller: SyncFolder once after many files costs far less than
// an fsync for each.
bool WriteNewFile(const std::string& strPath, const void* pData, std::size_t nSize,
                  std::string& strError);

struct SFileBytes {
    std::string strPath;
    std::vector<unsigned char> bytes;
};

// Every file or none, as WriteWholeFile writes one: all are written to
// temporary files first and renamed over their targets only when every one
// was written. strFailedPath names the file that could not be written.
bool WriteWholeFiles(const std::vector<SFileBytes>& files, std::string& strFailedPath,
                     std::string& strError);

// Every file or none, each as a new file: file i takes the first free name
// of NumberedPath(strPath, n), n counting on from the number file i - 1
// took (file 0 from 1), so nothing that is there is ever replaced. The
// names taken go to paths; on a failure the files already placed are
// removed again. The folder is flushed at the end.
bool WriteNewNumberedFiles(const std::string& strPath,
                           const std::vector<std::vector<unsigned char>>& files,
                           std::vector<std::string>& paths, std::string& strFailedPath,
                           std::string& strError);

// Flushes the file system holding strFolder (syncfs) and the folder itself.
bool SyncFolder(const std::string& strFolder, std::string& strError);
