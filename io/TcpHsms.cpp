#include "io/TcpHsms.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <map>

#include "io/HsmsFrame.h"
#include "io/MsgFraming.h"

namespace {

constexpr std::size_t kMaxWaiting = 16u << 20;  // out-of-order bytes held before a gap is given up
// A stream seen from its middle that shows no chain of frames in this many
// bytes is not HSMS.
constexpr std::size_t kMaxLockSearch = 16u << 20;

struct SChunk {
    const unsigned char* p;
    std::size_t n;
    long long nMicros;
};

struct SWaiting {
    const unsigned char* p = nullptr;
    std::size_t n = 0;
    long long nMicros = 0;
};

}  // namespace

struct CTcpHsms::CStream {
    enum EState { kUnknown, kHsms, kNotHsms };
    EState m_eState = kUnknown;
    bool m_bAtStart = false;  // seen from its SYN: the first byte starts a frame
    std::string m_strSrc;
    std::string m_strDst;
    std::uint32_t m_nConnection = 0;
    std::uint16_t m_nFlow = 0;
    bool m_bStarted = false;
    uint32_t m_nNext = 0;                     // next sequence number expected
    long long m_nOffset = 0;                  // stream offset of m_nNext
    std::map<long long, SWaiting> m_waiting;  // out-of-order segments by stream offset
    std::size_t m_nWaitingBytes = 0;
    std::deque<SChunk> m_chunks;  // delivered, not yet framed
    std::size_t m_nFront = 0;     // bytes of the first chunk already taken
    std::size_t m_nAvail = 0;     // bytes in the chunks after m_nFront
    bool m_bResync = false;       // framing is looked for again
    std::size_t m_nPassed = 0;    // bytes passed over while looking
    long long m_nPassedFrom = 0;  // when the passing over began
    std::size_t m_nSearched = 0;  // bytes looked through before the first frame

    std::string Name() const { return m_strSrc + " -> " + m_strDst; }
    long long Offset() const { return m_nOffset - static_cast<long long>(m_nAvail); }

    // The n bytes at position nAt of what waits: a pointer into the chunk
    // when they lie in one, else copied into buf.
    const unsigned char* Peek(std::size_t nAt, std::size_t n, unsigned char* buf) const {
        std::size_t k = 0, nPos = m_nFront + nAt;
        while (nPos >= m_chunks[k].n) nPos -= m_chunks[k++].n;
        if (nPos + n <= m_chunks[k].n) return m_chunks[k].p + nPos;
        for (std::size_t i = 0; i < n; ++i, ++nPos) {
            while (nPos >= m_chunks[k].n) nPos -= m_chunks[k++].n;
            buf[i] = m_chunks[k].p[nPos];
        }
        return buf;
    }
    void Consume(std::size_t n) {
        m_nAvail -= n;
        while (n) {
            const std::size_t nHere = std::min(n, m_chunks.front().n - m_nFront);
            n -= nHere;
            m_nFront += nHere;
            if (m_nFront == m_chunks.front().n) {
                m_chunks.pop_front();
                m_nFront = 0;
            }
        }
    }
    long long FrontMicros() const { return m_chunks.empty() ? 0 : m_chunks.front().nMicros; }
};

CTcpHsms::CTcpHsms(CSessionBuilder& builder, int nPort) : m_builder(builder), m_nPort(nPort) {}
CTcpHsms::~CTcpHsms() = default;

namespace {

// A group of an IPv6 address without leading zeros, in lower case (RFC 5952).
std::string Hex4(unsigned int n) {
    std::string str;
    for (int nShift = 12; nShift >= 0; nShift -= 4)
        if (n >> nShift || nShift == 0 || !str.empty())
            str += static_cast<char>(kUpperHexDigits[(n >> nShift) & 15] | 0x20);
    return str;
}

}  // namespace

std::string EndpointText(const std::array<unsigned char, 16>& addr, bool bV6, uint16_t nPort) {
    std::string str;
    if (bV6) {
        str = "[";
        for (int i = 0; i < 16; i += 2) {
            if (i) str += ':';
            str += Hex4(static_cast<unsigned int>(addr[i] << 8 | addr[i + 1]));
        }
        str += ']';
    } else {
        for (int i = 0; i < 4; ++i) {
            if (i) str += '.';
            str += DecimalText(addr[i]);
        }
    }
    return str + ":" + DecimalText(nPort);
}

