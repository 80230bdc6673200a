#include "io/ListingFile.h"

bool HasBigExtension(std::string_view strName) {
    if (strName.size() < 4) return false;
    const char* p = strName.data() + strName.size() - 4;
    return p[0] == '.' && (p[1] == 'B' || p[1] == 'b') && (p[2] == 'I' || p[2] == 'i') &&
           (p[3] == 'G' || p[3] == 'g');
}

std::string ListingPathFor(const std::string& strMessagePath) {
    const size_t nSlash = strMessagePath.find_last_of('/');
    const std::string_view strName =
        std::string_view(strMessagePath).substr(nSlash == std::string::npos ? 0 : nSlash + 1);
    if (!HasBigExtension(strName)) return strMessagePath + ".TXT";
    // "a.big" and "a.BIG" may sit side by side: each keeps a listing of its own.
    const bool bLower = strName.substr(strName.size() - 4) == ".big";
    return strMessagePath.substr(0, strMessagePath.size() - 4) + (bLower ? ".txt" : ".TXT");
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
