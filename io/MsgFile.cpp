#include "io/MsgFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>

namespace {

class CFd {
public:
    explicit CFd(int fd) : m_fd(fd) {}
    ~CFd() {
        if (m_fd >= 0) ::close(m_fd);
    }
    CFd(const CFd&) = delete;
    CFd& operator=(const CFd&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

constexpr const char* kNotRegular = "not a regular file";

bool Fail(int nErrno, std::vector<unsigned char>& bytes, std::string& strError) {
    bytes.clear();
    strError = std::strerror(nErrno);
    return false;
}

}  // namespace

// Only regular files are read, and never more than fstat reports: a FIFO
// would block the caller for ever and /dev/zero would never end. The open
// does not block either, so a FIFO without a writer is refused at once.
// The decoder takes the size as an unsigned int, so a file of 4 GiB or more
// is refused as too large rather than silently cut.
bool ReadMessageFile(const std::string& strPath, std::vector<unsigned char>& bytes,
                     std::string& strError) {
    bytes.clear();
    strError.clear();
    const CFd fd(::open(strPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (fd.get() < 0) return Fail(errno, bytes, strError);
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) return Fail(errno, bytes, strError);
    if (S_ISDIR(st.st_mode)) return Fail(EISDIR, bytes, strError);
    if (!S_ISREG(st.st_mode)) {
        strError = kNotRegular;
        return false;
    }
    if (static_cast<unsigned long long>(st.st_size) > UINT_MAX) return Fail(EFBIG, bytes, strError);
    bytes.resize(static_cast<std::size_t>(st.st_size));
    // A file that shrinks while it is read yields what it still holds.
    std::size_t nHave = 0;
    while (nHave < bytes.size()) {
        const ssize_t n = ::read(fd.get(), bytes.data() + nHave, bytes.size() - nHave);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return Fail(errno, bytes, strError);
        if (n == 0) break;
        nHave += static_cast<std::size_t>(n);
    }
    bytes.resize(nHave);
    return true;
}
