#include "render/FormatText.h"

#include "model/FormatTable.h"

std::string_view GetFormatName(int nFormat, int bLong) {
    const SFormat* pFormat = FindFormat(nFormat);
    if (!pFormat) return {};
    return bLong ? pFormat->szLong : pFormat->szShort;
}

std::string MakeIndent(int n) {
    std::string str;
    for (int i = 0; i < n; ++i) str += "   ";
    return str;
}

std::string MakeTabs(int n) {
    std::string str;
    for (int i = 0; i < n; ++i) str += '\t';
    return str;
}

int LengthByteCount(int nCount) {
    if (nCount <= 0xFF) return 1;
    if (nCount <= 0xFFFF) return 2;
    return 3;
}

const char* SmlFormatName(int nFormat) {
    if (nFormat == kFormatBoolean) return "BOOLEAN";  // the listing's name is "BOOL  "
    const SFormat* pFormat = FindFormat(nFormat);
    return pFormat ? pFormat->szShort : nullptr;
}
