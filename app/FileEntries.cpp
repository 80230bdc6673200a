#include "app/FileEntries.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "io/ListingFile.h"
#include "model/Bytes.h"

namespace {

struct CUtf8Lead {
    unsigned char cLeadLo, cLeadHi;
    std::size_t nLength;
    unsigned char cNextLo, cNextHi;  // the byte after the lead; later ones are 80..BF
};

// The well-formed multi-byte sequences of UTF-8, by lead byte: no overlong
// forms, no surrogates, nothing above U+10FFFF.
const CUtf8Lead kUtf8Leads[] = {
    {0xC2, 0xDF, 2, 0x80, 0xBF}, {0xE0, 0xE0, 3, 0xA0, 0xBF}, {0xE1, 0xEC, 3, 0x80, 0xBF},
    {0xED, 0xED, 3, 0x80, 0x9F}, {0xEE, 0xEF, 3, 0x80, 0xBF}, {0xF0, 0xF0, 4, 0x90, 0xBF},
    {0xF1, 0xF3, 4, 0x80, 0xBF}, {0xF4, 0xF4, 4, 0x80, 0x8F},
};

// The length of the well-formed sequence at strText[nAt], 0 when none starts there.
std::size_t Utf8LengthAt(const std::string& strText, std::size_t nAt) {
    const auto Byte = [&](std::size_t n) { return static_cast<unsigned char>(strText[nAt + n]); };
    if (Byte(0) < 0x80) return 1;
    for (const CUtf8Lead& lead : kUtf8Leads) {
        if (Byte(0) < lead.cLeadLo || Byte(0) > lead.cLeadHi) continue;
        if (strText.size() - nAt < lead.nLength) return 0;
        if (Byte(1) < lead.cNextLo || Byte(1) > lead.cNextHi) return 0;
        for (std::size_t n = 2; n < lead.nLength; ++n)
            if ((Byte(n) & 0xC0) != 0x80) return 0;
        return lead.nLength;
    }
    return 0;
}

}  // namespace

std::string VisibleName(const std::string& strBytes) {
    std::string strVisible;
    strVisible.reserve(strBytes.size());
    for (std::size_t nAt = 0; nAt < strBytes.size();) {
        const std::size_t nLength = Utf8LengthAt(strBytes, nAt);
        if (nLength > 0) {
            strVisible.append(strBytes, nAt, nLength);
            nAt += nLength;
            continue;
        }
        const auto c = static_cast<unsigned char>(strBytes[nAt++]);
        strVisible += {'\\', 'x', kUpperHexDigits[c >> 4], kUpperHexDigits[c & 0xF]};
    }
    return strVisible;
}

std::string UpperAscii(std::string strText) {
    for (char& c : strText)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return strText;
}

bool EqualNoCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && UpperAscii(a) == UpperAscii(b);
}

std::string JoinPath(const std::string& strFolder, const std::string& strName) {
    if (!strFolder.empty() && strFolder.back() == '/') return strFolder + strName;
    return strFolder + "/" + strName;
}

std::vector<CFileEntry> ListBigEntries(const std::string& strFolder) {
    std::vector<CFileEntry> entries;
    std::error_code ec;
    std::filesystem::directory_iterator it(std::filesystem::path(strFolder), ec);
    for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        std::string strName = it->path().filename().native();
        if (!HasBigExtension(strName)) continue;
        entries.push_back({UpperAscii(strName), std::move(strName)});
    }
    // std::string compares as unsigned bytes: an ordinal order.
    std::sort(entries.begin(), entries.end(), [](const CFileEntry& a, const CFileEntry& b) {
        return a.m_strShown != b.m_strShown ? a.m_strShown < b.m_strShown
                                            : a.m_strName < b.m_strName;
    });
    for (CFileEntry& entry : entries) entry.m_strShown = VisibleName(entry.m_strShown);
    return entries;
}
