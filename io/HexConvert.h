#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "io/MsgFraming.h"
#include "io/NumberedPath.h"

struct CHexConversion {
    std::vector<CFramedMsg> m_msgs;
    std::vector<std::string> m_paths;  // written, one per message, in order
    std::string m_strFailedPath;       // the write that failed
    std::string m_strError;            // and why
};

// Converts a hex log into message files at NumberedPath(strFirstPath, n),
// each written whole through WriteWholeFile. Stops at the first failed write.
// False when the text holds no bytes (m_msgs empty) or a write failed.
bool ConvertHexLog(std::string_view text, const std::string& strFirstPath, CHexConversion& result);
