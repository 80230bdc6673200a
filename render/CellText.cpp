#include "render/CellText.h"

#include "decode/Decode.h"
#include "render/FormatText.h"
#include "render/NumberText.h"
#include "render/ValueText.h"

namespace {

// "%s,%5d" (column) or "<%s[%d/%d]" (bracket), written without printf:
// this runs once per line of every listing.
void AppendHead(std::string& out, const CMsgCell& cell, int nStyle) {
    if (nStyle) {
        out += GetFormatName(cell.m_nFormat, 1);
        out += ',';
        AppendDecimal(out, cell.m_nCount, 5);
        return;
    }
    out += '<';
    out += GetFormatName(cell.m_nFormat, 0);
    out += '[';
    AppendDecimal(out, cell.m_nCount);
    out += '/';
    AppendDecimal(out, LengthByteCount(cell.m_nCount));
    out += ']';
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
