#include "io/SessionFolder.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "decode/HeaderFields.h"
#include "io/MsgFile.h"

namespace {

bool IsBigName(const std::string& strName) {
    if (strName.size() < 4) return false;
    std::string strExt = strName.substr(strName.size() - 4);
    for (char& c : strExt)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return strExt == ".BIG";
}

}  // namespace

bool ReadSessionFolder(const std::string& strFolder, std::vector<SSessionMessage>& session,
                       std::vector<std::string>& errors, std::string& strError) {
    std::error_code ec;
    std::vector<std::string> names;
    std::filesystem::directory_iterator it(std::filesystem::path(strFolder), ec);
    for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        std::string strName = it->path().filename().native();
        if (IsBigName(strName)) names.push_back(std::move(strName));
    }
    if (ec) {
        strError = ec.message();
        return false;
    }
    std::sort(names.begin(), names.end());
    for (const std::string& strName : names) {
        const std::string strPath = (std::filesystem::path(strFolder) / strName).native();
        std::vector<unsigned char> bytes;
        std::string strReason;
        if (!ReadMessageFile(strPath, bytes, strReason)) {
            errors.push_back(strName + ": " + strReason);
            continue;
        }
        const SHeaderFields h = ReadHeaderFields(bytes.data(), bytes.size());
        SSessionMessage msg;
        msg.nStream = h.nStream;
        msg.nFunction = h.nFunction;
        msg.bWBit = h.bWBit != 0;
        msg.strName = strName;
        msg.load = [strPath](std::vector<unsigned char>& out) {
            std::string strIgnored;
            return ReadMessageFile(strPath, out, strIgnored);
        };
        session.push_back(std::move(msg));
    }
    return true;
}
