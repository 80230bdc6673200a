#include "io/TcpHsms.h"

#include <cstring>

namespace {

constexpr std::size_t kFrameHead = 14;             // length and header
constexpr unsigned long kMaxMessage = 64ul << 20;  // beyond this a length is noise
constexpr std::size_t kMaxWaiting = 16u << 20;  // out-of-order bytes held before a gap is given up

unsigned long Be32(const unsigned char* p) {
    return static_cast<unsigned long>(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3];
}

// Length, PType 0 and a known SType; control messages have no body.
bool Plausible(const unsigned char* p) {
    const unsigned long nLength = Be32(p);
    if (nLength < 10 || nLength > kMaxMessage || p[8] != 0) return false;
    const unsigned char nSType = p[9];
    if (nSType == 0) return true;
    return (nSType <= 7 || nSType == 9) && nLength == 10;
}

std::string Hex4(unsigned int n) {
    static const char kDigits[] = "0123456789abcdef";
    std::string str;
    for (int nShift = 12; nShift >= 0; nShift -= 4)
        if (n >> nShift || nShift == 0 || !str.empty()) str += kDigits[(n >> nShift) & 15];
    return str;
}

// A capture that starts inside a connection starts inside a message: the
// stream is taken as HSMS from the first of two plausible headers in a row,
// if there is one within this many bytes.
constexpr std::size_t kMaxLockSearch = 64u << 10;

std::size_t FindChain(const unsigned char* p, std::size_t n) {
    for (std::size_t i = 0; i + kFrameHead <= n && i < kMaxLockSearch; ++i) {
        if (!Plausible(p + i)) continue;
        const std::size_t nNext = i + 4 + Be32(p + i);
        if (nNext + kFrameHead <= n && Plausible(p + nNext)) return i;
    }
    return n;
}

struct SWaiting {
    std::vector<unsigned char> m_bytes;
    long long m_nMicros = 0;
};

}  // namespace

struct CTcpHsms::CStream {
    enum EState { kUnknown, kHsms, kNotHsms };
    EState m_eState = kUnknown;
    bool m_bForced = false;  // the port asked for: framing is searched for
    std::string m_strSrc;
    std::string m_strDst;
    std::size_t m_nSession = 0;
    bool m_bStarted = false;
    uint32_t m_nNext = 0;                     // next sequence number expected
    long long m_nOffset = 0;                  // stream offset of m_nNext
    std::map<long long, SWaiting> m_waiting;  // out-of-order segments by stream offset
    std::size_t m_nWaitingBytes = 0;
    std::vector<unsigned char> m_buf;  // delivered, not yet framed
    std::size_t m_nUsed = 0;
    bool m_bResync = false;  // look for the next plausible header
    long long m_nLastMicros = 0;

    std::string Name() const { return m_strSrc + " -> " + m_strDst; }
};

CTcpHsms::CTcpHsms(int nPort) : m_nPort(nPort) {}
CTcpHsms::~CTcpHsms() = default;

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
        s.m_bForced = m_nPort >= 0 && bPort;
        if (m_nPort >= 0 && !bPort) s.m_eState = CStream::kNotHsms;
        const std::string strReverse = m_strKey.substr(16, 16) + m_strKey.substr(0, 16) +
                                       m_strKey.substr(34, 2) + m_strKey.substr(32, 2);
        const std::string& strConnection = std::min(m_strKey, strReverse);
        s.m_nSession = m_sessions.try_emplace(strConnection, m_sessions.size() + 1).first->second;
        m_order.push_back(&s);
    }
    m_pLast = it->second.get();
    return *m_pLast;
}

