#include "decode/MsgDocWalk.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <new>

#include "decode/ByteCursor.h"
#include "model/Bytes.h"
#include "model/FormatTable.h"

namespace {

constexpr std::size_t kHeaderSize = 10;
// A full block: the header and 244 body bytes. A file of exactly this size
// that is not the last block holds only part of a message body.
constexpr std::size_t kFullBlockSize = 254;

std::uint32_t U32(std::size_t n) { return static_cast<std::uint32_t>(n); }

// Wire width by format code (0 for lists and unknown codes): the format
// table's column, laid out for a lookup per item without a search.
constexpr auto kWireWidth = [] {
    std::array<std::uint8_t, FormatCodeOfByte(0xFF) + 1> widths{};
    for (const SFormat& f : kFormats)
        widths[static_cast<std::size_t>(f.nCode)] = static_cast<std::uint8_t>(f.nWireWidth);
    return widths;
}();

// Every item takes at least one byte and nearly all at least two: room for
// that many rows is reserved at once, so the table never doubles (and is
// never copied) while it grows. Pages never written cost no memory.
void ReserveRows(std::vector<SItemRow>& rows, std::size_t nBody) {
    try {
        rows.reserve(nBody / 2 + 1);
    } catch (const std::bad_alloc&) {
    }
}

class CDocWalk {
public:
    explicit CDocWalk(CMsgDoc& doc) : m_doc(doc), m_cursor(doc.m_bytes.data(), doc.m_bytes.size()) {
        m_cursor.take(kHeaderSize);
        ReserveRows(doc.m_rows, m_cursor.remaining());
    }

    void Run() {
        for (;;) {
            CompleteLists();
            if (m_cursor.remaining() == 1) return EndWithStyleByte();
            if (m_cursor.remaining() == 0) return Finish(m_cursor.offset(), true);
            if (m_cursor.peek() == 0x00) return EndAtTerminator();
            Item();
        }
    }

private:
    // A list is complete when it has as many items as it declares; it then
    // counts as one item of its own parent, which may complete in turn.
    void CompleteLists() {
        while (!m_open.empty()) {
            SItemRow& list = Row(m_open.back());
            if (list.nChildren < list.nDeclared) return;
            SetExtent(list);
            m_open.pop_back();
        }
    }

    // The row is filled where it lies in the table: the table is written once.
    void Item() {
        const auto nRow = static_cast<std::int32_t>(m_doc.m_rows.size());
        SItemRow& row = m_doc.m_rows.emplace_back();
        row.nOffset = U32(m_cursor.offset());
        row.nFormatByte = m_cursor.take(1)[0];
        row.nFormat = static_cast<std::uint8_t>(FormatCodeOfByte(row.nFormatByte));
        row.nLengthBytes = row.nFormatByte & 0x03;
        // Length bytes cut off by the end of the data count as zero.
        const auto length = m_cursor.take(row.nLengthBytes);
        row.nLengthRead = static_cast<std::uint8_t>(length.size());
        if (row.nLengthRead == row.nLengthBytes) {
            row.nDeclared =
                static_cast<std::uint32_t>(ReadBigEndian(length.data(), row.nLengthRead));
        } else {
            unsigned char padded[3] = {0, 0, 0};
            std::copy(length.begin(), length.end(), padded);
            row.nDeclared = static_cast<std::uint32_t>(ReadBigEndian(padded, row.nLengthBytes));
        }
        row.nParent = m_open.empty() ? -1 : m_open.back();
        row.nDepth = U32(m_open.size());
        row.nNext = -1;
        if (row.nLengthRead < row.nLengthBytes) {
            m_bCut = true;
            Note(EDiagnostic::kLengthCut, row.nOffset, row.nFormatByte, row.nLengthBytes,
                 row.nLengthRead);
        }
        if (row.nFormat != kFormatList) row.nPresent = U32(m_cursor.take(row.nDeclared).size());
        Link(nRow, row);
        if (row.nFormat == kFormatList)
            m_open.push_back(nRow);
        else
            NoteDataFaults(row);
    }

    // Links the row as the last item of its list (or of the top level).
    void Link(std::int32_t nRow, const SItemRow& row) {
        if (m_lastAtDepth.size() <= row.nDepth) m_lastAtDepth.resize(row.nDepth + 1, -1);
        std::int32_t& nLast = m_lastAtDepth[row.nDepth];
        if (nLast >= 0 && Row(nLast).nParent == row.nParent) Row(nLast).nNext = nRow;
        nLast = nRow;
        if (row.nParent >= 0) ++Row(row.nParent).nChildren;
    }

