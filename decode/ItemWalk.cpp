#include "decode/ItemWalk.h"

#include <algorithm>
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
template <typename T>
void Put(std::vector<T>& v, int nIndex, T nValue) {
    if (static_cast<std::size_t>(nIndex) == v.size())
        v.push_back(nValue);
    else
        v[static_cast<std::size_t>(nIndex)] = nValue;
}

std::uint32_t U32(std::size_t n) { return static_cast<std::uint32_t>(n); }

// The header of one item as far as the file holds it.
struct SItemHead {
    std::size_t nOffset;
    unsigned char bFormat;
    int nLengthBytes;  // announced by the format byte
    int nLengthRead;   // actually there
    int nLength;
};

// Length bytes cut off by the end of the data count as zero, as missing
// header bytes do.
SItemHead TakeHead(CByteCursor& cursor) {
    SItemHead head{};
    head.nOffset = cursor.offset();
    head.bFormat = cursor.take(1)[0];
    head.nLengthBytes = head.bFormat & 0x03;
    const auto bytes = cursor.take(static_cast<std::size_t>(head.nLengthBytes));
    unsigned char padded[4] = {0, 0, 0, 0};
    for (std::size_t i = 0; i < bytes.size(); ++i) padded[i] = bytes[i];
    head.nLengthRead = static_cast<int>(bytes.size());
    head.nLength = static_cast<int>(ReadLength(padded, head.nLengthBytes));
    return head;
}

void StoreStyle(unsigned char b, int* pStyle) {
    if (!pStyle) return;
    if (b == '1') *pStyle = 1;
    if (b == '0') *pStyle = 0;
}

// One pass over the item stream: the classic counting walk, plus the byte map
// and the diagnostics it leaves in the message.
class CWalk {
public:
    CWalk(CDecode& decoder, CMsgInfo* pMsg, CByteCursor& cursor)
        : m_decoder(decoder), m_mgr(*decoder.m_pMgr), m_pMsg(pMsg), m_cursor(cursor) {
        // Room for the cells of a body of small items, so that the map is not
        // copied as it grows; given back below when a few large items used
        // little of it.
        pMsg->m_cellBytes.reserve(std::min<std::size_t>(cursor.remaining() / 3 + 1, 65536));
    }

    void Run(int* pStyle) {
        for (;;) {
            CompleteLists();
            if (m_cursor.remaining() == 1) {
                EndWithStyleByte(pStyle);
                return;
            }
            if (m_cursor.remaining() == 0) return EndAtBoundary();
            if (m_cursor.peek() == 0x00) return EndAtTerminator();
            const SItemHead head = TakeHead(m_cursor);
            NoteLengthCut(head);
            Put(m_itemLength, m_d + 1, std::int64_t{head.nLength});
            if (FormatCodeOfByte(head.bFormat) == kFormatList) {
                if (head.nLength == 0 && m_cursor.peek() == 0x00) {  // peek() is 0 at the end too
                    m_mgr.OpenList(m_pMsg);
                    RecordCell(head, 0);
                    m_mgr.CloseList(m_pMsg);
                    ++m_listSeen[m_d];
                    return m_cursor.remaining() ? EndAtTerminator() : EndAtBoundary();
                }
                OpenList(head);
                continue;
            }
            DataItem(head);
        }
    }

private:
    void CompleteLists() {
        while (m_listSeen[m_d] == m_listSize[m_d]) {
            if (m_pMsg->m_pCurrent)
                m_pMsg->m_pCurrent->m_nCount = static_cast<int>(m_listSize[m_d]);
            SetListExtent(m_listCell[m_d]);
            m_mgr.CloseList(m_pMsg);
            --m_d;
            if (m_itemLength[m_d] != m_listSize[m_d]) break;
            ++m_listSeen[m_d];
        }
    }

    void OpenList(const SItemHead& head) {
        m_mgr.OpenList(m_pMsg);
        RecordCell(head, 0);
        ++m_d;
        Put(m_listSize, m_d, std::int64_t{head.nLength});
        Put(m_listSeen, m_d, std::int64_t{0});
        Put(m_listCell, m_d, m_pMsg->m_cells.size() - 1);
    }

    void DataItem(const SItemHead& head) {
        const auto data = m_cursor.take(static_cast<std::size_t>(head.nLength));
        const int nCode = FormatCodeOfByte(head.bFormat);
        if (const DecodeFn fn = FindDecoder(nCode)) {
            (m_decoder.*fn)(m_pMsg, data.data(), static_cast<int>(data.size()));
            RecordCell(head, data.size());
            NoteDataFaults(head, nCode, data.size());
        } else {
            if (data.size() < static_cast<std::size_t>(head.nLength)) m_bCut = true;
            if (head.nLengthRead == head.nLengthBytes)  // else the length cut is told
                Note(EDiagnostic::kUnknownFormat, head.nOffset, head.bFormat, U32(head.nLength),
                     U32(data.size()));
        }
        ++m_listSeen[m_d];
    }

