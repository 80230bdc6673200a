#include "io/HexLog.h"

#include <cstring>

namespace {

// White space as the C library's isspace() sees it in the "C" locale.
bool IsScanSpace(char c) { return c != '\0' && std::strchr(" \t\n\v\f\r", c) != nullptr; }

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// One "%2X" conversion over the text [p, pEnd), which ends early at a NUL as
// a C string would. Leading white space is skipped and does not count
// towards the width; a sign and a "0X" prefix do. False when no number could
// be read: v is then left as it was.
bool ScanHex2(const char* p, const char* pEnd, int& v) {
    while (p < pEnd && IsScanSpace(*p)) ++p;
    int nWidth = 2;
    bool bNegative = false;
    if (p < pEnd && (*p == '-' || *p == '+')) {
        bNegative = *p == '-';
        ++p;
        --nWidth;
    }
    if (p >= pEnd || HexDigit(*p) < 0) return false;
    // "0X" reads as the number 0: the prefix has no digits after it within
    // the width, and the 0 itself is a digit.
    unsigned int value = 0;
    for (; nWidth > 0 && p < pEnd && HexDigit(*p) >= 0; --nWidth, ++p)
        value = value * 16 + static_cast<unsigned int>(HexDigit(*p));
    v = bNegative ? -static_cast<int>(value) : static_cast<int>(value);
    return true;
}

}  // namespace

std::string CleanHexLog(std::string strText) {
    size_t nBegin = 0;
    size_t nEnd = strText.size();
    while (nBegin < nEnd && IsScanSpace(strText[nBegin])) ++nBegin;
    while (nEnd > nBegin && IsScanSpace(strText[nEnd - 1])) --nEnd;
    std::string strClean;
    strClean.reserve(nEnd - nBegin);
    for (size_t i = nBegin; i < nEnd; ++i) {
        char c = strText[i];
        if (c == '\r' || c == '\n' || c == '\t' || c == ' ') continue;
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        strClean += c;
    }
    return strClean;
}

std::vector<unsigned char> HexTextToBytes(const std::string& strCleaned) {
    std::vector<unsigned char> bytes;
    bytes.reserve((strCleaned.size() + 1) / 2);
    int v = 0;  // a first pair that cannot be read gives 0x00
    const char* pText = strCleaned.data();
    for (size_t i = 0; i < strCleaned.size(); i += 2) {
        const size_t nTake = strCleaned.size() - i < 2 ? 1 : 2;
        const char* pPair = pText + i;
        const void* pNul = std::memchr(pPair, '\0', nTake);
        const char* pEnd = pNul ? static_cast<const char*>(pNul) : pPair + nTake;
        ScanHex2(pPair, pEnd, v);
        bytes.push_back(static_cast<unsigned char>(v & 0xFF));
    }
    return bytes;
}