    void NoteDataFaults(const SItemRow& row) {
        const std::uint32_t nWidth = kWireWidth[row.nFormat];
        if (row.nPresent < row.nDeclared) m_bCut = true;
        if (row.nLengthRead < row.nLengthBytes) return;  // already told
        if (nWidth == 0) {
            Note(EDiagnostic::kUnknownFormat, row.nOffset, row.nFormatByte, row.nDeclared,
                 row.nPresent);
        } else if (row.nPresent < row.nDeclared) {
            Note(EDiagnostic::kDataCut, row.nOffset, row.nFormatByte, row.nDeclared, row.nPresent);
        } else if (const std::uint32_t nExtra = row.nPresent & (nWidth - 1)) {
            // Widths are 1, 2, 4 or 8: the mask is the remainder.
            Note(EDiagnostic::kPartialElement, row.nOffset, row.nFormatByte, row.nDeclared, nExtra);
        }
    }

    void EndWithStyleByte() {
        const std::size_t nOffset = m_cursor.offset();
        const unsigned char b = m_cursor.take(1)[0];
        m_doc.m_nStyleByte = b;
        Finish(nOffset, true);
        Note(EDiagnostic::kStyleByte, nOffset, b, 0, b == '0' || b == '1');
    }

    void EndAtTerminator() {
        const std::size_t nOffset = m_cursor.offset();
        Finish(nOffset, false);
        Note(EDiagnostic::kTerminator, nOffset, 0, 0, U32(m_cursor.remaining() - 1));
    }

    // Lists still open when the items end at nEnd reach to there and are
    // reported there, with the items they completed (an open list inside
    // one is not complete); with none open, a walk that stopped at an item
    // boundary (bBoundary) with no item cut short ended cleanly.
    void Finish(std::size_t nEnd, bool bBoundary) {
        for (std::size_t i = 0; i < m_open.size(); ++i) {
            SItemRow& list = Row(m_open[i]);
            list.nPresent = U32(nEnd - RowDataStart(list));
            const std::uint32_t nDone = list.nChildren - (i + 1 < m_open.size() ? 1 : 0);
            Note(EDiagnostic::kListOpen, nEnd, list.nOffset, list.nDeclared, nDone);
        }
        if (m_open.empty() && !m_bCut && bBoundary) Note(EDiagnostic::kCleanEnd, nEnd, 0, 0, 0);
    }

    void SetExtent(SItemRow& list) { list.nPresent = U32(m_cursor.offset() - RowDataStart(list)); }

    void Note(EDiagnostic eKind, std::size_t nOffset, std::uint32_t nValue, std::uint32_t nDeclared,
              std::uint32_t nPresent) {
        m_doc.m_findings.push_back({eKind, U32(nOffset), nValue, nDeclared, nPresent});
    }

    SItemRow& Row(std::int32_t n) { return m_doc.m_rows[static_cast<std::size_t>(n)]; }

    CMsgDoc& m_doc;
    CByteCursor m_cursor;
    std::vector<std::int32_t> m_open;         // rows of the lists not yet complete, outermost first
    std::vector<std::int32_t> m_lastAtDepth;  // last row seen at each depth
    bool m_bCut = false;                      // an item ran past the end of the data
};

bool IsNonFinalBlock(const CMsgDoc& doc) {
    const SHeaderFields h = DocHeader(doc);
    return !h.bEBit && h.nBlock != 0 && doc.m_bytes.size() == kFullBlockSize;
}

void Note(CMsgDoc& doc, EDiagnostic eKind, std::size_t nOffset, std::size_t nDeclared,
          std::size_t nPresent) {
    doc.m_findings.push_back({eKind, U32(nOffset), 0, U32(nDeclared), U32(nPresent)});
}

}  // namespace

void ApplyStyleByte(const CMsgDoc& doc, int* pStyle) {
    if (!pStyle) return;
    if (doc.m_nStyleByte == '1') *pStyle = 1;
    if (doc.m_nStyleByte == '0') *pStyle = 0;
}

SHeaderFields DocHeader(const CMsgDoc& doc) {
    return ReadHeaderFields(doc.m_bytes.data(), doc.m_bytes.size());
}

CMsgDoc DecodeMsgDoc(std::vector<unsigned char> bytes) {
    CMsgDoc doc;
    doc.m_bytes = std::move(bytes);
    const std::size_t nSize = doc.m_bytes.size();
    if (IsNonFinalBlock(doc)) {
        Note(doc, EDiagnostic::kNonFinalBlock, kHeaderSize, 0, nSize);
        return doc;
    }
    if (nSize == kHeaderSize) {
        Note(doc, EDiagnostic::kHeaderOnly, kHeaderSize, 0, 0);
        return doc;
    }
    doc.m_bBodyWalked = true;
    if (nSize < kHeaderSize) {  // nothing past the header: the only finding is the short file
        Note(doc, EDiagnostic::kShortFile, nSize, kHeaderSize, nSize);
        return doc;
    }
    CDocWalk(doc).Run();
    std::stable_sort(
        doc.m_findings.begin(), doc.m_findings.end(),
        [](const SDiagnostic& a, const SDiagnostic& b) { return a.nOffset < b.nOffset; });
    auto& rows = doc.m_rows;
    if (rows.capacity() > 2 * rows.size() + 64) rows.shrink_to_fit();
    return doc;
}
