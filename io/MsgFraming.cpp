#include "io/MsgFraming.h"

#include <charconv>

#include "decode/HeaderFields.h"
#include "io/HsmsFrame.h"
#include "model/Bytes.h"
#include "render/NumberText.h"

namespace {

constexpr std::size_t kHeaderSize = 10;

std::string HexText4(unsigned int n) {
    std::string str;
    AppendHexByte(str, static_cast<unsigned char>(n >> 8));
    AppendHexByte(str, static_cast<unsigned char>(n));
    return str;
}

void AddNote(CFramedMsg& msg, const std::string& strNote, bool bWarning = false) {
    if (!msg.m_strNote.empty()) msg.m_strNote += "; ";
    msg.m_strNote += strNote;
    msg.m_bWarning = msg.m_bWarning || bWarning;
}

// Frame lengths of an exact chain of plausible HSMS frames, or empty.
std::vector<std::size_t> HsmsChain(const unsigned char* p, std::size_t n) {
    std::vector<std::size_t> lengths;
    for (std::size_t i = 0; i < n;) {
        if (n - i < kHsmsFrameHead || !IsPlausibleHsmsHead(p + i)) return {};
        const unsigned long nLength = ReadBE32(p + i);
        if (nLength > n - i - kHsmsLengthSize) return {};
        lengths.push_back(nLength);
        i += 4 + nLength;
    }
    return lengths;
}

std::vector<std::size_t> SecsIChain(const unsigned char* p, std::size_t n, bool bStrictSums) {
    std::vector<std::size_t> lengths;
    for (std::size_t i = 0; i < n;) {
        const std::size_t nLength = p[i];
        if (nLength < kHeaderSize || nLength + 3 > n - i) return {};
        unsigned int nSum = 0;
        for (std::size_t k = 1; k <= nLength; ++k) nSum += p[i + k];
        const bool bSumOk = (nSum & 0xFFFF) == ReadBE16(p + i + 1 + nLength);
        // A block number of 0 never occurs in SECS-I: without a matching sum
        // it is the sign of a bare message that happens to fit.
        if (!bSumOk && (bStrictSums || ReadHeaderFields(p + i + 1, nLength).nBlock == 0)) return {};
        lengths.push_back(nLength);
        i += nLength + 3;
    }
    return lengths;
}

CFramedMsg HsmsMsg(const unsigned char* p, std::size_t nLength) {
    CFramedMsg msg;
    msg.m_eFraming = EFraming::kHsms;
    msg.m_bytes.assign(p + 4, p + 4 + nLength);
    msg.m_nSType = p[4 + 5];
    AddNote(msg, "HSMS length " + DecimalText(nLength) + " stripped");
    if (msg.m_nSType != 0) AddNote(msg, std::string("HSMS control ") + HsmsSTypeName(msg.m_nSType));
    return msg;
}

CFramedMsg SecsIMsg(const unsigned char* p, std::size_t nLength) {
    CFramedMsg msg;
    msg.m_eFraming = EFraming::kSecsI;
    msg.m_bytes.assign(p + 1, p + 1 + nLength);
    unsigned int nSum = 0;
    for (unsigned char c : msg.m_bytes) nSum += c;
    const unsigned int nStored = ReadBE16(p + 1 + nLength);
    AddNote(msg, "SECS-I length " + DecimalText(nLength) + " and checksum " + HexText4(nStored) +
                     " stripped");
    if ((nSum & 0xFFFF) != nStored)
        AddNote(msg,
                "SECS-I checksum " + HexText4(nStored) + " differs from the sum " +
                    HexText4(nSum & 0xFFFF),
                true);
    return msg;
}

bool Continues(const CFramedMsg& first, const CFramedMsg& last, const CFramedMsg& next) {
    if (first.m_eFraming != EFraming::kSecsI || next.m_eFraming != EFraming::kSecsI) return false;
    const SHeaderFields l = ReadHeaderFields(last.m_bytes.data(), last.m_bytes.size());
    if (l.bEBit) return false;  // the message is complete
    const SHeaderFields n = ReadHeaderFields(next.m_bytes.data(), next.m_bytes.size());
    const SHeaderFields f = ReadHeaderFields(first.m_bytes.data(), first.m_bytes.size());
    return n.nBlock == l.nBlock + 1 && f.dwSystemBytes == n.dwSystemBytes;
}

}  // namespace