void CTcpHsms::Warn(const CStream& s, const std::string& strText, long long nMicros) {
    m_builder.Warn(s.Name() + ": " + strText, nMicros);
}

CTcpHsms::CStream& CTcpHsms::Find(const CTcpSegment& seg) {
    char key[36];
    std::memcpy(key, seg.m_src.data(), 16);
    std::memcpy(key + 16, seg.m_dst.data(), 16);
    std::memcpy(key + 32, &seg.m_nSrcPort, 2);
    std::memcpy(key + 34, &seg.m_nDstPort, 2);
    if (m_pLast && m_strKey.size() == sizeof key &&
        std::memcmp(m_strKey.data(), key, sizeof key) == 0)
        return *m_pLast;
    m_strKey.assign(key, sizeof key);
    auto [it, bNew] = m_streams.try_emplace(m_strKey, nullptr);
    if (bNew) {
        it->second = std::make_unique<CStream>();
        CStream& s = *it->second;
        s.m_strSrc = EndpointText(seg.m_src, seg.m_bV6, seg.m_nSrcPort);
        s.m_strDst = EndpointText(seg.m_dst, seg.m_bV6, seg.m_nDstPort);
        const bool bPort = seg.m_nSrcPort == m_nPort || seg.m_nDstPort == m_nPort;
        if (m_nPort >= 0 && !bPort) s.m_eState = CStream::kNotHsms;
        const std::string strReverse = m_strKey.substr(16, 16) + m_strKey.substr(0, 16) +
                                       m_strKey.substr(34, 2) + m_strKey.substr(32, 2);
        auto rev = m_streams.find(strReverse);
        s.m_nConnection = rev != m_streams.end() ? rev->second->m_nConnection : ++m_nConnections;
        s.m_nFlow =
            m_builder.Flow(s.m_strSrc, s.m_strDst, EMsgDirection::kUnknown, s.m_nConnection);
        m_order.push_back(&s);
    }
    m_pLast = it->second.get();
    return *m_pLast;
}

// A SYN on a stream that carried bytes: the port pair is used again. What
// the old connection left is reported, and the new one gets a number of its
// own, shared with its other direction.
void CTcpHsms::Restart(CStream& s) {
    while (!s.m_waiting.empty()) SkipGap(s);
    if (s.m_nAvail && (s.m_eState == CStream::kHsms || s.m_bAtStart))
        Warn(s, "connection ends inside a message, " + DecimalText(s.m_nAvail) + " bytes dropped",
             s.FrontMicros());
    s.m_chunks.clear();
    s.m_nFront = s.m_nAvail = 0;
    s.m_nOffset = 0;
    s.m_bResync = false;
    s.m_nPassed = s.m_nSearched = 0;
    if (s.m_eState != CStream::kNotHsms) s.m_eState = CStream::kUnknown;
    const std::string strReverse = m_strKey.substr(16, 16) + m_strKey.substr(0, 16) +
                                   m_strKey.substr(34, 2) + m_strKey.substr(32, 2);
    auto rev = m_streams.find(strReverse);
    const bool bReverseNew = rev != m_streams.end() && rev->second.get() != &s &&
                             rev->second->m_nConnection != s.m_nConnection;
    s.m_nConnection = bReverseNew ? rev->second->m_nConnection : ++m_nConnections;
    s.m_nFlow = m_builder.Flow(s.m_strSrc, s.m_strDst, EMsgDirection::kUnknown, s.m_nConnection);
}

