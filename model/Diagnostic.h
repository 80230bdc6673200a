#pragma once
#include <cstdint>

// What the decoder found on its way through a file. Recorded beside the
// message, never thrown: the message itself is built as before.
enum class EDiagnostic : std::uint8_t {
    kCleanEnd,        // the items ended at an item boundary with no list open
    kStyleByte,       // nValue: the byte; nPresent: 1 when it set the style
    kHeaderOnly,      // no body at all (normal for S1F1 and other bare requests)
    kTerminator,      // a 0x00 byte ended the body; nPresent: bytes after it ignored
    kDataCut,         // nValue: format byte; nDeclared data bytes asked, nPresent there
    kLengthCut,       // nValue: format byte; nDeclared length bytes announced, nPresent there
    kListOpen,        // list still open where the data ends: nValue its offset, nDeclared
                      // items, nPresent completed
    kUnknownFormat,   // nValue: format byte; item skipped, nDeclared / nPresent data bytes
    kPartialElement,  // nValue: format byte; nPresent bytes after the last whole element
    kNonFinalBlock,   // 254-byte block with E-bit 0: the body was not decoded
    kShortFile,       // fewer than the nDeclared (10) header bytes; nPresent: the file size
};

struct SDiagnostic {
    EDiagnostic eKind = EDiagnostic::kCleanEnd;
    std::uint32_t nOffset = 0;  // where in the file it happened
    std::uint32_t nValue = 0;
    std::uint32_t nDeclared = 0;
    std::uint32_t nPresent = 0;
};

// Clean end, style byte and a bare header say nothing is wrong; every other
// kind means the file is damaged or was not fully decoded.
constexpr bool IsDamage(EDiagnostic e) {
    return e != EDiagnostic::kCleanEnd && e != EDiagnostic::kStyleByte &&
           e != EDiagnostic::kHeaderOnly;
}

// The bytes a finding is about, [nBegin, nEnd): the cut or skipped item, the
// ignored tail, the open list up to the end of the data. Empty for a clean end.
struct SByteRange {
    std::uint64_t nBegin = 0;
    std::uint64_t nEnd = 0;
};
SByteRange DiagnosticRange(const SDiagnostic& d);
