#pragma once
#include <cstddef>
#include <cstdint>

#include "model/Bytes.h"

// What a plausible HSMS frame is, for every reader that looks for one (TCP
// streams, hex texts): a 4-byte length, then the 10-byte header.
inline constexpr std::size_t kHsmsLengthSize = 4;
inline constexpr std::size_t kHsmsFrameHead = 14;  // length and header
// Beyond this a length is noise, not a message.
inline constexpr std::uint32_t kMaxHsmsLength = 64u << 20;

// p holds kHsmsFrameHead bytes. Plausible: a length of at least the header,
// PType 0 (SECS-II), and either a data message or a control type HSMS
// defines, which has no body: its length is exactly 10.
inline bool IsPlausibleHsmsHead(const unsigned char* p) {
    const std::uint32_t nLength = ReadBE32(p);
    if (nLength < 10 || nLength > kMaxHsmsLength || p[8] != 0) return false;
    const unsigned char nSType = p[9];
    if (nSType == 0) return true;
    return ((nSType >= 1 && nSType <= 7) || nSType == 9) && nLength == 10;
}