void CTcpHsms::Add(const CTcpSegment& seg) {
    CStream& s = Find(seg);
    if (s.m_eState == CStream::kNotHsms) return;
    if (seg.m_bSyn) {
        const bool bRepeat =
            s.m_bStarted && s.m_bAtStart && s.m_nOffset == 0 && s.m_nNext == seg.m_nSeq + 1;
        if (s.m_bStarted && !bRepeat) Restart(s);
        s.m_bStarted = true;
        s.m_bAtStart = true;
        s.m_nNext = seg.m_nSeq + 1;
        return;
    }
    if (seg.m_nSize == 0) return;
    if (!s.m_bStarted) {
        s.m_bStarted = true;
        s.m_nNext = seg.m_nSeq;
    }
    const long long nRel = static_cast<int32_t>(seg.m_nSeq - s.m_nNext);
    if (nRel > 0) {
        SWaiting& w = s.m_waiting[s.m_nOffset + nRel];
        if (w.n < seg.m_nSize) {
            s.m_nWaitingBytes += seg.m_nSize - w.n;
            w = {seg.m_pData, seg.m_nSize, seg.m_nMicros};
        }
        if (s.m_nWaitingBytes > kMaxWaiting) SkipGap(s);
        return;
    }
    const std::size_t nSkip = static_cast<std::size_t>(-nRel);
    if (nSkip >= seg.m_nSize) return;  // all of it was had before
    Deliver(s, seg.m_pData + nSkip, seg.m_nSize - nSkip, seg.m_nMicros);
}

// Takes bytes at the expected position, then whatever waited for them.
void CTcpHsms::Deliver(CStream& s, const unsigned char* p, std::size_t n, long long nMicros) {
    s.m_nNext += static_cast<uint32_t>(n);
    s.m_nOffset += static_cast<long long>(n);
    s.m_chunks.push_back({p, n, nMicros});
    s.m_nAvail += n;
    while (!s.m_waiting.empty() && s.m_waiting.begin()->first <= s.m_nOffset) {
        auto it = s.m_waiting.begin();
        const SWaiting w = it->second;
        const std::size_t nSkip = static_cast<std::size_t>(s.m_nOffset - it->first);
        s.m_nWaitingBytes -= w.n;
        s.m_waiting.erase(it);
        if (nSkip >= w.n) continue;
        const std::size_t nTake = w.n - nSkip;
        s.m_nNext += static_cast<uint32_t>(nTake);
        s.m_nOffset += static_cast<long long>(nTake);
        // Complete now, with the segment that filled the hole.
        s.m_chunks.push_back({w.p + nSkip, nTake, nMicros});
        s.m_nAvail += nTake;
    }
    Frame(s, false);
}

// Bytes that never came: the message they belong to is dropped, and framing
// is looked for again after the hole.
void CTcpHsms::SkipGap(CStream& s) {
    if (s.m_waiting.empty()) return;
    Frame(s, true);
    auto it = s.m_waiting.begin();
    const long long nGap = it->first - s.m_nOffset;
    std::string strWarning = DecimalText(static_cast<unsigned long long>(nGap)) +
                             " bytes missing at stream offset " +
                             DecimalText(static_cast<unsigned long long>(s.m_nOffset));
    if (s.m_nAvail) strWarning += ", " + DecimalText(s.m_nAvail) + " bytes of a message dropped";
    if (s.m_eState == CStream::kHsms) Warn(s, strWarning, it->second.nMicros);
    s.m_chunks.clear();
    s.m_nFront = s.m_nAvail = 0;
    if (s.m_eState == CStream::kHsms) s.m_bResync = true;
    s.m_nNext += static_cast<uint32_t>(nGap);
    s.m_nOffset = it->first;
    const SWaiting w = it->second;
    s.m_nWaitingBytes -= w.n;
    s.m_waiting.erase(it);
    Deliver(s, w.p, w.n, w.nMicros);
}

