#include "decode/Decode.h"

#include "decode/ClassicTree.h"
#include "decode/DecoderTable.h"
#include "decode/HeaderFields.h"
#include "decode/MsgDocWalk.h"
#include "model/FormatTable.h"

namespace {

// Cells go under the list that the classic tree names, in row order, so
// m_cells stays in document order and each cell's m_nIndex is its place.
void AddCells(CDecode& decoder, CMsgInfo& msg, const CMsgDoc& doc) {
    const CClassicTree tree(doc);
    std::vector<CMsgCell*> cellOfRow(doc.m_rows.size(), nullptr);
    msg.m_cellBytes.reserve(doc.m_rows.size());
    for (std::size_t i = 0; i < doc.m_rows.size(); ++i) {
        if (!tree.HasCell(i)) continue;
        const SItemRow& row = doc.m_rows[i];
        const std::int32_t nParent = tree.Parent(i);
        msg.m_pCurrent = nParent >= 0 ? cellOfRow[static_cast<std::size_t>(nParent)] : nullptr;
        if (row.nFormat == kFormatList) {
            decoder.m_pMgr->OpenList(&msg);
        } else {
            const auto data = RowData(doc, i);
            (decoder.*FindDecoder(row.nFormat))(&msg, data.data(), static_cast<int>(data.size()));
        }
        cellOfRow[i] = msg.m_cells.back().get();
        msg.m_cellBytes.push_back(
            {row.nOffset, row.nDeclared & 0xFFFFFF, row.nLengthRead, row.nPresent});
    }
    // The builder counted the cells it linked; the classic counts replace that.
    for (std::size_t i = 0; i < doc.m_rows.size(); ++i)
        if (cellOfRow[i] && doc.m_rows[i].nFormat == kFormatList)
            cellOfRow[i]->m_nCount = tree.Count(i);
    const std::int32_t nCurrent = tree.Current();
    msg.m_pCurrent = nCurrent >= 0 ? cellOfRow[static_cast<std::size_t>(nCurrent)] : nullptr;
}

}  // namespace

CDecode::CDecode() : m_pMgr(new CMsgMgr) {}

CDecode::~CDecode() {
    delete m_pMgr;
    m_pMgr = nullptr;
}

int CDecode::ParseHeader(CMsgInfo* pMsg, const unsigned char* pHeader) {
    if (!pMsg || !pHeader || pMsg->m_nStatus < 0) return 0;
    const SHeaderFields h = ReadHeaderFields(pHeader, 10);
    pMsg->m_bRBit = h.bRBit;
    pMsg->m_nDeviceId = h.nDeviceId;
    pMsg->m_bWBit = h.bWBit;
    pMsg->m_nStream = h.nStream;
    pMsg->m_nFunction = h.nFunction;
    pMsg->m_bEBit = h.bEBit;
    pMsg->m_nBlock = h.nBlock;
    pMsg->m_dwSystemBytes = h.dwSystemBytes;
    return 1;
}

std::unique_ptr<CMsgInfo> CDecode::Decode(const unsigned char* pData, unsigned int size,
                                          int* pStyle) {
    std::vector<unsigned char> bytes;
    if (pData) bytes.assign(pData, pData + size);
    auto pDoc = std::make_shared<const CMsgDoc>(DecodeMsgDoc(std::move(bytes)));
    ApplyStyleByte(*pDoc, pStyle);
    return MakeMsgInfo(std::move(pDoc));
}

std::unique_ptr<CMsgCell> CDecode::MakeCell(const CMsgDoc& doc, std::size_t nRow,
                                            std::size_t nMaxBytes, CMsgInfo* pScratch) {
    if (nRow >= doc.m_rows.size()) return nullptr;
    const DecodeFn fn = FindDecoder(doc.m_rows[nRow].nFormat);
    if (!fn) return nullptr;
    std::unique_ptr<CMsgInfo> pLocal;
    if (!pScratch) pScratch = (pLocal = std::make_unique<CMsgInfo>()).get();
    CMsgInfo& scratch = *pScratch;
    auto data = RowData(doc, nRow);
    if (data.size() > nMaxBytes) {
        const SFormat* pFormat = FindFormat(doc.m_rows[nRow].nFormat);
        const std::size_t nWidth = pFormat && pFormat->nWireWidth ? pFormat->nWireWidth : 1;
        data = data.first(nMaxBytes - nMaxBytes % nWidth);
    }
    (this->*fn)(&scratch, data.data(), static_cast<int>(data.size()));
    if (scratch.m_cells.empty()) return nullptr;
    std::unique_ptr<CMsgCell> pCell = std::move(scratch.m_cells.back());
    scratch.m_cells.pop_back();
    scratch.m_pLastTop = nullptr;
    pCell->m_nIndex = -1;
    return pCell;
}

// A file shorter than the header reads as if the missing bytes were zero.
std::unique_ptr<CMsgInfo> CDecode::MakeMsgInfo(std::shared_ptr<const CMsgDoc> pDoc) {
    auto pMsg = std::make_unique<CMsgInfo>();
    if (!pDoc) return pMsg;
    unsigned char header[10] = {};
    for (std::size_t i = 0; i < 10 && i < pDoc->m_bytes.size(); ++i) header[i] = pDoc->m_bytes[i];
    ParseHeader(pMsg.get(), header);
    for (const SDiagnostic& d : pDoc->m_findings)
        if (d.eKind == EDiagnostic::kNonFinalBlock) pMsg->m_bIncomplete = 1;
    AddCells(*this, *pMsg, *pDoc);
    pMsg->m_diagnostics = pDoc->m_findings;
    pMsg->m_pDoc = std::move(pDoc);
    return pMsg;
}
