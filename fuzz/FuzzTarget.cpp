#include "fuzz/FuzzTarget.h"

#include <climits>
#include <cstdlib>
#include <string>
#include <vector>

#include "decode/Decode.h"
#include "model/FormatTable.h"
#include "render/MsgText.h"
#include "render/TreeLabels.h"

namespace {

// Every storage block holds m_nCount elements and one zero byte; reading all
// of it lets AddressSanitizer check the block's size.
void TouchStorage(const CMsgCell& cell) {
    const SFormat* pFormat = FindFormat(cell.m_nFormat);
    if (!pFormat) std::abort();
    if (cell.m_nFormat == kFormatList) {
        if (cell.m_pValues) std::abort();
        return;
    }
    const auto* pBytes = static_cast<const volatile unsigned char*>(cell.m_pValues);
    const std::size_t nBytes = static_cast<std::size_t>(cell.m_nCount) * pFormat->nStoreWidth;
    unsigned char nSum = 0;
    for (std::size_t i = 0; i < nBytes; ++i) nSum = static_cast<unsigned char>(nSum + pBytes[i]);
    (void)nSum;
    if (pBytes[nBytes] != 0) std::abort();
}

// Every cell's own bytes (a list's header, a data item's header and data),
// every skipped item, the style byte and an ignored tail: each byte of the
// file belongs to at most one of them, and the findings reach exactly to the
// end of the data.
void CheckByteMap(const CMsgInfo& msg, std::size_t nSize) {
    if (msg.m_cellBytes.size() != msg.m_cells.size()) std::abort();
    std::vector<unsigned char> owned(nSize, 0);
    const auto claim = [&](std::uint64_t nBegin, std::uint64_t nEnd) {
        if (nBegin > nEnd || nEnd > nSize) std::abort();
        for (std::uint64_t k = nBegin; k < nEnd; ++k) {
            if (owned[k]) std::abort();
            owned[k] = 1;
        }
    };
    for (std::size_t i = 0; i < msg.m_cells.size(); ++i) {
        const SCellBytes& b = msg.m_cellBytes[i];
        const bool bList = msg.m_cells[i]->m_nFormat == kFormatList;
        claim(b.nOffset, DataStart(b) + (bList ? 0 : b.nPresent));
    }
    std::uint64_t nReach = 0;
    for (const SDiagnostic& d : msg.m_diagnostics) {
        const SByteRange r = DiagnosticRange(d);
        if (r.nBegin > r.nEnd || r.nEnd > nSize) std::abort();
        if (r.nEnd > nReach) nReach = r.nEnd;
        if (d.eKind == EDiagnostic::kUnknownFormat || d.eKind == EDiagnostic::kStyleByte ||
            d.eKind == EDiagnostic::kTerminator)
            claim(r.nBegin, r.nEnd);
    }
    if (nReach != nSize) std::abort();
}

}  // namespace

void FuzzOneMessage(const unsigned char* data, size_t size) {
    if (size > UINT_MAX) size = UINT_MAX;
    CDecode decoder;
    int nStyle = 1;
    const auto pMsg = decoder.Decode(data, static_cast<unsigned int>(size), &nStyle);
    if (!pMsg || (nStyle != 0 && nStyle != 1)) std::abort();
    CheckByteMap(*pMsg, size);
    for (const auto& pCell : pMsg->m_cells) {
        TouchStorage(*pCell);
        // Links point at cells of this message: reading through them is
        // checked by AddressSanitizer too.
        if (pCell->m_pParent && pCell->m_pParent->m_nFormat != kFormatList) std::abort();
        if (pCell->m_pNext && pCell->m_pNext->m_pPrev != pCell.get()) std::abort();
    }
    // Both text forms must cope with whatever the decoder built. Every cell is
    // reachable from the first one, so the tree has one node per cell, and a
    // listing depends on nothing but the message; the listing made straight
    // from the document is the same text.
    for (int nStyleFlag : {0, 1}) {
        const std::string strFirst = decoder.GetMsgText(pMsg.get(), 1, nStyleFlag);
        if (decoder.GetMsgText(pMsg.get(), 1, nStyleFlag) != strFirst) std::abort();
        std::string strFromDoc;
        ListDoc(*pMsg->m_pDoc, 1, nStyleFlag, strFromDoc);
        if (strFromDoc != strFirst) std::abort();
        const CLabelTree tree = BuildLabelTree(*pMsg, nStyleFlag);
        if (tree.m_nodes.size() != pMsg->m_cells.size()) std::abort();
    }
}
