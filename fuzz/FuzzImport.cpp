#include "fuzz/FuzzImport.h"

#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/FuzzTarget.h"
#include "io/HexLog.h"
#include "io/HexText.h"
#include "io/Importer.h"
#include "io/MsgFraming.h"
#include "io/SessionBuilder.h"
#include "io/SessionIndex.h"
#include "io/SmlLog.h"

void FuzzHexText(const unsigned char* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const CHexText hex = ReadHexText(text);
    size_t nAt = 0;
    for (const CHexBlock& block : hex.m_blocks) {
        if (block.m_nBegin < nAt || block.m_nEnd <= block.m_nBegin ||
            block.m_nEnd > hex.m_bytes.size())
            std::abort();
        nAt = block.m_nEnd;
    }
    if (hex.m_bPlain && hex.m_bytes != HexTextToBytes(CleanHexLog(std::string(text)))) std::abort();
    for (const CFramedMsg& msg : MessagesFromHexText(hex))
        FuzzOneMessage(msg.m_bytes.data(), msg.m_bytes.size());
}

// Every message the index names has bytes of its recorded size, and an HSMS
// message at least a header.
void FuzzCapture(const unsigned char* data, size_t size) {
    CSession session;
    std::string strError;
    CSessionOptions opts;
    opts.bCheckBodies = false;
    if (!SessionFromBytes(std::vector<unsigned char>(data, data + size), opts, session, strError))
        return;
    std::vector<unsigned char> scratch;
    for (std::size_t i = 0; i < session.Messages().size(); ++i) {
        const SSessionMsg& m = session.Messages()[i];
        if (session.Bytes(i, scratch).size() != m.nSize) std::abort();
        if ((m.nFlags & SSessionMsg::kHsms) && m.nSize < 10) std::abort();
        if (m.nReplyTo > session.Messages().size()) std::abort();
    }
    if (ImportIndex({&session}, true).empty()) std::abort();
}

void FuzzSmlLog(const unsigned char* data, size_t size) {
    CSession session;
    CSessionBuilder builder(session, ESourceKind::kSmlLog);
    builder.SetSource(std::vector<unsigned char>(data, data + size));
    IndexSmlLog(builder,
                std::string_view(reinterpret_cast<const char*>(builder.Data()), builder.Size()));
    builder.Finish(CSessionOptions());
    std::vector<unsigned char> scratch;
    for (std::size_t i = 0; i < session.Messages().size(); ++i) {
        const std::size_t nSize = session.Messages()[i].nSize;
        if (nSize < 10 || session.Bytes(i, scratch).size() != nSize) std::abort();
    }
}
