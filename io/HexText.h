#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// One run of lines that hold bytes; a line without any ends it, and so does
// a line whose time stamp differs from the block's.
struct CHexBlock {
    std::size_t m_nBegin = 0;  // the block's bytes: [m_nBegin, m_nEnd) of CHexText::m_bytes
    std::size_t m_nEnd = 0;
    std::size_t m_nLine = 0;  // 1-based line of the block's first bytes
    // The block's lines in the text: from the start of the first to the end of the last.
    std::size_t m_nTextBegin = 0;
    std::size_t m_nTextEnd = 0;
    // Views into the text read, which must outlive them: the time stamp of
    // the block's first line, or of the remark line just before, and that
    // line's text before its bytes, or the remark line's.
    std::string_view m_strTime;
    std::string_view m_strLabel;
};

struct CHexText {
    std::vector<unsigned char> m_bytes;
    std::vector<CHexBlock> m_blocks;
    // Only hex digits and white space: converted as the converter always did,
    // all of it one block (CleanHexLog, then HexTextToBytes).
    bool m_bPlain = false;
};

// Extracts the bytes of a pasted or logged hex dump, line by line: plain
// pairs (blank-, colon-, dot- or dash-separated, or joined), 0x values, b'..'
// literals, offset dumps with an ASCII column (xxd, hexdump -C, od, tcpdump
// -X, Wireshark), and log lines with time stamps and labels ("Out:",
// "data=", "Header ( .. )"). Never fails: text without bytes gives no blocks.
// bConverterRules keeps a plain text (only hex digits and white space) one
// block converted by the old rules; logs pass false, so that their blank
// lines split plain texts too.
// eColumns names another reading of the same lines, for a log whose lines
// give a message that does not decode: the first word of every byte line as
// an offset column (and what follows the first run of groups as the ASCII
// column), or no offset column at all.
// progress hears now and then of the bytes read of all; false stops the
// reading there.
enum class EHexColumns { kFound, kOffsetFirst, kNoOffset };
using FHexProgress = std::function<bool(std::uint64_t nDone, std::uint64_t nTotal)>;
CHexText ReadHexText(std::string_view text, bool bConverterRules = true,
                     EHexColumns eColumns = EHexColumns::kFound, const FHexProgress& progress = {});
