#include "render/TreeLabels.h"

#include "model/FormatTable.h"
#include "render/FormatText.h"
#include "render/NumberText.h"
#include "render/ValueText.h"

std::string RootLabelText(int nStream, int nFunction, bool bWait) {
    std::string str = "S";
    AppendDecimal(str, nStream);
    str += 'F';
    AppendDecimal(str, nFunction);
    if (bWait) str += 'W';
    return str;
}

std::string GetRootLabel(const CMsgInfo& msg) {
    return RootLabelText(msg.m_nStream, msg.m_nFunction, msg.m_bWBit != 0);
}

std::string GetTreeLabel(const CMsgCell& cell, int nStyleFlag) {
    std::string str(GetFormatName(cell.m_nFormat, nStyleFlag));
    str += '[';
    AppendDecimal(str, cell.m_nCount);
    str += "] ";
    AppendValueText(str, cell, EValueText::kTree);
    // Only an empty JIS-8 label loses its blank; every other label keeps it.
    if (cell.m_nFormat == kFormatJis8 && cell.m_nCount == 0) TrimRight(str);
    return str;
}

// Document order without recursion: descend through first children, and
// when a cell has no next sibling climb through parent links (the node of
// the parent is already known as the current parent index).
CLabelTree BuildLabelTree(const CMsgInfo& msg, int nStyleFlag) {
    CLabelTree tree;
    tree.m_strRoot = GetRootLabel(msg);
    if (msg.m_cells.empty()) return tree;
    tree.m_nodes.reserve(msg.m_cells.size());
    const CMsgCell* pCell = msg.m_cells.front().get();
    int nParent = -1;
    int nPrev = -1;  // previous sibling's node under nParent
    int nDepth = 0;
    while (pCell) {
        const int nIndex = static_cast<int>(tree.m_nodes.size());
        CLabelNode& node = tree.m_nodes.emplace_back();
        node.m_strLabel = GetTreeLabel(*pCell, nStyleFlag);
        node.m_nParent = nParent;
        node.m_nDepth = nDepth;
        if (nPrev >= 0) {
            tree.m_nodes[nPrev].m_nNext = nIndex;
            node.m_nRow = tree.m_nodes[nPrev].m_nRow + 1;
        } else if (nParent >= 0) {
            tree.m_nodes[nParent].m_nFirstChild = nIndex;
        }
        if (nParent >= 0)
            ++tree.m_nodes[nParent].m_nChildCount;
        else
            ++tree.m_nTopCount;
        if (pCell->m_pFirstChild) {
            nParent = nIndex;
            nPrev = -1;
            ++nDepth;
            pCell = pCell->m_pFirstChild;
            continue;
        }
        nPrev = nIndex;
        while (pCell && !pCell->m_pNext) {
            pCell = pCell->m_pParent;
            if (!pCell) break;
            if (nParent < 0) pCell = nullptr;  // parent links disagree with the walk
            if (!pCell) break;
            nPrev = nParent;
            nParent = tree.m_nodes[nParent].m_nParent;
            --nDepth;
        }
        pCell = pCell ? pCell->m_pNext : nullptr;
    }
    return tree;
}
