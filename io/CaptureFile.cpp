#include "io/CaptureFile.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "io/MsgFraming.h"
#include "model/Bytes.h"

namespace {

// Link types as capture files number them (LINKTYPE_*, tcpdump.org).
enum ELinkType : int {
    kLinkNull = 0,
    kLinkEthernet = 1,
    kLinkRaw = 101,
    kLinkLoop = 108,
    kLinkLinuxSll = 113,
    kLinkIpv4 = 228,
    kLinkIpv6 = 229,
    kLinkLinuxSll2 = 276,
};

void ReadTcp(const unsigned char* p, std::size_t n, CTcpSegment& seg, CTcpHsms& tcp) {
    if (n < 20 || (p[12] >> 4) * 4u < 20 || (p[12] >> 4) * 4u > n) {
        ++tcp.m_nShort;
        return;
    }
    const std::size_t nHead = (p[12] >> 4) * 4u;
    seg.m_nSrcPort = ReadBE16(p);
    seg.m_nDstPort = ReadBE16(p + 2);
    seg.m_nSeq = ReadBE32(p + 4);
    seg.m_bSyn = (p[13] & 0x02) != 0;
    seg.m_pData = p + nHead;
    seg.m_nSize = n - nHead;
    tcp.Add(seg);
}

// A total length of 0 is what a sender's capture shows for a segment its
// network card cuts up (segmentation offload): the captured bytes tell.
void ReadIp4(const unsigned char* p, std::size_t n, CTcpSegment& seg, CTcpHsms& tcp) {
    const std::size_t nHead = (p[0] & 0x0Fu) * 4u;
    if (n < 20 || nHead < 20 || nHead > n) {
        ++tcp.m_nShort;
        return;
    }
    if (p[9] != 6) return;
    if ((ReadBE16(p + 6) & 0x3FFF) != 0) {  // more fragments, or a fragment offset
        ++tcp.m_nFragments;
        return;
    }
    std::size_t nTotal = ReadBE16(p + 2);
    if (nTotal == 0) nTotal = n;
    if (nTotal < nHead || nTotal > n) {
        ++tcp.m_nShort;
        return;
    }
    seg.m_bV6 = false;
    seg.m_src = {};
    seg.m_dst = {};
    std::memcpy(seg.m_src.data(), p + 12, 4);
    std::memcpy(seg.m_dst.data(), p + 16, 4);
    ReadTcp(p + nHead, nTotal - nHead, seg, tcp);
}

void ReadIp6(const unsigned char* p, std::size_t n, CTcpSegment& seg, CTcpHsms& tcp) {
    if (n < 40) {
        ++tcp.m_nShort;
        return;
    }
    const std::size_t nEnd = 40 + ReadBE16(p + 4);
    if (nEnd > n) {
        ++tcp.m_nShort;
        return;
    }
    unsigned char nNext = p[6];
    std::size_t i = 40;
    // Hop-by-hop, routing and destination options are stepped over.
    while ((nNext == 0 || nNext == 43 || nNext == 60) && i + 8 <= nEnd) {
        nNext = p[i];
        i += (p[i + 1] + 1u) * 8u;
    }
    if (nNext == 44) ++tcp.m_nFragments;
    if (nNext != 6 || i > nEnd) return;
    seg.m_bV6 = true;
    std::memcpy(seg.m_src.data(), p + 8, 16);
    std::memcpy(seg.m_dst.data(), p + 24, 16);
    ReadTcp(p + i, nEnd - i, seg, tcp);
}

// The network-layer type of a frame and where that layer starts, by link type.
bool LinkPayload(int nLink, const unsigned char*& p, std::size_t& n, unsigned int& nType) {
    std::size_t nSkip = 0;
    switch (nLink) {
        case kLinkEthernet:
            nSkip = 14;
            if (n < nSkip) return false;
            nType = ReadBE16(p + 12);
            while ((nType == 0x8100 || nType == 0x88A8) && n >= nSkip + 4) {
                nType = ReadBE16(p + nSkip + 2);
                nSkip += 4;
            }
            break;
        case kLinkLinuxSll:
            nSkip = 16;
            if (n < nSkip) return false;
            nType = ReadBE16(p + 14);
            break;
        case kLinkLinuxSll2:
            nSkip = 20;
            if (n < nSkip) return false;
            nType = ReadBE16(p);
            break;
        case kLinkNull:
        case kLinkLoop: {
            nSkip = 4;
            if (n < nSkip) return false;
            // The family is in the writer's byte order: AF_INET is 2 everywhere,
            // AF_INET6 is 10, 24, 28 or 30 depending on the system.
            const unsigned int nFamily = p[0] ? p[0] : p[3];
            nType = nFamily == 2 ? 0x0800 : 0x86DD;
            break;
        }
        case kLinkRaw:
        case kLinkIpv4:
        case kLinkIpv6:
            if (n < 1) return false;
            nType = (p[0] >> 4) == 6 ? 0x86DD : 0x0800;
            break;
        default:
            return false;
    }
    p += nSkip;
    n -= nSkip;
    return true;
}

// Little- or big-endian reading, as the capture's writer chose.
struct SOrder {
    bool bSwap = false;  // big-endian file
    std::uint32_t U32(const unsigned char* p) const {
        return bSwap ? ReadBE32(p)
                     : static_cast<std::uint32_t>(p[0] | p[1] << 8 | p[2] << 16 |
                                                  static_cast<std::uint32_t>(p[3]) << 24);
    }
    std::uint16_t U16(const unsigned char* p) const {
        return bSwap ? ReadBE16(p) : static_cast<std::uint16_t>(p[0] | p[1] << 8);
    }
};

// Time stamp units to µs, clamped rather than overflowed.
struct SResolution {
    bool bPowerOfTwo = false;
    int nExponent = 6;  // units of 10^-6 s, or of 2^-nExponent s
    long long Micros(unsigned long long nTicks) const {
        unsigned __int128 v = nTicks;
        if (bPowerOfTwo) {
            v = v * 1000000u >> std::min(nExponent, 127);
        } else {
            for (int i = nExponent; i > 6; --i) v /= 10;
            for (int i = nExponent; i < 6; ++i) v *= 10;
        }
        return v > static_cast<unsigned __int128>(LLONG_MAX) ? LLONG_MAX
                                                             : static_cast<long long>(v);
    }
};

struct SInterface {
    int nLink = -1;
    SResolution res;
};

class CCaptureWalk {
public:
    CCaptureWalk(const unsigned char* p, std::size_t n, CTcpHsms& tcp,
                 const FSessionProgress& progress)
        : m_p(p), m_n(n), m_tcp(tcp), m_progress(progress) {}

