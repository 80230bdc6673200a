#include "decode/ItemWalk.h"

#include <cstdint>
#include <vector>

#include "decode/DecoderTable.h"
#include "model/FormatTable.h"

unsigned int ReadLength(const unsigned char* pBytes, int n) {
    unsigned int nValue = 0;
    for (int i = 0; i < n; ++i) nValue = (nValue << 8) | pBytes[i];
    return nValue;
}

namespace {

// Walk arrays grow by one entry when the index one past their end is written.
void Put(std::vector<std::int64_t>& v, int nIndex, std::int64_t nValue) {
    if (static_cast<std::size_t>(nIndex) == v.size())
        v.push_back(nValue);
    else
        v[static_cast<std::size_t>(nIndex)] = nValue;
}

// Length bytes cut off by the end of the data count as zero, as missing
// header bytes do.
int TakeLength(CByteCursor& cursor, int n) {
    const auto bytes = cursor.take(static_cast<std::size_t>(n));
    unsigned char padded[4] = {0, 0, 0, 0};
    for (std::size_t i = 0; i < bytes.size(); ++i) padded[i] = bytes[i];
    return static_cast<int>(ReadLength(padded, n));
}

void StoreStyle(unsigned char b, int* pStyle) {
    if (!pStyle) return;
    if (b == '1') *pStyle = 1;
    if (b == '0') *pStyle = 0;
}

}  // namespace

void WalkItems(CDecode& decoder, CMsgInfo* pMsg, CByteCursor& cursor, int* pStyle) {
    CMsgMgr& mgr = *decoder.m_pMgr;
    // Indexed by depth; the top level (-1) is never complete. 64-bit because
    // the top level may count more items than an int holds.
    std::vector<std::int64_t> listSize{-1};
    std::vector<std::int64_t> listSeen{0};
    // Indexed by depth + 1: length of the last item read at each depth. It
    // equals listSize at a level exactly when that level is a list.
    std::vector<std::int64_t> itemLength{0};
    int d = 0;
    for (;;) {
        while (listSeen[d] == listSize[d]) {
            if (pMsg->m_pCurrent) pMsg->m_pCurrent->m_nCount = static_cast<int>(listSize[d]);
            mgr.CloseList(pMsg);
            --d;
            if (itemLength[d] != listSize[d]) break;
            ++listSeen[d];
        }
        if (cursor.remaining() == 1) {
            StoreStyle(cursor.take(1)[0], pStyle);
            return;
        }
        if (cursor.remaining() == 0 || cursor.peek() == 0x00) return;

        const unsigned char b = cursor.take(1)[0];
        const int nCode = FormatCodeOfByte(b);
        const int nLength = TakeLength(cursor, b & 0x03);
        Put(itemLength, d + 1, nLength);

        if (nCode == kFormatList) {
            if (nLength == 0 && cursor.peek() == 0x00) {  // peek() is 0 at the end too
                mgr.OpenList(pMsg);
                mgr.CloseList(pMsg);
                return;
            }
            mgr.OpenList(pMsg);
            ++d;
            Put(listSize, d, nLength);
            Put(listSeen, d, 0);
            continue;
        }
        const auto data = cursor.take(static_cast<std::size_t>(nLength));
        if (const DecodeFn fn = FindDecoder(nCode))
            (decoder.*fn)(pMsg, data.data(), static_cast<int>(data.size()));
        ++listSeen[d];
    }
}
