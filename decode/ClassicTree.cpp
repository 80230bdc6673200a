#include "decode/ClassicTree.h"

#include "model/FormatTable.h"

namespace {

// The walk of the classic viewer stops on an empty list that is followed by
// nothing or by a 0x00 without closing the lists around it.
bool EndsInBareEmptyList(const CMsgDoc& doc) {
    if (doc.m_rows.empty()) return false;
    const SItemRow& last = doc.m_rows.back();
    if (last.nFormat != kFormatList || last.nDeclared != 0) return false;
    const std::uint64_t nNext = RowDataStart(last);
    return nNext >= doc.m_bytes.size() || doc.m_bytes[nNext] == 0x00;
}

}  // namespace

CClassicTree::CClassicTree(const CMsgDoc& doc) : m_doc(doc) {
    const auto& rows = doc.m_rows;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].nParent >= 0 || !IsKnownRow(rows[i])) continue;
        if (m_nAnchor >= 0)
            ++m_nJoined;
        else if (rows[i].nFormat == kFormatList)
            m_nAnchor = static_cast<std::int32_t>(i);
    }
    FindOpenLists();
}

// Only the last row and the lists around it can still be open.
void CClassicTree::FindOpenLists() {
    const auto& rows = m_doc.m_rows;
    if (rows.empty()) return;
    const bool bBare = EndsInBareEmptyList(m_doc);
    auto nRow = static_cast<std::int32_t>(rows.size() - 1);
    if (bBare || rows[static_cast<std::size_t>(nRow)].nFormat != kFormatList)
        nRow = rows[static_cast<std::size_t>(nRow)].nParent;
    std::vector<SOpenList> chain;
    for (; nRow >= 0; nRow = rows[static_cast<std::size_t>(nRow)].nParent) {
        const SItemRow& list = rows[static_cast<std::size_t>(nRow)];
        if (bBare || list.nChildren < list.nDeclared) chain.push_back({nRow, 0});
    }
    if (chain.empty()) return;
    m_open.assign(chain.rbegin(), chain.rend());
    // Rows under an open list all come after the outermost one.
    for (std::size_t i = static_cast<std::size_t>(m_open.front().nRow) + 1; i < rows.size(); ++i) {
        if (!IsKnownRow(rows[i]) || rows[i].nParent < 0) continue;
        const std::size_t n = OpenIndex(rows[i].nParent);
        if (n < m_open.size()) ++m_open[n].nCells;
    }
}

// Open lists nest, so their depths rise along m_open. m_open.size() when
// nRow is not an open list.
std::size_t CClassicTree::OpenIndex(std::int32_t nRow) const {
    const std::uint32_t nDepth = m_doc.m_rows[static_cast<std::size_t>(nRow)].nDepth;
    std::size_t lo = 0, hi = m_open.size();
    while (lo < hi) {
        const std::size_t mid = (lo + hi) / 2;
        const std::uint32_t d = m_doc.m_rows[static_cast<std::size_t>(m_open[mid].nRow)].nDepth;
        if (d < nDepth)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo < m_open.size() && m_open[lo].nRow == nRow ? lo : m_open.size();
}

std::int32_t CClassicTree::Parent(std::size_t nRow) const {
    const std::int32_t nParent = m_doc.m_rows[nRow].nParent;
    if (nParent >= 0) return nParent;
    return m_nAnchor >= 0 && static_cast<std::int32_t>(nRow) > m_nAnchor ? m_nAnchor : -1;
}

int CClassicTree::Count(std::size_t nRow) const {
    const SItemRow& row = m_doc.m_rows[nRow];
    if (row.nFormat != kFormatList) return static_cast<int>(RowElementCount(row));
    const std::size_t n = OpenIndex(static_cast<std::int32_t>(nRow));
    if (n < m_open.size()) return m_open[n].nCells;
    const int nJoined = static_cast<std::int32_t>(nRow) == m_nAnchor ? m_nJoined : 0;
    return static_cast<int>(row.nDeclared) + nJoined;
}

std::int32_t CClassicTree::Current() const {
    return m_open.empty() ? m_nAnchor : m_open.back().nRow;
}
