#include "io/HexConvert.h"

#include "io/ListingFile.h"

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
