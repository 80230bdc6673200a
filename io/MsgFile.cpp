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

bool Fail(int nErrno, std::vector<unsigned char>& bytes, std::string& strError) {
    bytes.clear();
    strError = std::strerror(nErrno);
    return false;
}

}  // namespace

// The decoder takes the size as an unsigned int, so a file of 4 GiB or more
// is refused as too large rather than silently cut.
bool ReadMessageFile(const std::string& strPath, std::vector<unsigned char>& bytes,
                     std::string& strError) {
    bytes.clear();
    strError.clear();
    const CFd fd(::open(strPath.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) return Fail(errno, bytes, strError);
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) return Fail(errno, bytes, strError);
    if (S_ISDIR(st.st_mode)) return Fail(EISDIR, bytes, strError);
    if (st.st_size > 0 && static_cast<unsigned long long>(st.st_size) > UINT_MAX)
        return Fail(EFBIG, bytes, strError);
    if (st.st_size > 0) bytes.reserve(static_cast<std::size_t>(st.st_size));

    // Read to the end rather than trusting st_size: pipes and /proc files
    // report 0, and a file may grow while it is read.
    unsigned char chunk[65536];
    for (;;) {
        const ssize_t n = ::read(fd.get(), chunk, sizeof chunk);
        if (n < 0) {
            if (errno == EINTR) continue;
            return Fail(errno, bytes, strError);
        }
        if (n == 0) break;
        bytes.insert(bytes.end(), chunk, chunk + n);
        if (bytes.size() > UINT_MAX) return Fail(EFBIG, bytes, strError);
    }
    return true;
}
