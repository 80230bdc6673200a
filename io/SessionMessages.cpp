#include "io/SessionMessages.h"

std::vector<SSessionMessage> SessionMessagesOf(const CSession& session, bool bControl) {
    std::vector<SSessionMessage> messages;
    messages.reserve(session.Messages().size());
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
