#include "render/MsgText.h"

#include "decode/ClassicTree.h"
#include "decode/Decode.h"
#include "decode/HeaderFields.h"
#include "decode/MsgDocWalk.h"
#include "model/FormatTable.h"
#include "model/MsgMgr.h"
#include "render/CellText.h"
#include "render/FormatText.h"
#include "render/NumberText.h"
#include "render/ValueText.h"

namespace {

// Appends lines to one growing text. Every line starts with its line feed,
// the tab prefix and the indentation; the listing has no line terminators.
class CListingWriter {
public:
    CListingWriter(std::string& out, int nTabs, int nStyle, const TextFlush* pFlush = nullptr)
        : m_out(out), m_strTabs(MakeTabs(nTabs)), m_nStyle(nStyle), m_pFlush(pFlush) {}

    void StartLine(int nLevel) {
        FlushIfFull(m_out, m_pFlush);
        m_out += '\n';
        m_out += m_strTabs;
        if (nLevel > 0) m_out.append(3 * static_cast<size_t>(nLevel), ' ');
    }
    // A list head ends in as many blanks as its entries are indented.
    void ListHead(const CMsgCell& list, int nLevel) {
        StartLine(nLevel);
        AppendListHead(m_out, list, m_nStyle);
        if (nLevel >= 0) m_out.append(3 * static_cast<size_t>(nLevel + 1), ' ');
    }
    void EmptyList(const CMsgCell& list, int nLevel) {
        StartLine(nLevel);
        AppendListHead(m_out, list, m_nStyle);
        if (!m_nStyle) m_out += '>';
    }
    void Close(int nLevel) {
        if (m_nStyle) return;
        StartLine(nLevel);
        m_out += '>';
    }
    void Value(const CMsgCell& cell, int nLevel) {
        StartLine(nLevel);
        AppendCellText(m_out, cell, m_nStyle);
        if (!cell.m_strComment.empty()) {
            m_out += "   /* ";
            m_out += cell.m_strComment;
            m_out += " */";
        }
    }
    const std::string& Tabs() const { return m_strTabs; }

private:
    std::string& m_out;
    std::string m_strTabs;
    int m_nStyle;
    const TextFlush* m_pFlush;
};

// "<S6F11W" or "S6,F11,W", after the tab prefix.
void AppendMsgHead(std::string& out, const std::string& strTabs, int nStream, int nFunction,
                   bool bWait, int nStyle) {
    out += strTabs;
    out += nStyle ? "S" : "<S";
    AppendDecimal(out, nStream);
    out += nStyle ? ",F" : "F";
    AppendDecimal(out, nFunction);
    if (bWait) out += nStyle ? ",W" : "W";
}

// The end of a listing with items: a last line break, the tab prefix and,
// in bracket style, the message's closing ">".
void AppendMsgEnd(std::string& out, const std::string& strTabs, int nStyle) {
    out += '\n';
    out += strTabs;
    if (!nStyle) out += '>';
}

// One line per cell, in document order, without recursion: the position is
// the current cell and its level, and the way back up is the parent link.
// A list with children is written as head, entries and (bracket style) a
// ">" line, whatever its stored count says, so a list that lost entries of
// an unknown format is still written exactly once. Top-level items follow
// each other at level 1. With pRoot set, the walk ends when pRoot is done.
void WalkCells(CListingWriter& writer, CMsgCell* pCell, int nLevel = 1,
               const CMsgCell* pRoot = nullptr) {
    while (pCell) {
        if (pCell->m_nFormat == kFormatList && pCell->m_pFirstChild) {
            writer.ListHead(*pCell, nLevel);
            ++nLevel;
            pCell = pCell->m_pFirstChild;
            continue;
        }
        if (pCell->m_nFormat != kFormatList) {
            writer.Value(*pCell, nLevel);
        } else if (pCell->m_nCount == 0) {
            writer.EmptyList(*pCell, nLevel);
        } else {
            // Declared entries, none of them decodable.
            writer.ListHead(*pCell, nLevel);
            writer.Close(nLevel);
        }
        // pCell is finished: move to its next sibling, closing every list
        // whose last entry this was.
        while (pCell) {
            if (pCell == pRoot) return;
            if (pCell->m_pParent) ++pCell->m_pParent->m_nVisit;
            if (pCell->m_pNext) {
                pCell = pCell->m_pNext;
                break;
            }
            pCell = pCell->m_pParent;
            if (!pCell) break;
            --nLevel;
            writer.Close(nLevel);
        }
    }
}

}  // namespace

