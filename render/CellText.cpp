#include "render/CellText.h"

#include "decode/Decode.h"
#include "model/FormatTable.h"
#include "render/FormatText.h"
#include "render/ValueText.h"

namespace {

void AppendHead(std::string& out, const CMsgCell& cell, int nStyle) {
    if (nStyle)
        AppendFormat(out, "%s,%5d", GetFormatName(cell.m_nFormat, 1).c_str(), cell.m_nCount);
    else
        AppendFormat(out, "<%s[%d/%d]", GetFormatName(cell.m_nFormat, 0).c_str(), cell.m_nCount,
                     LengthByteCount(cell.m_nCount));
}

}  // namespace

void AppendListHead(std::string& out, const CMsgCell& list, int nStyle) {
    AppendHead(out, list, nStyle);
}

void AppendCellText(std::string& out, const CMsgCell& cell, int nStyle) {
    const size_t nStart = out.size();
    AppendHead(out, cell, nStyle);
    out += nStyle ? ", " : " ";
    // Column style brackets exactly the formats it opened a bracket for, so
    // an unknown format reads ",    1," rather than ",    1,>".
    const bool bBrackets = !nStyle || HasColumnBrackets(cell.m_nFormat);
    if (nStyle && bBrackets) out += '<';
    AppendValueText(out, cell, nStyle ? EValueText::kColumn : EValueText::kBracket);
    TrimRight(out, nStart);
    if (bBrackets) out += '>';
}

std::string CDecode::GetCellText(const CMsgCell* pCell, int nStyle) const {
    std::string str;
    if (pCell) AppendCellText(str, *pCell, nStyle);
    return str;
}