    // The value decoders append exactly one cell; should one ever append
    // none or more, the map is realigned with m_cells (a cell without an
    // entry of its own gets the next one's place).
    void RecordCell(const SItemHead& head, std::size_t nPresent) {
        auto& map = m_pMsg->m_cellBytes;
        const std::size_t nCells = m_pMsg->m_cells.size();
        if (map.size() + 1 != nCells) [[unlikely]] {
            if (nCells <= map.size()) return;
            map.resize(nCells - 1);
        }
        map.push_back({U32(head.nOffset), static_cast<std::uint32_t>(head.nLength) & 0xFFFFFF,
                       static_cast<std::uint32_t>(head.nLengthRead), U32(nPresent)});
    }

    void SetListExtent(std::size_t nCell) {
        if (nCell >= m_pMsg->m_cellBytes.size()) return;
        SCellBytes& b = m_pMsg->m_cellBytes[nCell];
        b.nPresent = U32(m_cursor.offset() - DataStart(b));
    }

    void NoteLengthCut(const SItemHead& head) {
        if (head.nLengthRead < head.nLengthBytes) m_bCut = true;
        if (head.nLengthRead < head.nLengthBytes)
            Note(EDiagnostic::kLengthCut, head.nOffset, head.bFormat, U32(head.nLengthBytes),
                 U32(head.nLengthRead));
    }

    void NoteDataFaults(const SItemHead& head, int nCode, std::size_t nPresent) {
        if (head.nLengthRead < head.nLengthBytes) return;  // already told
        if (nPresent < static_cast<std::size_t>(head.nLength)) {
            m_bCut = true;
            Note(EDiagnostic::kDataCut, head.nOffset, head.bFormat, U32(head.nLength),
                 U32(nPresent));
            return;
        }
        // One element per byte, or a whole number of elements of any width.
        if ((nPresent & 7) == 0) return;
        if (static_cast<std::size_t>(m_pMsg->m_cells.back()->m_nCount) == nPresent) return;
        const SFormat* pFormat = FindFormat(nCode);
        // Widths are 1, 2, 4 or 8: a mask takes the remainder without a division.
        const std::size_t nExtra =
            pFormat ? nPresent & static_cast<std::size_t>(pFormat->nWireWidth - 1) : 0;
        if (nExtra)
            Note(EDiagnostic::kPartialElement, head.nOffset, head.bFormat, U32(head.nLength),
                 U32(nExtra));
    }

    void EndWithStyleByte(int* pStyle) {
        const std::size_t nOffset = m_cursor.offset();
        const unsigned char b = m_cursor.take(1)[0];
        StoreStyle(b, pStyle);
        Finish(nOffset, true);
        Note(EDiagnostic::kStyleByte, nOffset, b, 0, b == '0' || b == '1');
    }

    void EndAtBoundary() { Finish(m_cursor.offset(), true); }

    void EndAtTerminator() {
        const std::size_t nOffset = m_cursor.offset();
        Finish(nOffset, false);
        Note(EDiagnostic::kTerminator, nOffset, 0, 0, U32(m_cursor.remaining() - 1));
    }

    // Lists still open when the items end: their extent runs to nEnd and each
    // is reported there; with none open, a walk that stopped at an item
    // boundary (bBoundary) ended cleanly.
    void Finish(std::size_t nEnd, bool bBoundary) {
        for (int d = 1; d <= m_d; ++d) {
            const std::size_t nCell = m_listCell[static_cast<std::size_t>(d)];
            SetListExtent(nCell);
            const std::uint32_t nList =
                nCell < m_pMsg->m_cellBytes.size() ? m_pMsg->m_cellBytes[nCell].nOffset : U32(nEnd);
            Note(EDiagnostic::kListOpen, nEnd, nList, U32(m_listSize[d]), U32(m_listSeen[d]));
        }
        if (m_d == 0 && !m_bCut && bBoundary) Note(EDiagnostic::kCleanEnd, nEnd, 0, 0, 0);
        std::stable_sort(
            m_pMsg->m_diagnostics.begin(), m_pMsg->m_diagnostics.end(),
            [](const SDiagnostic& a, const SDiagnostic& b) { return a.nOffset < b.nOffset; });
    }

    void Note(EDiagnostic eKind, std::size_t nOffset, std::uint32_t nValue, std::uint32_t nDeclared,
              std::uint32_t nPresent) {
        m_pMsg->m_diagnostics.push_back({eKind, U32(nOffset), nValue, nDeclared, nPresent});
    }

    CDecode& m_decoder;
    CMsgMgr& m_mgr;
    CMsgInfo* m_pMsg;
    CByteCursor& m_cursor;
    // Indexed by depth; the top level (-1) is never complete. 64-bit because
    // the top level may count more items than an int holds.
    std::vector<std::int64_t> m_listSize{-1};
    std::vector<std::int64_t> m_listSeen{0};
    // Indexed by depth + 1: length of the last item read at each depth. It
    // equals listSize at a level exactly when that level is a list.
    std::vector<std::int64_t> m_itemLength{0};
    std::vector<std::size_t> m_listCell{0};  // by depth: the open list's index in m_cells
    int m_d = 0;
    bool m_bCut = false;  // the last item ran past the end of the data
};

}  // namespace

void WalkItems(CDecode& decoder, CMsgInfo* pMsg, CByteCursor& cursor, int* pStyle) {
    CWalk(decoder, pMsg, cursor).Run(pStyle);
    auto& map = pMsg->m_cellBytes;
    if (map.capacity() > 2 * map.size() + 64) map.shrink_to_fit();
}