// Looks for where framing starts: the first plausible frame followed by a
// second (or, at a stream's start, the first alone; at the end, one that
// ends exactly there). Bytes before it are passed over. False while more
// bytes are needed to decide.
bool CTcpHsms::Lock(CStream& s, bool bFinal) {
    unsigned char head[kHsmsFrameHead], next[kHsmsFrameHead];
    bool bFound = false;
    while (s.m_nAvail >= kHsmsFrameHead) {
        const bool bStart = s.m_bAtStart;
        s.m_bAtStart = false;
        const unsigned char* p = s.Peek(0, kHsmsFrameHead, head);
        if (IsPlausibleHsmsHead(p)) {
            const std::size_t nEnd = kHsmsLengthSize + ReadBE32(p);
            const bool bLast = nEnd <= s.m_nAvail && nEnd + kHsmsFrameHead > s.m_nAvail;
            if (bStart || (bFinal && bLast)) {
                bFound = true;  // at the end, a frame that fits is all there is to check
                break;
            }
            if (nEnd + kHsmsFrameHead > s.m_nAvail) {
                if (!bFinal) break;  // the second frame is not here yet: decide later
            } else if (IsPlausibleHsmsHead(s.Peek(nEnd, kHsmsFrameHead, next))) {
                bFound = true;
                break;
            }
        }
        if (!s.m_nPassed) s.m_nPassedFrom = s.FrontMicros();
        ++s.m_nPassed;
        ++s.m_nSearched;
        s.Consume(1);
    }
    if (!bFound) {
        if (s.m_eState == CStream::kUnknown && s.m_nSearched > kMaxLockSearch) {
            s.m_eState = CStream::kNotHsms;
            s.m_chunks.clear();
            s.m_nFront = s.m_nAvail = 0;
            s.m_waiting.clear();
            s.m_nWaitingBytes = 0;
        }
        return false;
    }
    if (s.m_nPassed) {
        const std::string strWhat = s.m_eState == CStream::kUnknown
                                        ? "capture starts inside a message, "
                                        : "framing found again, ";
        Warn(s, strWhat + DecimalText(s.m_nPassed) + " bytes passed over", s.m_nPassedFrom);
    }
    s.m_nPassed = 0;
    s.m_eState = CStream::kHsms;
    s.m_bResync = false;
    return true;
}

void CTcpHsms::Emit(CStream& s, std::size_t nLength) {
    s.Consume(kHsmsLengthSize);
    m_pieces.clear();
    long long nMicros = 0;
    for (std::size_t nLeft = nLength; nLeft;) {
        const SChunk& c = s.m_chunks.front();
        const std::size_t nHere = std::min(nLeft, c.n - s.m_nFront);
        m_pieces.emplace_back(c.p + s.m_nFront, nHere);
        nMicros = c.nMicros;
        nLeft -= nHere;
        s.Consume(nHere);
    }
    SFoundFacts facts;
    facts.nMicros = nMicros;
    facts.nFlow = s.m_nFlow;
    facts.nFraming = SSessionMsg::kHsms;
    m_builder.Add(m_pieces, facts);
}

void CTcpHsms::Frame(CStream& s, bool bFinal) {
    unsigned char head[kHsmsFrameHead];
    for (;;) {
        if (s.m_eState != CStream::kHsms || s.m_bResync) {
            if (s.m_eState == CStream::kNotHsms || !Lock(s, bFinal)) return;
            continue;
        }
        if (s.m_nAvail < kHsmsFrameHead) return;
        const unsigned char* p = s.Peek(0, kHsmsFrameHead, head);
        if (!IsPlausibleHsmsHead(p)) {
            Warn(s,
                 "HSMS framing lost at stream offset " +
                     DecimalText(static_cast<unsigned long long>(s.Offset())),
                 s.FrontMicros());
            s.m_bResync = true;
            continue;
        }
        const std::size_t nLength = ReadBE32(p);
        if (s.m_nAvail < kHsmsLengthSize + nLength) return;
        Emit(s, nLength);
    }
}

void CTcpHsms::Finish() {
    for (CStream* pStream : m_order) {
        CStream& s = *pStream;
        while (!s.m_waiting.empty() && s.m_eState != CStream::kNotHsms) SkipGap(s);
        if (s.m_eState != CStream::kNotHsms) Frame(s, true);
        if (s.m_eState != CStream::kHsms || s.m_nAvail == 0) continue;
        std::string strWarning =
            "capture ends inside a message, " + DecimalText(s.m_nAvail) + " bytes";
        unsigned char head[4];
        if (s.m_nAvail >= 4 && !s.m_bResync)
            strWarning += " of " + DecimalText(4 + ReadBE32(s.Peek(0, 4, head)));
        Warn(s, strWarning, s.FrontMicros());
    }
    if (m_nUnknownLink)
        m_builder.Warn(DecimalText(m_nUnknownLink) + " frames of link type " +
                       DecimalText(static_cast<unsigned>(m_nLink)) + " not read");
    if (m_nFragments) m_builder.Warn(DecimalText(m_nFragments) + " IP fragments not reassembled");
    if (m_nShort) m_builder.Warn(DecimalText(m_nShort) + " packets cut short");
    if (!m_strDamage.empty()) m_builder.Warn(m_strDamage);
}