std::string DecimalText(unsigned long long n) {
    char sz[24];
    const auto result = std::to_chars(sz, sz + sizeof sz, n);
    return std::string(sz, result.ptr);
}

std::vector<CFramedMsg> FrameBytes(const unsigned char* p, std::size_t n, bool bStrictSums) {
    std::vector<CFramedMsg> msgs;
    std::size_t i = 0;
    for (std::size_t nLength : HsmsChain(p, n)) {
        msgs.push_back(HsmsMsg(p + i, nLength));
        i += 4 + nLength;
    }
    if (!msgs.empty()) return msgs;
    for (std::size_t nLength : SecsIChain(p, n, bStrictSums)) {
        msgs.push_back(SecsIMsg(p + i, nLength));
        i += nLength + 3;
    }
    if (!msgs.empty()) return msgs;
    CFramedMsg msg;
    msg.m_bytes.assign(p, p + n);
    if (n < kHeaderSize)
        AddNote(msg, "only " + CountText(n, "byte") + ", less than a header", true);
    msgs.push_back(std::move(msg));
    return msgs;
}

bool IsFramedRun(const unsigned char* p, std::size_t n, bool bStrictSums) {
    return !HsmsChain(p, n).empty() || !SecsIChain(p, n, bStrictSums).empty();
}

void JoinSecsIBlocks(std::vector<CFramedMsg>& msgs) {
    bool bSecsI = false;
    for (const CFramedMsg& msg : msgs) bSecsI = bSecsI || msg.m_eFraming == EFraming::kSecsI;
    if (!bSecsI) return;  // nothing to join: the common case of HSMS and bare logs
    std::vector<CFramedMsg> joined;
    joined.reserve(msgs.size());
    for (std::size_t i = 0; i < msgs.size();) {
        CFramedMsg msg = std::move(msgs[i]);
        std::size_t nLast = i;
        std::size_t k = i + 1;
        for (; k < msgs.size() && Continues(msg, k == i + 1 ? msg : msgs[nLast], msgs[k]); ++k) {
            msg.m_bytes.insert(msg.m_bytes.end(), msgs[k].m_bytes.begin() + kHeaderSize,
                               msgs[k].m_bytes.end());
            msg.m_bytes[4] =
                static_cast<unsigned char>(msg.m_bytes[4] | (msgs[k].m_bytes[4] & 0x80));
            if (msgs[k].m_bWarning) AddNote(msg, msgs[k].m_strNote, true);
            nLast = k;
        }
        if (k > i + 1) AddNote(msg, "SECS-I " + DecimalText(k - i) + " blocks joined");
        const CFramedMsg& last = k > i + 1 ? msgs[nLast] : msg;
        if (msg.m_eFraming == EFraming::kSecsI && !(last.m_bytes[4] & 0x80))
            AddNote(msg, "last SECS-I block lacks the E-bit: message incomplete", true);
        joined.push_back(std::move(msg));
        i = k;
    }
    msgs = std::move(joined);
}

std::vector<CFramedMsg> MessagesFromHexText(const CHexText& text) {
    std::vector<CFramedMsg> msgs;
    msgs.reserve(text.m_blocks.size());
    for (std::size_t b = 0; b < text.m_blocks.size(); ++b) {
        const CHexBlock& block = text.m_blocks[b];
        for (CFramedMsg& msg : FrameBytes(text.m_bytes.data() + block.m_nBegin,
                                          block.m_nEnd - block.m_nBegin, text.m_bPlain)) {
            msg.m_nBlock = b;
            msgs.push_back(std::move(msg));
        }
    }
    JoinSecsIBlocks(msgs);
    return msgs;
}