std::string ListMessage(CMsgInfo* pMsg, int nTabs, int nStyle) {
    std::string out;
    if (!pMsg || pMsg->m_nStatus < 0) return out;
    CMsgMgr mgr;
    mgr.ResetVisits(pMsg);
    // About one line of 48 characters per cell; a rough guess that saves
    // most regrowth on large messages.
    out.reserve(64 + pMsg->m_cells.size() * (48 + static_cast<size_t>(nTabs > 0 ? nTabs : 0)));
    CListingWriter writer(out, nTabs, nStyle);
    AppendMsgHead(out, writer.Tabs(), pMsg->m_nStream, pMsg->m_nFunction, pMsg->m_bWBit, nStyle);
    CMsgCell* pFirst = mgr.FirstCell(pMsg);
    if (!pFirst) {
        out += nStyle ? "\n" : ">";
        return out;
    }
    WalkCells(writer, pFirst);
    AppendMsgEnd(out, writer.Tabs(), nStyle);
    return out;
}

namespace {

// The rows of a document in the order and nesting of the classic cells
// (ClassicTree.h), written as WalkCells writes the cells: a list whose next
// cell is its own first entry opens, every other list is one line (or head
// and close when its entries were all of unknown formats).
class CDocListing {
public:
    CDocListing(const CMsgDoc& doc, CListingWriter& writer)
        : m_doc(doc), m_tree(doc), m_writer(writer) {}

    bool HasCells() const { return NextCell(0) < m_doc.m_rows.size(); }

    void Run() {
        for (std::size_t i = NextCell(0); i < m_doc.m_rows.size();) {
            const std::size_t nNext = NextCell(i + 1);
            CloseTo(m_tree.Parent(i));
            const int nLevel = static_cast<int>(m_open.size()) + 1;
            if (m_doc.m_rows[i].nFormat == kFormatList)
                List(i, nLevel,
                     nNext < m_doc.m_rows.size() &&
                         m_tree.Parent(nNext) == static_cast<std::int32_t>(i));
            else if (const auto pCell = m_decoder.MakeCell(m_doc, i, SIZE_MAX, &m_scratch))
                m_writer.Value(*pCell, nLevel);
            i = nNext;
        }
        CloseTo(-1);
    }

private:
    std::size_t NextCell(std::size_t i) const {
        while (i < m_doc.m_rows.size() && !m_tree.HasCell(i)) ++i;
        return i;
    }

    void List(std::size_t nRow, int nLevel, bool bOpens) {
        CMsgCell list;
        list.m_nFormat = kFormatList;
        list.m_nCount = m_tree.Count(nRow);
        if (bOpens) {
            m_writer.ListHead(list, nLevel);
            m_open.push_back(static_cast<std::int32_t>(nRow));
        } else if (list.m_nCount == 0) {
            m_writer.EmptyList(list, nLevel);
        } else {
            m_writer.ListHead(list, nLevel);
            m_writer.Close(nLevel);
        }
    }

    // Closes the open lists inside nList (all of them for -1).
    void CloseTo(std::int32_t nList) {
        while (!m_open.empty() && m_open.back() != nList) {
            m_open.pop_back();
            m_writer.Close(static_cast<int>(m_open.size()) + 1);
        }
    }

    const CMsgDoc& m_doc;
    const CClassicTree m_tree;
    CListingWriter& m_writer;
    CDecode m_decoder;
    CMsgInfo m_scratch;                // each value's cell is made in it, then taken out
    std::vector<std::int32_t> m_open;  // rows of the lists whose entries are being written
};

}  // namespace

void ListDoc(const CMsgDoc& doc, int nTabs, int nStyle, std::string& out, const TextFlush& flush) {
    CListingWriter writer(out, nTabs, nStyle, &flush);
    const SHeaderFields h = DocHeader(doc);
    AppendMsgHead(out, writer.Tabs(), h.nStream, h.nFunction, h.bWBit, nStyle);
    CDocListing listing(doc, writer);
    if (!listing.HasCells()) {
        out += nStyle ? "\n" : ">";
        return;
    }
    listing.Run();
    AppendMsgEnd(out, writer.Tabs(), nStyle);
}

std::string ListSubtree(CMsgCell* pCell, int nStyle) {
    std::string out;
    if (!pCell) return out;
    CListingWriter writer(out, 0, nStyle);
    WalkCells(writer, pCell, 0, pCell);
    return out.substr(1);  // every line starts with its line feed
}

std::string CDecode::GetMsgText(CMsgInfo* pMsg, int nTabs, int nStyle) {
    return ListMessage(pMsg, nTabs, nStyle);
}
