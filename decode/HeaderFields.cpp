#include "decode/HeaderFields.h"

#include <iterator>

#include "model/Bytes.h"

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
    f.nSessionId = ReadBE16(h);
    f.bRBit = h[0] >> 7;
    f.nDeviceId = f.nSessionId & 0x7FFF;
    f.nByte2 = h[2];
    f.bWBit = h[2] >> 7;
    f.nStream = h[2] & 0x7F;
    f.nByte3 = f.nFunction = h[3];
    f.nPType = h[4];
    f.nSType = h[5];
    f.bEBit = h[4] >> 7;
    f.nBlock = ReadBE16(h + 4) & 0x7FFF;
    f.dwSystemBytes = ReadBE32(h + 6);
    return f;
}

const char* HsmsSTypeName(int nSType) {
    for (const SSType& s : kSTypes)
        if (s.nSType == nSType) return s.szName;
    return nullptr;
}