void CTcpHsms::Add(const CTcpSegment& seg) {
    CStream& s = Find(seg);
    if (s.m_eState == CStream::kNotHsms) return;
    if (seg.m_bSyn) {
        s.m_bStarted = true;
        s.m_nNext = seg.m_nSeq + 1;
        return;
    }
    if (seg.m_nSize == 0) return;
    if (!s.m_bStarted) {
        s.m_bStarted = true;
        s.m_nNext = seg.m_nSeq;
    }
    s.m_nLastMicros = seg.m_nMicros;
    const long long nRel = static_cast<int32_t>(seg.m_nSeq - s.m_nNext);
    if (nRel > 0) {
        SWaiting& w = s.m_waiting[s.m_nOffset + nRel];
        if (w.m_bytes.size() < seg.m_nSize) {
            s.m_nWaitingBytes += seg.m_nSize - w.m_bytes.size();
            w.m_bytes.assign(seg.m_pData, seg.m_pData + seg.m_nSize);
            w.m_nMicros = seg.m_nMicros;
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
    s.m_buf.insert(s.m_buf.end(), p, p + n);
    Frame(s, nMicros);
    while (!s.m_waiting.empty() && s.m_waiting.begin()->first <= s.m_nOffset) {
        auto it = s.m_waiting.begin();
        const SWaiting w = std::move(it->second);
        const std::size_t nSkip = static_cast<std::size_t>(s.m_nOffset - it->first);
        s.m_nWaitingBytes -= w.m_bytes.size();
        s.m_waiting.erase(it);
        if (nSkip >= w.m_bytes.size()) continue;
        const std::size_t nTake = w.m_bytes.size() - nSkip;
        s.m_nNext += static_cast<uint32_t>(nTake);
        s.m_nOffset += static_cast<long long>(nTake);
        s.m_buf.insert(s.m_buf.end(), w.m_bytes.begin() + static_cast<long>(nSkip),
                       w.m_bytes.end());
        Frame(s, nMicros);  // complete now, with the segment that filled the hole
    }
}

// Bytes that never came: what was framed so far is dropped, and framing
// resumes at the next plausible header after the hole.
void CTcpHsms::SkipGap(CStream& s) {
    if (s.m_waiting.empty()) return;
    auto it = s.m_waiting.begin();
    const long long nGap = it->first - s.m_nOffset;
    std::string strWarning = s.Name() + ": " + DecimalText(static_cast<unsigned long long>(nGap)) +
                             " bytes missing at stream offset " +
                             DecimalText(static_cast<unsigned long long>(s.m_nOffset));
    const std::size_t nPartial = s.m_buf.size() - s.m_nUsed;
    if (nPartial) strWarning += ", " + DecimalText(nPartial) + " bytes of a message dropped";
    if (s.m_eState == CStream::kHsms) m_warnings.push_back(strWarning);
    s.m_buf.clear();
    s.m_nUsed = 0;
    s.m_bResync = true;
    s.m_nNext += static_cast<uint32_t>(nGap);
    s.m_nOffset = it->first;
    SWaiting w = std::move(it->second);
    s.m_nWaitingBytes -= w.m_bytes.size();
    s.m_waiting.erase(it);
    Deliver(s, w.m_bytes.data(), w.m_bytes.size(), w.m_nMicros);
}

void CTcpHsms::Frame(CStream& s, long long nMicros) {
    for (;;) {
        const unsigned char* p = s.m_buf.data() + s.m_nUsed;
        std::size_t nAvail = s.m_buf.size() - s.m_nUsed;
        if (s.m_bResync || (s.m_eState == CStream::kUnknown && s.m_bForced)) {
            std::size_t i = 0;
            while (i + kFrameHead <= nAvail && !Plausible(p + i)) ++i;
            s.m_nUsed += i;
            if (i + kFrameHead > nAvail) break;
            s.m_bResync = false;
            s.m_eState = CStream::kHsms;
            continue;
        }
        if (nAvail < kFrameHead) break;
        if (!Plausible(p)) {
            if (s.m_eState == CStream::kUnknown) {
                const std::size_t nLock = FindChain(p, nAvail);
                if (nLock < nAvail) {
                    m_warnings.push_back(s.Name() + ": capture starts inside a message, " +
                                         DecimalText(nLock) + " bytes passed over");
                    s.m_nUsed += nLock;
                    s.m_eState = CStream::kHsms;
                    continue;
                }
                if (nAvail < kMaxLockSearch) break;  // wait for more bytes
                s.m_eState = CStream::kNotHsms;
                s.m_buf.clear();
                s.m_nUsed = 0;
                s.m_waiting.clear();
                s.m_nWaitingBytes = 0;
                return;
            }
            m_warnings.push_back(s.Name() + ": HSMS framing lost at stream offset " +
                                 DecimalText(static_cast<unsigned long long>(
                                     s.m_nOffset - static_cast<long long>(nAvail))));
            s.m_bResync = true;
            ++s.m_nUsed;
            continue;
        }
        s.m_eState = CStream::kHsms;
        const std::size_t nLength = Be32(p);
        if (nAvail < 4 + nLength) break;
        CFoundMsg found;
        found.m_msg.m_eFraming = EFraming::kHsms;
        found.m_msg.m_nSType = p[9];
        found.m_msg.m_bytes.assign(p + 4, p + 4 + nLength);
        found.m_nMicros = nMicros;
        found.m_strSource = s.m_strSrc;
        found.m_strDest = s.m_strDst;
        found.m_nSession = s.m_nSession;
        m_msgs.push_back(std::move(found));
        s.m_nUsed += 4 + nLength;
    }
    if (s.m_nUsed && s.m_nUsed * 2 >= s.m_buf.size()) {
        s.m_buf.erase(s.m_buf.begin(), s.m_buf.begin() + static_cast<long>(s.m_nUsed));
        s.m_nUsed = 0;
    }
}

void CTcpHsms::Finish() {
    for (CStream* pStream : m_order) {
        CStream& s = *pStream;
        while (!s.m_waiting.empty() && s.m_eState != CStream::kNotHsms) SkipGap(s);
        const std::size_t nLeft = s.m_buf.size() - s.m_nUsed;
        if (s.m_eState != CStream::kHsms || nLeft == 0) continue;
        std::string strWarning =
            s.Name() + ": capture ends inside a message, " + DecimalText(nLeft) + " bytes";
        if (nLeft >= 4) strWarning += " of " + DecimalText(4 + Be32(s.m_buf.data() + s.m_nUsed));
        m_warnings.push_back(strWarning);
    }
}
