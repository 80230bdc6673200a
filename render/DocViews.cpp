#include "render/DocViews.h"

#include "decode/MsgDocWalk.h"
#include "model/FormatTable.h"

namespace {

CMsgDoc DocOfCopy(const unsigned char* pData, std::size_t nSize) {
    return DecodeMsgDoc(pData ? std::vector<unsigned char>(pData, pData + nSize)
                              : std::vector<unsigned char>());
}

std::span<const unsigned char> DataIn(const unsigned char* pBase, const SItemRow& row) {
    if (row.nFormat == kFormatList) return {};
    return {pBase + RowDataStart(row), row.nPresent};
}

}  // namespace

std::vector<SItemView> DocItemViews(const CMsgDoc& doc, const unsigned char* pBase) {
    if (!pBase) pBase = doc.m_bytes.data();
    std::vector<SItemView> views;
    views.reserve(doc.m_rows.size());
    for (const SItemRow& row : doc.m_rows) {
        const bool bList = row.nFormat == kFormatList;
        views.push_back({row.nFormat, bList ? row.nDeclared : std::uint32_t(RowElementCount(row)),
                         row.nParent, row.nOffset, DataIn(pBase, row)});
    }
    return views;
}

SDiffMessage DiffMessageOfDoc(const CMsgDoc& doc, const unsigned char* pBase) {
    if (!pBase) pBase = doc.m_bytes.data();
    const SHeaderFields h = DocHeader(doc);
    SDiffMessage msg;
    msg.header = {h.nStream, h.nFunction, h.bWBit != 0, h.nDeviceId, h.dwSystemBytes};
    msg.items.reserve(doc.m_rows.size());
    for (const SItemRow& row : doc.m_rows)
        msg.items.push_back(
            {row.nFormat, row.nParent, row.nOffset, DataIn(pBase, row), RowElementCount(row)});
    return msg;
}

std::vector<SItemView> ItemViewsOfBytes(const unsigned char* pData, std::size_t nSize) {
    return DocItemViews(DocOfCopy(pData, nSize), pData);
}

SDiffMessage DiffMessageOfBytes(const unsigned char* pData, std::size_t nSize) {
    return DiffMessageOfDoc(DocOfCopy(pData, nSize), pData);
}
