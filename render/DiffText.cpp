#include "render/DiffText.h"

#include "model/FormatTable.h"
#include "render/JsonWriter.h"
#include "render/NumberText.h"

namespace {

struct SKindName {
    EDiffKind eKind;
    const char* szText;  // in lines
    const char* szJson;
};
constexpr SKindName kKindNames[] = {
    {EDiffKind::kValue, "value", "value"},
    {EDiffKind::kFormat, "format", "format"},
    {EDiffKind::kOnlyA, "only in A", "only_a"},
    {EDiffKind::kOnlyB, "only in B", "only_b"},
};

const SKindName& KindName(EDiffKind eKind) {
    for (const SKindName& k : kKindNames)
        if (k.eKind == eKind) return k;
    return kKindNames[0];
}

std::string FormatName(int nFormat) {
    const SFormat* pFormat = FindFormat(nFormat);
    std::string str;
    if (!pFormat) {
        str = "?";
        AppendUnsigned(str, static_cast<std::uint64_t>(nFormat));
        return str;
    }
    str = pFormat->szShort;
    while (!str.empty() && str.back() == ' ') str.pop_back();
    return str;
}

void AppendSide(std::string& out, const SDiffSide& side) {
    out += FormatCountText(side.nFormat, side.nCount);
    if (!side.strValue.empty()) out += ' ' + side.strValue;
    out += " at ";
    AppendOffset(out, side.nOffset);
}

void AppendJsonText(std::string& out, const std::string& str) {
    AppendJsonString(out, reinterpret_cast<const unsigned char*>(str.data()), str.size());
}

void AppendSideJson(std::string& out, const SDiffSide& side) {
    if (side.nItem < 0) {
        out += "null";
        return;
    }
    out += "{\"path\":";
    AppendJsonText(out, side.strPath);
    out += ",\"offset\":";
    AppendUnsigned(out, side.nOffset);
    out += ",\"format\":";
    AppendJsonText(out, FormatName(side.nFormat));
    out += ",\"count\":";
    AppendUnsigned(out, side.nCount);
    out += ",\"value\":";
    AppendJsonText(out, side.strValue);
    out += '}';
}

// System bytes in hex, as the header pane shows them; the rest decimal.
void AppendField(std::string& out, const SHeaderDiff& diff, std::uint32_t n) {
    if (std::string(diff.szField) == "system bytes")
        AppendHex(out, n, 8);
    else
        AppendUnsigned(out, n);
}

}  // namespace

std::string FormatCountText(int nFormat, std::size_t nCount) {
    std::string str = FormatName(nFormat) + '[';
    AppendUnsigned(str, nCount);
    return str + ']';
}

std::string ItemDiffText(const SItemDiff& diff) {
    const bool bA = diff.a.nItem >= 0, bB = diff.b.nItem >= 0;
    std::string str = bA ? diff.a.strPath : diff.b.strPath;
    if (bA && bB && diff.a.strPath != diff.b.strPath) str += " (B: " + diff.b.strPath + ")";
    str += ' ';
    str += KindName(diff.eKind).szText;
    str += ": ";
    if (bA) AppendSide(str, diff.a);
    if (bA && bB) str += " | ";
    if (bB) AppendSide(str, diff.b);
    return str;
}

std::string HeaderDiffText(const SHeaderDiff& diff) {
    std::string str = "header ";
    str += diff.szField;
    str += ": ";
    AppendField(str, diff, diff.nA);
    str += " | ";
    AppendField(str, diff, diff.nB);
    return str;
}

std::string ItemDiffJson(const SItemDiff& diff) {
    std::string str = "{\"kind\":\"";
    str += KindName(diff.eKind).szJson;
    str += "\",\"a\":";
    AppendSideJson(str, diff.a);
    str += ",\"b\":";
    AppendSideJson(str, diff.b);
    return str + '}';
}

std::string HeaderDiffJson(const SHeaderDiff& diff) {
    std::string str = "{\"kind\":\"header\",\"field\":";
    AppendJsonText(str, diff.szField);
    str += ",\"a\":";
    AppendUnsigned(str, diff.nA);
    str += ",\"b\":";
    AppendUnsigned(str, diff.nB);
    return str + '}';
}
