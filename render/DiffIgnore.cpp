#include "render/DiffIgnore.h"

#include <algorithm>

#include "decode/MsgDocWalk.h"
#include "render/DocViews.h"
#include "render/StructureMatch.h"

void IgnoreRoleValues(const CMsgDoc& doc, SDiffMessage& msg,
                      const std::vector<std::string>& roles) {
    if (roles.empty()) return;
    const std::vector<SItemView> views = DocItemViews(doc);
    const SStructureMatch match = MatchStructure(msg.header.nStream, msg.header.nFunction, views);
    const std::size_t n = std::min(match.roles.size(), msg.items.size());
    for (std::size_t i = 0; i < n; ++i)
        if (*match.roles[i] && std::find(roles.begin(), roles.end(), match.roles[i]) != roles.end())
            msg.items[i].bIgnoreValue = true;
}

SDiffMessage DiffMessageIgnoring(const unsigned char* pData, std::size_t nSize,
                                 const std::vector<std::string>& roles) {
    if (roles.empty()) return DiffMessageOfBytes(pData, nSize);
    const CMsgDoc doc = DecodeMsgDoc(pData ? std::vector<unsigned char>(pData, pData + nSize)
                                           : std::vector<unsigned char>());
    SDiffMessage msg = DiffMessageOfDoc(doc, pData);
    IgnoreRoleValues(doc, msg, roles);
    return msg;
}
