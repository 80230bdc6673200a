#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "model/Diagnostic.h"

// One item of a message body as the walk found it: where it lies in the file
// and how it nests. A fixed 32 bytes whatever the item holds; its values stay
// in the document's bytes and are read from there when a view asks.
struct SItemRow {
    std::uint32_t nOffset;  // the item's format byte, counted from the start of the file
    // The length field: a list's declared items, otherwise its data bytes.
    // Length bytes cut off by the end of the file read as zero.
    std::uint32_t nDeclared;
    // Data item: data bytes actually there. List: bytes its items take, up to
    // where it completed or, when it never did, to where the items ended.
    std::uint32_t nPresent;
    std::int32_t nParent;     // row of the enclosing list; -1 at the top level
    std::uint32_t nDepth;     // 0 at the top level
    std::uint32_t nChildren;  // list: rows directly under it, unknown formats included
    std::int32_t nNext;       // next sibling's row; -1 for the last one
    std::uint8_t nFormat;     // format code (FormatTable.h); may be an unknown one
    std::uint8_t nFormatByte;
    std::uint8_t nLengthBytes;  // announced by the format byte, 0 to 3
    std::uint8_t nLengthRead;   // present: fewer only where the file ends inside them
};
static_assert(sizeof(SItemRow) <= 32, "an item row is at most 32 bytes");

// One message file, walked once: the bytes (held here and nowhere else), the
// item table in document order (a list precedes its items; a list's first
// item, if any, is the next row) and what the walk found, with offsets.
// Every view reads this; none walks the bytes again.
class CMsgDoc {
public:
    std::vector<unsigned char> m_bytes;
    std::vector<SItemRow> m_rows;
    std::vector<SDiagnostic> m_findings;  // in file order
    int m_nStyleByte = -1;                // the lone last byte at an item boundary, or -1
    bool m_bBodyWalked = false;           // false for a bare header and a non-final block
};

// The first byte of a row's data (a list's: of its first item).
std::uint64_t RowDataStart(const SItemRow& row);
// Past the last byte of a data item's data or of a list's items.
std::uint64_t RowDataEnd(const SItemRow& row);

// A data item's bytes as far as the file holds them; empty for a list.
std::span<const unsigned char> RowData(const CMsgDoc& doc, std::size_t nRow);

// Whole elements present: data bytes over the format's wire width (bytes for
// the byte formats); 0 for lists and unknown formats.
std::size_t RowElementCount(const SItemRow& row);

// True for the fifteen formats this program decodes (lists included).
bool IsKnownRow(const SItemRow& row);

// Row whose own bytes hold nOffset (a list's format and length bytes, a data
// item's whole item), or else the innermost list whose items span it; -1
// when none does.
int RowAtOffset(const CMsgDoc& doc, std::uint64_t nOffset);

// True when the walk found nothing wrong (IsDamage of no finding).
bool IsCleanDoc(const CMsgDoc& doc);
