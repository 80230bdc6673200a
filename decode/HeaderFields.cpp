#include "decode/HeaderFields.h"

#include <iterator>

namespace {

struct SSType {
    int nSType;
    const char* szName;
};
constexpr SSType kSTypes[] = {
    {0, "Data message"}, {1, "Select.req"},   {2, "Select.rsp"},
    {3, "Deselect.req"}, {4, "Deselect.rsp"}, {5, "Linktest.req"},
    {6, "Linktest.rsp"}, {7, "Reject.req"},   {9, "Separate.req"},
};

}  // namespace

SHeaderFields ReadHeaderFields(const unsigned char* pData, std::size_t nSize) {
    unsigned char h[10] = {};
    const std::size_t nPresent = pData ? (nSize < 10 ? nSize : 10) : 0;
    for (std::size_t i = 0; i < nPresent; ++i) h[i] = pData[i];
    SHeaderFields f;
    f.nPresent = static_cast<int>(nPresent);
    f.nSessionId = (h[0] << 8) | h[1];
    f.bRBit = h[0] >> 7;
    f.nDeviceId = f.nSessionId & 0x7FFF;
    f.nByte2 = h[2];
    f.bWBit = h[2] >> 7;
    f.nStream = h[2] & 0x7F;
    f.nByte3 = f.nFunction = h[3];
    f.nPType = h[4];
    f.nSType = h[5];
    f.bEBit = h[4] >> 7;
    f.nBlock = ((h[4] << 8) | h[5]) & 0x7FFF;
    f.dwSystemBytes = (std::uint32_t{h[6]} << 24) | (std::uint32_t{h[7]} << 16) |
                      (std::uint32_t{h[8]} << 8) | h[9];
    return f;
}

const char* HsmsSTypeName(int nSType) {
    for (const SSType& s : kSTypes)
        if (s.nSType == nSType) return s.szName;
    return nullptr;
}