    bool Pcap(std::string& strError);
    bool Pcapng(std::string& strError);

private:
    bool Tick(std::size_t nAt, std::string& strError) {
        if (!m_progress || nAt - m_nTicked < (8u << 20)) return true;
        m_nTicked = nAt;
        if (m_progress(nAt, m_n)) return true;
        strError = "cancelled";
        return false;
    }
    void Damaged(std::size_t nAt) {
        m_tcp.m_strDamage = "capture damaged at byte " + DecimalText(nAt);
    }
    bool InterfaceBlock(const unsigned char* b, std::size_t nBody, const SOrder& o);

    const unsigned char* m_p;
    std::size_t m_n;
    CTcpHsms& m_tcp;
    const FSessionProgress& m_progress;
    std::size_t m_nTicked = 0;
    std::vector<SInterface> m_interfaces;
};

bool CCaptureWalk::Pcap(std::string& strError) {
    if (m_n < 24) {
        strError = "capture header cut short";
        return false;
    }
    const std::uint32_t nMagic = ReadBE32(m_p);
    SOrder o;
    o.bSwap = nMagic == 0xA1B2C3D4 || nMagic == 0xA1B23C4D;
    SResolution res;
    if (nMagic == 0x4D3CB2A1 || nMagic == 0xA1B23C4D) res.nExponent = 9;
    const int nLink = static_cast<int>(o.U32(m_p + 20) & 0x0FFFFFFF);
    std::size_t i = 24;
    while (i < m_n) {
        if (!Tick(i, strError)) return false;
        if (m_n - i < 16) {
            Damaged(i);
            break;
        }
        const unsigned char* h = m_p + i;
        const std::size_t nCap = o.U32(h + 8);
        if (nCap > m_n - i - 16) {
            Damaged(i);
            break;
        }
        const long long nMicros = res.Micros(static_cast<unsigned long long>(o.U32(h)) *
                                                 (res.nExponent == 9 ? 1000000000ull : 1000000ull) +
                                             o.U32(h + 4));
        ReadFrame(nLink, h + 16, nCap, nMicros, m_tcp);
        i += 16 + nCap;
    }
    return true;
}

bool CCaptureWalk::InterfaceBlock(const unsigned char* b, std::size_t nBody, const SOrder& o) {
    if (nBody < 8) return false;
    SInterface itf;
    itf.nLink = o.U16(b);
    // Options: code, length, value padded to 4 bytes; if_tsresol is code 9.
    for (std::size_t k = 8; k + 4 <= nBody;) {
        const unsigned int nCode = o.U16(b + k), nLen = o.U16(b + k + 2);
        if (nCode == 0 || k + 4 + nLen > nBody) break;
        if (nCode == 9 && nLen >= 1) {
            itf.res.bPowerOfTwo = b[k + 4] & 0x80;
            itf.res.nExponent = b[k + 4] & 0x7F;
        }
        k += 4 + (nLen + 3u) / 4u * 4u;
    }
    m_interfaces.push_back(itf);
    return true;
}

bool CCaptureWalk::Pcapng(std::string& strError) {
    SOrder o;
    std::size_t i = 0;
    while (i < m_n) {
        if (!Tick(i, strError)) return false;
        if (m_n - i < 12) {
            Damaged(i);
            break;
        }
        const unsigned char* b = m_p + i;
        if (ReadBE32(b) == 0x0A0D0D0A) {  // a section: its byte order, new interfaces
            const std::uint32_t nBom = ReadBE32(b + 8);
            if (nBom != 0x1A2B3C4D && nBom != 0x4D3C2B1A) {
                Damaged(i);
                break;
            }
            o.bSwap = nBom == 0x1A2B3C4D;
            m_interfaces.clear();
        }
        const std::uint32_t nType = o.U32(b);
        const std::size_t nTotal = o.U32(b + 4);
        if (nTotal < 12 || nTotal % 4 || nTotal > m_n - i) {
            Damaged(i);
            break;
        }
        const unsigned char* pBody = b + 8;
        const std::size_t nBody = nTotal - 12;
        if (nType == 1) {
            InterfaceBlock(pBody, nBody, o);
        } else if ((nType == 6 || nType == 2) && nBody >= 20) {
            const std::size_t nItf = nType == 6 ? o.U32(pBody) : o.U16(pBody);
            const unsigned long long nTicks =
                static_cast<unsigned long long>(o.U32(pBody + 4)) << 32 | o.U32(pBody + 8);
            const std::size_t nCap = std::min<std::size_t>(o.U32(pBody + 12), nBody - 20);
            if (nItf < m_interfaces.size()) {
                const SInterface& itf = m_interfaces[nItf];
                ReadFrame(itf.nLink, pBody + 20, nCap, itf.res.Micros(nTicks), m_tcp);
            }
        } else if (nType == 3 && nBody >= 4 && !m_interfaces.empty()) {
            const std::size_t nCap = std::min<std::size_t>(o.U32(pBody), nBody - 4);
            ReadFrame(m_interfaces[0].nLink, pBody + 4, nCap, 0, m_tcp);
        }
        i += nTotal;
    }
    return true;
}

}  // namespace

