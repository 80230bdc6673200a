#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// The item stream as it lies in the file, read by the decoder's own rules (a
// lone last byte at an item boundary is the style byte, a 0x00 where a format
// byte belongs ends the body, an item cut by the end of the file ends it
// too). SML and JSON output read exact values from these places: the cells
// keep only 32 bits of an 8-byte integer and a truncated F8.
struct SWireItem {
    int nFormat = 0;              // format code; may be an unknown one
    int nLengthBytes = 0;         // 0 to 3
    std::size_t nOffset = 0;      // of the format byte, from the start of the file
    std::size_t nDataOffset = 0;  // first data byte (lists: first child)
    std::uint32_t nLength = 0;    // length field: items of a list, bytes otherwise
    // Data bytes in the file (fewer than nLength when cut); for a list, the
    // items that followed it (unknown formats included).
    std::size_t nPresent = 0;
    int nParent = -1;  // index of the enclosing list in SWireMessage::items; -1 at the top
    int nDepth = 0;
};

// What went wrong on the way is the decoder's to say (CMsgInfo's
// diagnostics); this walk only places the items.
struct SWireMessage {
    std::vector<SWireItem> items;  // document order: a list precedes its children
    int nStyleByte = -1;           // the lone last byte, or -1
};

// Never reads beyond pData[nSize - 1]; never recurses. Single non-final
// blocks and short headers yield no items.
SWireMessage ReadWireItems(const unsigned char* pData, std::size_t nSize);

// Elements of a data item: present bytes over the format's wire width (bytes
// for the byte formats); 0 for lists and unknown formats.
std::size_t WireElementCount(const SWireItem& item);

// Big-endian unsigned value of n (1 to 8) bytes.
std::uint64_t ReadBigEndian(const unsigned char* p, int n);
