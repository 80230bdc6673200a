#include <cstdint>
#include <vector>

#include "decode/Decode.h"
#include "decode/ValueBits.h"

// Each decoder turns nLength big-endian item bytes into nLength / width
// elements (bytes left over are ignored) and hands them to the typed
// appender of the item's format, which copies them into a new cell.

namespace {

bool Writable(const CMsgInfo* pMsg) { return pMsg && pMsg->m_nStatus >= 0; }

int CountOf(int nLength, int nWidth) { return nLength > 0 ? nLength / nWidth : 0; }

template <typename T>
using Appender = int (CMsgMgr::*)(CMsgInfo*, const T*, int);

// Converts element by element into a scratch array: on the stack for the
// common short item, on the heap only for long ones.
template <int kWidth, typename T, typename Convert>
void DecodeElements(CMsgMgr& mgr, Appender<T> append, CMsgInfo* pMsg, const unsigned char* pData,
                    int nLength, Convert convert) {
    if (!Writable(pMsg)) return;
    const int nCount = CountOf(nLength, kWidth);
    constexpr int kOnStack = 32;
    T local[kOnStack];
    std::vector<T> heap;
    T* pOut = local;
    if (nCount > kOnStack) {
        heap.resize(static_cast<std::size_t>(nCount));
        pOut = heap.data();
    }
    for (int i = 0; i < nCount; ++i)
        pOut[i] = convert(pData + static_cast<std::size_t>(i) * kWidth);
    (mgr.*append)(pMsg, pOut, nCount);
}

template <typename T>
void DecodeBytes(CMsgMgr& mgr, Appender<T> append, CMsgInfo* pMsg, const unsigned char* pData,
                 int nLength) {
    if (!Writable(pMsg)) return;
    (mgr.*append)(pMsg, reinterpret_cast<const T*>(pData), nLength > 0 ? nLength : 0);
}

}  // namespace

void CDecode::DecodeBinary(CMsgInfo* pMsg, const unsigned char* pData, int nLength) {
    DecodeBytes(*m_pMgr, &CMsgMgr::AppendBinary, pMsg, pData, nLength);
}

void CDecode::DecodeJis8(CMsgInfo* pMsg, const unsigned char* pData, int nLength) {
    DecodeBytes(*m_pMgr, &CMsgMgr::AppendJis8, pMsg, pData, nLength);
}

// The appender keeps the text up to its first NUL and pads with blanks.
void CDecode::DecodeAscii(CMsgInfo* pMsg, const unsigned char* pData, int nLength) {
    DecodeBytes(*m_pMgr, &CMsgMgr::AppendAscii, pMsg, pData, nLength);
}

void CDecode::DecodeU1(CMsgInfo* pMsg, const unsigned char* pData, int nLength) {
    DecodeBytes(*m_pMgr, &CMsgMgr::AppendU1, pMsg, pData, nLength);
}

void CDecode::DecodeI1(CMsgInfo* pMsg, const unsigned char* pData, int nLength) {
    DecodeBytes(*m_pMgr, &CMsgMgr::AppendI1, pMsg, pData, nLength);
}

void CDecode::DecodeBoolean(CMsgInfo* pMsg, const unsigned char* pData, int nLength) {
    DecodeElements<1>(*m_pMgr, &CMsgMgr::AppendBoolean, pMsg, pData, nLength,
                      [](const unsigned char* p) { return std::uint16_t{*p}; });
}

void CDecode::DecodeU2(CMsgInfo* pMsg, const unsigned char* pData, int nLength) {
    DecodeElements<2>(*m_pMgr, &CMsgMgr::AppendU2, pMsg, pData, nLength,
                      [](const unsigned char* p) { return ReadBE16(p); });
}

void CDecode::DecodeI2(CMsgInfo* pMsg, const unsigned char* pData, int nLength) {
    DecodeElements<2>(
        *m_pMgr, &CMsgMgr::AppendI2, pMsg, pData, nLength,
        [](const unsigned char* p) { return static_cast<std::int16_t>(ReadBE16(p)); });
}

void CDecode::DecodeU4(CMsgInfo* pMsg, const unsigned char* pData, int nLength) {
    DecodeElements<4>(*m_pMgr, &CMsgMgr::AppendU4, pMsg, pData, nLength,
                      [](const unsigned char* p) { return ReadBE32(p); });
}

void CDecode::DecodeI4(CMsgInfo* pMsg, const unsigned char* pData, int nLength) {
    DecodeElements<4>(
        *m_pMgr, &CMsgMgr::AppendI4, pMsg, pData, nLength,
        [](const unsigned char* p) { return static_cast<std::int32_t>(ReadBE32(p)); });
}

// All 64 bits are kept: a U8 counter past 2^32 must not wrap.
void CDecode::DecodeI8(CMsgInfo* pMsg, const unsigned char* pData, int nLength) {
    DecodeElements<8>(
        *m_pMgr, &CMsgMgr::AppendI8, pMsg, pData, nLength,
        [](const unsigned char* p) { return static_cast<std::int64_t>(ReadBE64(p)); });
}

// Stored as a double: exact up to 2^53, rounded to nearest above.
void CDecode::DecodeU8(CMsgInfo* pMsg, const unsigned char* pData, int nLength) {
    DecodeElements<8>(*m_pMgr, &CMsgMgr::AppendU8, pMsg, pData, nLength,
                      [](const unsigned char* p) { return static_cast<double>(ReadBE64(p)); });
}

void CDecode::DecodeF4(CMsgInfo* pMsg, const unsigned char* pData, int nLength) {
    DecodeElements<4>(*m_pMgr, &CMsgMgr::AppendF4, pMsg, pData, nLength,
                      [](const unsigned char* p) { return F4FromBits(ReadBE32(p)); });
}

void CDecode::DecodeF8(CMsgInfo* pMsg, const unsigned char* pData, int nLength) {
    DecodeElements<8>(*m_pMgr, &CMsgMgr::AppendF8, pMsg, pData, nLength,
                      [](const unsigned char* p) { return F8FromBits(ReadBE64(p)); });
}
