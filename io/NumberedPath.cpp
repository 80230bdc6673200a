#include "io/NumberedPath.h"

#include "render/NumberText.h"

std::string NumberedPath(const std::string& strPath, std::size_t nNumber, ENumberAt eAt) {
    if (nNumber <= 1) return strPath;
    const std::size_t nSlash = strPath.find_last_of('/');
    const std::size_t nName = nSlash == std::string::npos ? 0 : nSlash + 1;
    std::size_t nDot = strPath.find_last_of('.');
    if (eAt == ENumberAt::kEnd || nDot == std::string::npos || nDot <= nName) nDot = strPath.size();
    std::string str = strPath.substr(0, nDot) + "-";
    AppendUnsigned(str, nNumber);
    return str + strPath.substr(nDot);
}
