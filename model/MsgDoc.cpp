#include "model/MsgDoc.h"

#include <algorithm>

#include "model/FormatTable.h"

std::uint64_t RowDataStart(const SItemRow& row) {
    return std::uint64_t{row.nOffset} + 1 + row.nLengthRead;
}

std::uint64_t RowDataEnd(const SItemRow& row) { return RowDataStart(row) + row.nPresent; }

std::span<const unsigned char> RowData(const CMsgDoc& doc, std::size_t nRow) {
    if (nRow >= doc.m_rows.size()) return {};
    const SItemRow& row = doc.m_rows[nRow];
    if (row.nFormat == kFormatList) return {};
    const std::uint64_t nBegin = RowDataStart(row);
    const std::uint64_t nEnd = RowDataEnd(row);
    if (nEnd > doc.m_bytes.size()) return {};  // never for a row the walk made
    return {doc.m_bytes.data() + nBegin, static_cast<std::size_t>(nEnd - nBegin)};
}

std::size_t RowElementCount(const SItemRow& row) {
    const SFormat* pFormat = FindFormat(row.nFormat);
    if (!pFormat || pFormat->nWireWidth == 0) return 0;
    return row.nPresent / static_cast<std::size_t>(pFormat->nWireWidth);
}

bool IsKnownRow(const SItemRow& row) { return FormatIndexOf(row.nFormat) >= 0; }

// Rows start in file order: the last row starting at or before nOffset is the
// only one whose own bytes can hold it.
int RowAtOffset(const CMsgDoc& doc, std::uint64_t nOffset) {
    const auto& rows = doc.m_rows;
    const auto it = std::upper_bound(
        rows.begin(), rows.end(), nOffset,
        [](std::uint64_t n, const SItemRow& row) { return n < std::uint64_t{row.nOffset}; });
    if (it == rows.begin()) return -1;
    auto nRow = static_cast<std::int64_t>(it - rows.begin() - 1);
    const SItemRow& row = rows[static_cast<std::size_t>(nRow)];
    const bool bList = row.nFormat == kFormatList;
    if (nOffset < (bList ? RowDataStart(row) : RowDataEnd(row))) return static_cast<int>(nRow);
    if (!bList) nRow = row.nParent;
    for (; nRow >= 0; nRow = rows[static_cast<std::size_t>(nRow)].nParent)
        if (nOffset < RowDataEnd(rows[static_cast<std::size_t>(nRow)]))
            return static_cast<int>(nRow);
    return -1;
}

bool IsCleanDoc(const CMsgDoc& doc) {
    return std::none_of(doc.m_findings.begin(), doc.m_findings.end(),
                        [](const SDiagnostic& d) { return IsDamage(d.eKind); });
}
