#include "io/SessionMessages.h"

#include <cstring>

#include "io/SessionExport.h"
#include "render/DocViews.h"
#include "render/ExactValue.h"
#include "render/MessageStructures.h"
#include "render/StructureMatch.h"

namespace {

// Roles whose values say which event, alarm, command or recipe a message is
// about: two S6F11 of different CEIDs are different messages, not one changed.
constexpr const char* kKeyRoles[] = {"CEID", "ALID", "RCMD", "PPID"};

bool HasKeyRole(int nStream, int nFunction) {
    const SMessageStructure* pShape = FindMessageStructure(nStream, nFunction);
    if (!pShape) return false;
    for (const char* szRole : kKeyRoles)
        if (std::strstr(pShape->szShape, szRole)) return true;
    return false;
}

// "CEID 4001" for every item in a key role, in document order; none when
// the body does not match its structure.
std::vector<std::string> KeyRoleValues(const CSession& session, std::size_t nIndex) {
    const std::shared_ptr<const CMsgDoc> pDoc = SessionMessageDoc(session, nIndex);
    const SSessionMsg& m = session.Messages()[nIndex];
    const std::vector<SItemView> views = DocItemViews(*pDoc);
    const SStructureMatch match = MatchStructure(m.nStream, m.nFunction, views);
    std::vector<std::string> values;
    // A body off its structure may have its roles in the wrong items.
    if (!match.bKnown || !match.notes.empty()) return values;
    for (std::size_t i = 0; i < match.roles.size() && i < views.size(); ++i)
        for (const char* szRole : kKeyRoles)
            if (std::strcmp(match.roles[i], szRole) == 0)
                values.push_back(
                    std::string(szRole) + ' ' +
                    ExactValueText(views[i].nFormat, views[i].data.data(), views[i].data.size()));
    return values;
}

}  // namespace

std::vector<SSessionMessage> SessionMessagesOf(const CSession& session, bool bControl) {
    std::vector<SSessionMessage> messages;
    messages.reserve(session.Messages().size());
    // Per SxFy: -1 not yet asked, 0 no key role in its structure, 1 some.
    std::vector<signed char> keyed(256 * 256, -1);
    for (std::size_t i = 0; i < session.Messages().size(); ++i) {
        const SSessionMsg& m = session.Messages()[i];
        const bool bControlMsg = (m.nFlags & SSessionMsg::kHsms) && m.nSType != 0;
        if (bControlMsg && !bControl) continue;
        SSessionMessage msg;
        // A control message keys by its session type, apart from every data message.
        msg.nStream = bControlMsg ? -1 : m.nStream;
        msg.nFunction = bControlMsg ? m.nSType : m.nFunction;
        msg.bWBit = m.Wait();
        msg.strName = session.MessageName(i);
        msg.nIndex = i;
        msg.nMicros = m.nMicros;
        signed char& bKeyed = keyed[m.nStream * 256u + m.nFunction];
        if (bKeyed < 0) bKeyed = HasKeyRole(m.nStream, m.nFunction);
        if (bKeyed && !bControlMsg) msg.roles = KeyRoleValues(session, i);
        msg.load = [&session, i](std::vector<unsigned char>& out) {
            std::vector<unsigned char> scratch;
            const std::span<const unsigned char> bytes = session.Bytes(i, scratch);
            out.assign(bytes.begin(), bytes.end());
            return !bytes.empty();
        };
        messages.push_back(std::move(msg));
    }
    return messages;
}
