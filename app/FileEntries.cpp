#include "app/FileEntries.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "io/ListingFile.h"

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
    return entries;
}
