#include "decode/Decode.h"

#include <algorithm>
#include <cstdio>

#include "decode/ByteCursor.h"
#include "decode/ItemWalk.h"

namespace {

constexpr unsigned int kHeaderSize = 10;
// A full block: the header and 244 body bytes. A file of exactly this size
// that is not the last block holds only part of a message body.
constexpr unsigned int kFullBlockSize = 254;

// Every body walk leaves an empty TECHV.TXT in the current directory, as the
// tools around the viewer expect. Failing to create it is not an error.
class CTechvFile {
public:
    CTechvFile() : m_pFile(std::fopen("TECHV.TXT", "w+")) {}
    ~CTechvFile() {
        if (m_pFile) std::fclose(m_pFile);
    }
    CTechvFile(const CTechvFile&) = delete;
    CTechvFile& operator=(const CTechvFile&) = delete;

private:
    std::FILE* m_pFile;
};

void Note(CMsgInfo& msg, EDiagnostic eKind, unsigned int nOffset, unsigned int nPresent) {
    msg.m_diagnostics.push_back({eKind, nOffset, 0, 0, nPresent});
}

}  // namespace

CDecode::CDecode() : m_pMgr(new CMsgMgr) {}

CDecode::~CDecode() {
    delete m_pMgr;
    m_pMgr = nullptr;
}

int CDecode::ParseHeader(CMsgInfo* pMsg, const unsigned char* pHeader) {
    if (!pMsg || !pHeader || pMsg->m_nStatus < 0) return 0;
    const int nWord0 = (pHeader[0] << 8) | pHeader[1];
    const int nWord4 = (pHeader[4] << 8) | pHeader[5];
    pMsg->m_bRBit = nWord0 >= 0x8000;
    pMsg->m_nDeviceId = nWord0 & 0x7FFF;
    pMsg->m_bWBit = pHeader[2] >= 0x80;
    pMsg->m_nStream = pHeader[2] & 0x7F;
    pMsg->m_nFunction = pHeader[3];
    pMsg->m_bEBit = nWord4 >= 0x8000;
    pMsg->m_nBlock = nWord4 & 0x7FFF;
    pMsg->m_dwSystemBytes = (static_cast<unsigned int>(pHeader[6]) << 24) |
                            (static_cast<unsigned int>(pHeader[7]) << 16) |
                            (static_cast<unsigned int>(pHeader[8]) << 8) | pHeader[9];
    return 1;
}

// A file shorter than the header reads as if the missing bytes were zero; its
// walk then finds nothing to read.
std::unique_ptr<CMsgInfo> CDecode::Decode(const unsigned char* pData, unsigned int size,
                                          int* pStyle) {
    auto pMsg = std::make_unique<CMsgInfo>();
    CByteCursor cursor(pData, pData ? size : 0);
    unsigned char header[kHeaderSize] = {};
    const auto present = cursor.take(kHeaderSize);
    std::copy(present.begin(), present.end(), header);
    ParseHeader(pMsg.get(), header);

    if (!pMsg->m_bEBit && pMsg->m_nBlock != 0 && size == kFullBlockSize) {
        pMsg->m_bIncomplete = 1;
        Note(*pMsg, EDiagnostic::kNonFinalBlock, kHeaderSize, size);
        return pMsg;
    }
    if (size == kHeaderSize) {
        Note(*pMsg, EDiagnostic::kHeaderOnly, kHeaderSize, 0);
        return pMsg;
    }

    const CTechvFile techv;
    WalkItems(*this, pMsg.get(), cursor, pStyle);
    // Nothing past the header to walk: the only finding is the short file.
    if (cursor.offset() < kHeaderSize) {
        pMsg->m_diagnostics.clear();
        const auto nRead = static_cast<unsigned int>(cursor.offset());
        pMsg->m_diagnostics.push_back({EDiagnostic::kShortFile, nRead, 0, kHeaderSize, nRead});
    }
    return pMsg;
}
