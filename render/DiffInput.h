#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// What the comparison of two messages reads: the header fields it reports
// and the items in document order. The bytes the spans point into belong to
// the caller and must outlive every use of the message.
struct SDiffHeader {
    int nStream = 0;
    int nFunction = 0;
    bool bWBit = false;
    int nDeviceId = 0;
    std::uint32_t dwSystemBytes = 0;
};

struct SDiffItem {
    int nFormat = 0;   // format code (model/FormatTable.h); unknown codes compare by bytes
    int nParent = -1;  // index of the enclosing list; -1 at the top; always below the item's own
    std::size_t nOffset = 0;              // of the format byte in the message's bytes
    std::span<const unsigned char> data;  // data bytes present (fewer than declared when cut)
    std::size_t nCount = 0;               // elements of a data item (lists: not read)
    bool bIgnoreValue = false;            // its data takes no part in the comparison
};

struct SDiffMessage {
    SDiffHeader header;
    std::vector<SDiffItem> items;  // document order: a list precedes its children
};

// The message in a file's bytes (header and item stream, walked once into a
// document: render/DocViews.h). A damaged message gives the items that are there.
SDiffMessage DiffMessageOfBytes(const unsigned char* pData, std::size_t nSize);
