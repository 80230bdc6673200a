#include "io/NewFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

std::string Reason(int nErrno) { return nErrno ? std::strerror(nErrno) : "Input/output error"; }

bool WriteAllTo(int fd, const unsigned char* p, std::size_t n) {
    while (n > 0) {
        const ssize_t nDone = ::write(fd, p, n);
        if (nDone < 0 && errno == EINTR) continue;
        if (nDone <= 0) return false;
        p += nDone;
        n -= static_cast<std::size_t>(nDone);
    }
    return true;
}

}  // namespace

bool WriteNewFile(const std::string& strPath, const void* pData, std::size_t nSize,
                  std::string& strError) {
    strError.clear();
    const std::size_t nSlash = strPath.find_last_of('/');
    std::string strTemp =
        (nSlash == std::string::npos ? std::string() : strPath.substr(0, nSlash + 1)) +
        ".brevix-XXXXXX";
    const int fd = ::mkstemp(strTemp.data());
    if (fd < 0) {
        strError = Reason(errno);
        return false;
    }
    errno = 0;
    bool bOk = WriteAllTo(fd, static_cast<const unsigned char*>(pData), nSize);
    int nError = bOk ? 0 : (errno ? errno : EIO);
    if (::close(fd) != 0 && bOk) {
        bOk = false;
        nError = errno;
    }
    if (bOk && ::link(strTemp.c_str(), strPath.c_str()) != 0) {
        bOk = false;
        nError = errno;
    }
    ::unlink(strTemp.c_str());
    if (!bOk) strError = Reason(nError);
    return bOk;
}

bool SyncFolder(const std::string& strFolder, std::string& strError) {
    const int fd = ::open(strFolder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) {
        strError = Reason(errno);
        return false;
    }
    const bool bOk = ::syncfs(fd) == 0 && ::fsync(fd) == 0;
    if (!bOk) strError = Reason(errno);
    ::close(fd);
    return bOk;
}
