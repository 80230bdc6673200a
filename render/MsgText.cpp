#include "render/MsgText.h"

#include "decode/Decode.h"
#include "model/FormatTable.h"
#include "model/MsgMgr.h"
#include "render/CellText.h"
#include "render/FormatText.h"
#include "render/ValueText.h"

namespace {

// Appends lines to one growing text. Every line starts with its line feed,
// the tab prefix and the indentation; the listing has no line terminators.
class CListingWriter {
public:
    CListingWriter(std::string& out, int nTabs, int nStyle)
        : m_out(out), m_strTabs(MakeTabs(nTabs)), m_nStyle(nStyle) {}

    void StartLine(int nLevel) {
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
};

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
    out += writer.Tabs();
    if (nStyle)
        AppendFormat(out, "S%d,F%d%s", pMsg->m_nStream, pMsg->m_nFunction,
                     pMsg->m_bWBit ? ",W" : "");
    else
        AppendFormat(out, "<S%dF%d%s", pMsg->m_nStream, pMsg->m_nFunction,
                     pMsg->m_bWBit ? "W" : "");
    CMsgCell* pFirst = mgr.FirstCell(pMsg);
    if (!pFirst) {
        out += nStyle ? "\n" : ">";
        return out;
    }
    WalkCells(writer, pFirst);
    out += '\n';
    out += writer.Tabs();
    if (!nStyle) out += '>';
    return out;
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
