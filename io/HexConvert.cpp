#include "io/HexConvert.h"

#include "io/ListingFile.h"

std::string NumberedPath(const std::string& strPath, std::size_t nNumber) {
    if (nNumber <= 1) return strPath;
    const std::size_t nSlash = strPath.find_last_of('/');
    const std::size_t nName = nSlash == std::string::npos ? 0 : nSlash + 1;
    std::size_t nDot = strPath.find_last_of('.');
    if (nDot == std::string::npos || nDot <= nName) nDot = strPath.size();
    return strPath.substr(0, nDot) + "-" + DecimalText(nNumber) + strPath.substr(nDot);
}

bool ConvertHexLog(std::string_view text, const std::string& strFirstPath, CHexConversion& result) {
    result = CHexConversion();
    result.m_msgs = MessagesFromHexText(ReadHexText(text));
    for (const CFramedMsg& msg : result.m_msgs) {
        const std::string strPath = NumberedPath(strFirstPath, result.m_paths.size() + 1);
        if (!WriteWholeFile(strPath, msg.m_bytes.data(), msg.m_bytes.size(), result.m_strError)) {
            result.m_strFailedPath = strPath;
            return false;
        }
        result.m_paths.push_back(strPath);
    }
    return !result.m_msgs.empty();
}
