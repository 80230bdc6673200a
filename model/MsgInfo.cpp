#include "model/MsgInfo.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>

#include "model/FormatTable.h"

CMsgInfo::CMsgInfo() {
    using namespace std::chrono;
    m_dwCreated = static_cast<unsigned int>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

// Cells go last first, so no cell outlives a cell that comes after it in
// document order, and the current-list pointer never dangles meanwhile.
CMsgInfo::~CMsgInfo() {
    while (!m_cells.empty()) {
        CMsgCell* pCell = m_cells.back().get();
        std::free(pCell->m_pValues);
        pCell->m_pValues = nullptr;
        m_pCurrent = nullptr;
        m_cells.pop_back();
    }
    m_pLastTop = nullptr;
    while (!m_passItems.empty()) m_passItems.pop_back();
}

bool IsCleanMessage(const CMsgInfo& msg) {
    for (const SDiagnostic& d : msg.m_diagnostics)
        if (IsDamage(d.eKind)) return false;
    return true;
}

SByteRange DiagnosticRange(const SDiagnostic& d) {
    const std::uint64_t nOffset = d.nOffset;
    const std::uint64_t nHead = nOffset + 1 + (d.nValue & 3);  // format and length bytes
    switch (d.eKind) {
        case EDiagnostic::kCleanEnd:
            return {nOffset, nOffset};
        case EDiagnostic::kStyleByte:
            return {nOffset, nOffset + 1};
        case EDiagnostic::kHeaderOnly:
            return {0, nOffset};
        case EDiagnostic::kTerminator:
            return {nOffset, nOffset + 1 + d.nPresent};
        case EDiagnostic::kDataCut:
        case EDiagnostic::kUnknownFormat:
            return {nOffset, nHead + d.nPresent};
        case EDiagnostic::kLengthCut:
            return {nOffset, nOffset + 1 + d.nPresent};
        case EDiagnostic::kListOpen:
            return {d.nValue, nOffset};
        case EDiagnostic::kPartialElement:
            return {nOffset, nHead + d.nDeclared};
        case EDiagnostic::kNonFinalBlock:
            return {nOffset, d.nPresent};
        case EDiagnostic::kShortFile:
            return {0, nOffset};
    }
    return {nOffset, nOffset};
}

// Cells start in document order, which is file order: the last cell starting
// at or before nOffset is the only one whose own bytes can hold it.
int CellAtOffset(const CMsgInfo& msg, std::uint64_t nOffset) {
    const auto& map = msg.m_cellBytes;
    if (map.size() != msg.m_cells.size()) return -1;
    const auto it = std::upper_bound(
        map.begin(), map.end(), nOffset,
        [](std::uint64_t n, const SCellBytes& b) { return n < std::uint64_t{b.nOffset}; });
    if (it == map.begin()) return -1;
    const auto nIndex = static_cast<std::size_t>(it - map.begin() - 1);
    const CMsgCell* pCell = msg.m_cells[nIndex].get();
    const bool bList = pCell->m_nFormat == kFormatList;
    if (nOffset < (bList ? DataStart(map[nIndex]) : DataEnd(map[nIndex])))
        return static_cast<int>(nIndex);
    for (pCell = bList ? pCell : pCell->m_pParent; pCell; pCell = pCell->m_pParent) {
        const SCellBytes& b = map[static_cast<std::size_t>(pCell->m_nIndex)];
        if (nOffset < DataEnd(b)) return pCell->m_nIndex;
    }
    return -1;
}

// Every cell starts at its own row's offset, and no two rows start alike.
int RowOfCell(const CMsgInfo& msg, int nCell) {
    if (!msg.m_pDoc || nCell < 0 || static_cast<std::size_t>(nCell) >= msg.m_cellBytes.size())
        return -1;
    const auto& rows = msg.m_pDoc->m_rows;
    const std::uint32_t nOffset = msg.m_cellBytes[static_cast<std::size_t>(nCell)].nOffset;
    const auto it =
        std::lower_bound(rows.begin(), rows.end(), nOffset,
                         [](const SItemRow& row, std::uint32_t n) { return row.nOffset < n; });
    return it != rows.end() && it->nOffset == nOffset ? static_cast<int>(it - rows.begin()) : -1;
}
