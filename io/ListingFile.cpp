#include "io/ListingFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

bool EndsWithBigExtension(const std::string& strName) {
    if (strName.size() < 4) return false;
    const char* p = strName.c_str() + strName.size() - 4;
    return p[0] == '.' && (p[1] == 'B' || p[1] == 'b') && (p[2] == 'I' || p[2] == 'i') &&
           (p[3] == 'G' || p[3] == 'g');
}

std::string Reason(int nErrno) { return nErrno ? std::strerror(nErrno) : "Input/output error"; }

}  // namespace

std::string ListingPathFor(const std::string& strMessagePath) {
    const size_t nSlash = strMessagePath.find_last_of('/');
    const std::string strName =
        nSlash == std::string::npos ? strMessagePath : strMessagePath.substr(nSlash + 1);
    if (EndsWithBigExtension(strName))
        return strMessagePath.substr(0, strMessagePath.size() - 4) + ".TXT";
    return strMessagePath + ".TXT";
}

bool WriteWholeFile(const std::string& strPath, const void* pData, size_t nSize,
                    std::string& strError) {
    strError.clear();
    errno = 0;
    std::FILE* pFile = std::fopen(strPath.c_str(), "wb");
    if (!pFile) {
        strError = Reason(errno);
        return false;
    }
    errno = 0;
    const size_t nWritten = nSize ? std::fwrite(pData, 1, nSize, pFile) : 0;
    int nError = nWritten == nSize ? 0 : (errno ? errno : EIO);
    // A full disk often shows only when the buffer is flushed or closed.
    if (!nError && std::fflush(pFile) != 0) nError = errno ? errno : EIO;
    if (std::fclose(pFile) != 0 && !nError) nError = errno ? errno : EIO;
    if (nError) {
        strError = Reason(nError);
        return false;
    }
    return true;
}

bool WriteListingFile(const std::string& strPath, const std::string& strListing,
                      std::string& strError) {
    std::string strBytes;
    strBytes.reserve(strListing.size() + strListing.size() / 16 + 16);
    for (char c : strListing) {
        if (c == '\n') strBytes += '\r';
        strBytes += c;
    }
    return WriteWholeFile(strPath, strBytes.data(), strBytes.size(), strError);
}
