#pragma once
#include <cstdint>

// Where one cell came from in its message file. The decoder records one entry
// per cell, in the order of CMsgInfo::m_cells; 12 bytes, so that a small data
// cell stays well under 200 bytes in all. Trivial, so that the table grows
// by memmove.
struct SCellBytes {
    std::uint32_t nOffset;  // the item's format byte, counted from the start of the file
    // Data item: data bytes the length field asks for. List: items it declares.
    std::uint32_t nDeclared : 24;
    // Length bytes read (0 to 3): fewer than announced only where the file
    // ends inside them.
    std::uint32_t nLengthBytes : 8;
    // Data item: data bytes actually there. List: bytes its items took up to
    // where it completed, or to the end of the data when it never did.
    std::uint32_t nPresent;
};

// Offset just past the format and length bytes that were actually there.
inline std::uint64_t DataStart(const SCellBytes& b) {
    return std::uint64_t{b.nOffset} + 1 + b.nLengthBytes;
}

// End of a data item's bytes, or of a list's items.
inline std::uint64_t DataEnd(const SCellBytes& b) { return DataStart(b) + b.nPresent; }
