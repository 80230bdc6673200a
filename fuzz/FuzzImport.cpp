#include "fuzz/FuzzImport.h"

#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz/FuzzTarget.h"
#include "io/HexLog.h"
#include "io/HexText.h"
#include "io/Importer.h"
#include "io/MsgFraming.h"

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

void FuzzCapture(const unsigned char* data, size_t size) {
    CImportResult result;
    std::string strError;
    CImportOptions opts;
    opts.m_bControl = true;
    if (!ImportBytes(data, size, opts, result, strError)) return;
    for (const CFoundMsg& found : result.m_msgs)
        if (found.m_msg.m_eFraming == EFraming::kHsms && found.m_msg.m_bytes.size() < 10)
            std::abort();
    const std::string strIndex = ImportIndex(result.m_msgs);
    if (strIndex.empty()) std::abort();
}
