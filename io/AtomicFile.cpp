#include "io/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <utility>

#include "io/NumberedPath.h"

namespace {

std::string Reason(int nErrno) { return std::strerror(nErrno ? nErrno : EIO); }

// Errno of the first failing step, 0 when every byte reached the file.
int WriteAll(int fd, const unsigned char* p, std::size_t n) {
    while (n > 0) {
        const ssize_t nDone = ::write(fd, p, n);
        if (nDone < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (nDone == 0) return EIO;
        p += nDone;
        n -= static_cast<std::size_t>(nDone);
    }
    return 0;
}

std::string FolderOf(const std::string& strPath) {
    const std::size_t nSlash = strPath.find_last_of('/');
    if (nSlash == std::string::npos) return ".";
    return nSlash == 0 ? "/" : strPath.substr(0, nSlash);
}

// The file a symbolic link names, so that the link itself survives.
std::string ResolveLink(const std::string& strPath) {
    struct stat st {};
    if (::lstat(strPath.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return strPath;
    char* pReal = ::realpath(strPath.c_str(), nullptr);
    if (!pReal) return strPath;  // a dangling link is replaced like a missing file
    std::string strReal(pReal);
    std::free(pReal);
    return strReal;
}

// Created with mode 0666 so the umask applies as it would to a new file.
int CreateTemporary(const std::string& strTarget, std::string& strTemp) {
    const std::string strFolder = FolderOf(strTarget);
    const std::string strName = strTarget.substr(strTarget.find_last_of('/') + 1);
    // Seeded once: an import writes hundreds of thousands of files.
    thread_local std::mt19937 random{std::random_device{}()};
    for (int nTry = 0; nTry < 100; ++nTry) {
        strTemp = strFolder + "/." + strName + "." + std::to_string(random() % 1000000) + ".tmp";
        const int fd = ::open(strTemp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

int WriteInPlace(const std::string& strPath, const void* pData, std::size_t nSize) {
    const int fd = ::open(strPath.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return errno;
    int nError = WriteAll(fd, static_cast<const unsigned char*>(pData), nSize);
    if (::close(fd) != 0 && !nError) nError = errno;
    return nError;
}

// A rename is durable only once the folder that records it is on disk.
// File systems that cannot sync a folder (EINVAL) have nothing to lose.
int SyncFolderOf(const std::string& strPath) {
    const int fd = ::open(FolderOf(strPath).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return errno;
    int nError = ::fsync(fd) == 0 || errno == EINVAL ? 0 : errno;
    ::close(fd);
    return nError;
}

// A temporary file beside its target, removed again unless it was placed.
class CStagedFile {
public:
    CStagedFile() = default;
    CStagedFile(const CStagedFile&) = delete;
    CStagedFile& operator=(const CStagedFile&) = delete;
    ~CStagedFile() {
        if (!m_strTemp.empty()) ::unlink(m_strTemp.c_str());
    }

    // Errno of the first failing step; pOld: the target being replaced,
    // whose permission bits the file takes.
    int Write(const std::string& strTarget, const void* pData, std::size_t nSize, bool bSync,
              const struct stat* pOld) {
        const int fd = CreateTemporary(strTarget, m_strTemp);
        if (fd < 0) {
            m_strTemp.clear();
            return errno;
        }
        int nError = WriteAll(fd, static_cast<const unsigned char*>(pData), nSize);
        if (!nError && pOld && ::fchmod(fd, pOld->st_mode & 07777) != 0) nError = errno;
        // Without fsync a crash after the rename can leave an empty file behind.
        if (!nError && bSync && ::fsync(fd) != 0) nError = errno;
        if (::close(fd) != 0 && !nError) nError = errno;
        return nError;
    }

    int Replace(const std::string& strTarget) {
        if (::rename(m_strTemp.c_str(), strTarget.c_str()) != 0) return errno;
        m_strTemp.clear();
        return 0;
    }

    // EEXIST when the name is taken. Where the file system has no
    // RENAME_NOREPLACE, the name is claimed with O_EXCL and the temporary
    // file renamed over the empty claim: never a link(2), which FAT and
    // many network shares refuse.
    int PlaceNew(const std::string& strPath) {
        if (::renameat2(AT_FDCWD, m_strTemp.c_str(), AT_FDCWD, strPath.c_str(), RENAME_NOREPLACE) ==
            0) {
            m_strTemp.clear();
            return 0;
        }
        if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return errno;
        const int fd = ::open(strPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) return errno;
        ::close(fd);
        if (::rename(m_strTemp.c_str(), strPath.c_str()) != 0) {
            const int nError = errno;
            ::unlink(strPath.c_str());
            return nError;
        }
        m_strTemp.clear();
        return 0;
    }

private:
    std::string m_strTemp;
};

struct SWrite {
    const std::string& strPath;
    const void* pData;
    std::size_t nSize;
};

// Where a file that is replaced really goes, and how: staged beside it, or
// (not a regular file) written in place when the others are done.
struct SReplaceTarget {
    std::string strTarget;
    bool bInPlace = false;
};

int Stage(const SWrite& w, SReplaceTarget& target, CStagedFile& staged) {
    target.strTarget = ResolveLink(w.strPath);
    struct stat st {};
    const bool bExists = ::stat(target.strTarget.c_str(), &st) == 0;
    if (bExists && S_ISDIR(st.st_mode)) return EISDIR;
    target.bInPlace = bExists && !S_ISREG(st.st_mode);
    if (target.bInPlace) return 0;
    return staged.Write(target.strTarget, w.pData, w.nSize, true, bExists ? &st : nullptr);
}

bool WriteReplacing(const std::vector<SWrite>& writes, std::string& strFailedPath,
                    std::string& strError) {
    strFailedPath.clear();
    strError.clear();
    std::vector<SReplaceTarget> targets(writes.size());
    std::vector<CStagedFile> staged(writes.size());
    int nError = 0;
    std::size_t i = 0;
    for (; i < writes.size() && !nError; ++i) nError = Stage(writes[i], targets[i], staged[i]);
    if (!nError) {
        for (i = 0; i < writes.size() && !nError; ++i) {
            const SReplaceTarget& t = targets[i];
            nError = t.bInPlace ? WriteInPlace(t.strTarget, writes[i].pData, writes[i].nSize)
                                : staged[i].Replace(t.strTarget);
            if (!nError && !t.bInPlace) nError = SyncFolderOf(t.strTarget);
        }
    }
    if (!nError) return true;
    strFailedPath = writes[i - 1].strPath;  // both loops stop just past the failure
    strError = Reason(nError);
    return false;
}

// Places the file under the first free name from NumberedPath(strPath,
// nNumber) on; nNumber ends at the number taken.
int PlaceNumbered(CStagedFile& staged, const std::string& strPath, std::size_t& nNumber,
                  std::string& strTaken) {
    for (;; ++nNumber) {
        strTaken = NumberedPath(strPath, nNumber);
        const int nError = staged.PlaceNew(strTaken);
        // A folder does not hold names faster than this counts.
        if (nError != EEXIST || nNumber >= 100000) return nError;
    }
}

}  // namespace

bool WriteWholeFile(const std::string& strPath, const void* pData, std::size_t nSize,
                    std::string& strError) {
    std::string strFailedPath;
    return WriteReplacing({{strPath, pData, nSize}}, strFailedPath, strError);
}

bool WriteWholeFiles(const std::vector<SFileBytes>& files, std::string& strFailedPath,
                     std::string& strError) {
    std::vector<SWrite> writes;
    for (const SFileBytes& f : files) writes.push_back({f.strPath, f.bytes.data(), f.bytes.size()});
    return WriteReplacing(writes, strFailedPath, strError);
}

bool WriteNewFile(const std::string& strPath, const void* pData, std::size_t nSize,
                  std::string& strError) {
    strError.clear();
    CStagedFile staged;
    int nError = staged.Write(strPath, pData, nSize, false, nullptr);
    if (!nError) nError = staged.PlaceNew(strPath);
    if (nError) strError = Reason(nError);
    return nError == 0;
}

bool WriteNewNumberedFiles(const std::string& strPath,
                           const std::vector<std::vector<unsigned char>>& files,
                           std::vector<std::string>& paths, std::string& strFailedPath,
                           std::string& strError) {
    paths.clear();
    strFailedPath.clear();
    strError.clear();
    std::vector<CStagedFile> staged(files.size());
    int nError = 0;
    std::string strTry = strPath;
    for (std::size_t i = 0; i < files.size() && !nError; ++i) {
        strTry = NumberedPath(strPath, i + 1);
        nError = staged[i].Write(strPath, files[i].data(), files[i].size(), true, nullptr);
    }
    std::size_t nNumber = 1;
    for (std::size_t i = 0; i < files.size() && !nError; ++i, ++nNumber) {
        nError = PlaceNumbered(staged[i], strPath, nNumber, strTry);
        if (!nError) paths.push_back(strTry);
    }
    if (!nError) nError = SyncFolderOf(strPath);
    if (!nError) return true;
    for (const std::string& str : paths) ::unlink(str.c_str());
    paths.clear();
    strFailedPath = strTry;
    strError = Reason(nError);
    return false;
}

bool SyncFolder(const std::string& strFolder, std::string& strError) {
    const int fd = ::open(strFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        strError = Reason(errno);
        return false;
    }
    const bool bOk = ::syncfs(fd) == 0 && ::fsync(fd) == 0;
    if (!bOk) strError = Reason(errno);
    ::close(fd);
    return bOk;
}
