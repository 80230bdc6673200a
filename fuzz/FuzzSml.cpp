#include "fuzz/FuzzSml.h"

#include <cstdlib>
#include <string>
#include <vector>

#include "decode/Decode.h"
#include "io/SmlReader.h"
#include "render/JsonWriter.h"
#include "render/SmlWriter.h"

namespace {

std::string WriteStandard(CDecode& decoder, const std::vector<unsigned char>& file) {
    const auto pMsg = decoder.Decode(file.data(), static_cast<unsigned>(file.size()), nullptr);
    return MessageToSml(*pMsg->m_pDoc, ESmlDialect::kStandard);
}

void WriteEveryForm(CDecode& decoder, const unsigned char* data, size_t size) {
    const auto pMsg = decoder.Decode(data, static_cast<unsigned>(size), nullptr);
    for (ESmlDialect e : {ESmlDialect::kStandard, ESmlDialect::kSecs4net, ESmlDialect::kSecsgem,
                          ESmlDialect::kGoSecs})
        MessageToSml(*pMsg->m_pDoc, e);
    MessageToJson("fuzz", *pMsg->m_pDoc);
}

}  // namespace

void FuzzOneSml(const unsigned char* data, size_t size) {
    CDecode decoder;
    WriteEveryForm(decoder, data, size);
    std::vector<SSmlMessage> messages;
    SSmlError error;
    if (!ReadSml(std::string(reinterpret_cast<const char*>(data), size), messages, error)) return;
    for (const SSmlMessage& msg : messages) {
        const std::vector<unsigned char> file = SmlMessageFile(msg, 1);
        std::vector<SSmlMessage> again;
        if (!ReadSml(WriteStandard(decoder, file), again, error) || again.size() != 1 ||
            again[0].body != msg.body || again[0].nStream != msg.nStream ||
            again[0].nFunction != msg.nFunction || again[0].bWait != msg.bWait)
            std::abort();
    }
}
