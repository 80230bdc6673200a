#include "io/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <random>

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

// Errno of the first failing step of writing a temporary file beside
// strTarget and handing it to fnPlace, which puts it under its final name.
template <typename TPlace>
int WriteThroughTemporary(const std::string& strTarget, const void* pData, std::size_t nSize,
                          bool bSync, const struct stat* pOld, TPlace fnPlace) {
    std::string strTemp;
    const int fd = CreateTemporary(strTarget, strTemp);
    if (fd < 0) return errno;
    int nError = WriteAll(fd, static_cast<const unsigned char*>(pData), nSize);
    if (!nError && pOld && ::fchmod(fd, pOld->st_mode & 07777) != 0) nError = errno;
    // Without fsync a crash after the rename can leave an empty file behind.
    if (!nError && bSync && ::fsync(fd) != 0) nError = errno;
    if (::close(fd) != 0 && !nError) nError = errno;
    if (!nError && !fnPlace(strTemp)) nError = errno;
    ::unlink(strTemp.c_str());  // gone after a rename; the spare name after a link
    return nError;
}

int WriteReplacing(const std::string& strTarget, const struct stat* pOld, const void* pData,
                   std::size_t nSize) {
    return WriteThroughTemporary(strTarget, pData, nSize, true, pOld, [&](const std::string& t) {
        return ::rename(t.c_str(), strTarget.c_str()) == 0;
    });
}

}  // namespace

bool WriteWholeFile(const std::string& strPath, const void* pData, std::size_t nSize,
                    std::string& strError) {
    strError.clear();
    const std::string strTarget = ResolveLink(strPath);
    struct stat st {};
    const bool bExists = ::stat(strTarget.c_str(), &st) == 0;
    int nError = 0;
    if (bExists && S_ISDIR(st.st_mode))
        nError = EISDIR;
    else if (bExists && !S_ISREG(st.st_mode))
        nError = WriteInPlace(strTarget, pData, nSize);
    else
        nError = WriteReplacing(strTarget, bExists ? &st : nullptr, pData, nSize);
    if (nError) strError = Reason(nError);
    return nError == 0;
}

bool WriteNewFile(const std::string& strPath, const void* pData, std::size_t nSize,
                  std::string& strError) {
    strError.clear();
    const int nError = WriteThroughTemporary(
        strPath, pData, nSize, false, nullptr,
        [&](const std::string& t) { return ::link(t.c_str(), strPath.c_str()) == 0; });
    if (nError) strError = Reason(nError);
    return nError == 0;
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