void ReadFrame(int nLink, const unsigned char* p, std::size_t n, long long nMicros, CTcpHsms& tcp) {
    unsigned int nType = 0;
    if (!LinkPayload(nLink, p, n, nType)) {
        ++tcp.m_nUnknownLink;
        tcp.m_nLink = nLink;
        return;
    }
    CTcpSegment seg;
    seg.m_nMicros = nMicros;
    if (nType == 0x0800) ReadIp4(p, n, seg, tcp);
    if (nType == 0x86DD) ReadIp6(p, n, seg, tcp);
}

bool IsCaptureFile(const unsigned char* p, std::size_t n) {
    static const unsigned char kMagics[][4] = {{0xD4, 0xC3, 0xB2, 0xA1},
                                               {0xA1, 0xB2, 0xC3, 0xD4},
                                               {0x4D, 0x3C, 0xB2, 0xA1},
                                               {0xA1, 0xB2, 0x3C, 0x4D},
                                               {0x0A, 0x0D, 0x0D, 0x0A}};
    if (n < 4) return false;
    for (const auto& magic : kMagics)
        if (std::memcmp(p, magic, 4) == 0) return true;
    return false;
}

bool ReadCapture(const unsigned char* p, std::size_t n, CTcpHsms& tcp, std::string& strError,
                 const FSessionProgress& progress) {
    if (!IsCaptureFile(p, n)) {
        strError = "not a pcap or pcapng capture";
        return false;
    }
    CCaptureWalk walk(p, n, tcp, progress);
    const bool bOk = ReadBE32(p) == 0x0A0D0D0A ? walk.Pcapng(strError) : walk.Pcap(strError);
    if (!bOk) return false;
    tcp.Finish();
    return true;
}
