#include "io/CaptureFile.h"

#include <pcap/pcap.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>

#include "render/NumberText.h"

namespace {

unsigned int Be16(const unsigned char* p) { return static_cast<unsigned int>(p[0] << 8 | p[1]); }

// pcapng time stamps reach far beyond what µs in 64 bits can hold: such a
// time is clamped, never overflowed.
long long Micros(const timeval& tv) {
    constexpr long long kMaxSeconds = LLONG_MAX / 1000000 - 1;
    const long long nSeconds = std::clamp<long long>(tv.tv_sec, 0, kMaxSeconds);
    return nSeconds * 1000000 + std::clamp<long long>(tv.tv_usec, 0, 999999);
}

struct SCounts {
    std::size_t nFragments = 0;
    std::size_t nShort = 0;
};

void ReadTcp(const unsigned char* p, std::size_t n, CTcpSegment& seg, CTcpHsms& tcp,
             SCounts& counts) {
    if (n < 20 || (p[12] >> 4) * 4u < 20 || (p[12] >> 4) * 4u > n) {
        ++counts.nShort;
        return;
    }
    const std::size_t nHead = (p[12] >> 4) * 4u;
    seg.m_nSrcPort = static_cast<uint16_t>(Be16(p));
    seg.m_nDstPort = static_cast<uint16_t>(Be16(p + 2));
    seg.m_nSeq = static_cast<uint32_t>(p[4]) << 24 | p[5] << 16 | p[6] << 8 | p[7];
    seg.m_bSyn = (p[13] & 0x02) != 0;
    seg.m_pData = p + nHead;
    seg.m_nSize = n - nHead;
    tcp.Add(seg);
}

void ReadIp4(const unsigned char* p, std::size_t n, CTcpSegment& seg, CTcpHsms& tcp,
             SCounts& counts) {
    if (n < 20 || (p[0] & 0x0F) * 4u < 20 || (p[0] & 0x0F) * 4u > n) {
        ++counts.nShort;
        return;
    }
    if (p[9] != 6) return;
    if ((Be16(p + 6) & 0x3FFF) != 0) {  // more fragments, or a fragment offset
        ++counts.nFragments;
        return;
    }
    const std::size_t nTotal = Be16(p + 2);
    if (nTotal < (p[0] & 0x0Fu) * 4u || nTotal > n) {
        ++counts.nShort;
        return;
    }
    seg.m_bV6 = false;
    seg.m_src = {};
    seg.m_dst = {};
    std::memcpy(seg.m_src.data(), p + 12, 4);
    std::memcpy(seg.m_dst.data(), p + 16, 4);
    const std::size_t nHead = (p[0] & 0x0F) * 4u;
    ReadTcp(p + nHead, nTotal - nHead, seg, tcp, counts);
}

void ReadIp6(const unsigned char* p, std::size_t n, CTcpSegment& seg, CTcpHsms& tcp,
             SCounts& counts) {
    if (n < 40) {
        ++counts.nShort;
        return;
    }
    std::size_t nEnd = 40 + Be16(p + 4);
    if (nEnd > n) {
        ++counts.nShort;
        return;
    }
    unsigned char nNext = p[6];
    std::size_t i = 40;
    // Hop-by-hop, routing and destination options are stepped over.
    while ((nNext == 0 || nNext == 43 || nNext == 60) && i + 8 <= nEnd) {
        nNext = p[i];
        i += (p[i + 1] + 1u) * 8u;
    }
    if (nNext == 44) ++counts.nFragments;
    if (nNext != 6 || i > nEnd) return;
    seg.m_bV6 = true;
    std::memcpy(seg.m_src.data(), p + 8, 16);
    std::memcpy(seg.m_dst.data(), p + 24, 16);
    ReadTcp(p + i, nEnd - i, seg, tcp, counts);
}

void ReadIp(unsigned int nType, const unsigned char* p, std::size_t n, CTcpSegment& seg,
            CTcpHsms& tcp, SCounts& counts) {
    if (nType == 0x0800) ReadIp4(p, n, seg, tcp, counts);
    if (nType == 0x86DD) ReadIp6(p, n, seg, tcp, counts);
}

// The network-layer type of a frame and where that layer starts, by link type.
bool LinkPayload(int nLink, const unsigned char*& p, std::size_t& n, unsigned int& nType) {
    std::size_t nSkip = 0;
    switch (nLink) {
        case DLT_EN10MB:
            nSkip = 14;
            if (n < nSkip) return false;
            nType = Be16(p + 12);
            while ((nType == 0x8100 || nType == 0x88A8) && n >= nSkip + 4) {
                nType = Be16(p + nSkip + 2);
                nSkip += 4;
            }
            break;
        case DLT_LINUX_SLL:
            nSkip = 16;
            if (n < nSkip) return false;
            nType = Be16(p + 14);
            break;
        case DLT_LINUX_SLL2:
            nSkip = 20;
            if (n < nSkip) return false;
            nType = Be16(p);
            break;
        case DLT_NULL:
        case DLT_LOOP: {
            nSkip = 4;
            if (n < nSkip) return false;
            // The family is in the writer's byte order: AF_INET is 2 everywhere,
            // AF_INET6 is 10, 24, 28 or 30 depending on the system.
            const unsigned int nFamily = p[0] ? p[0] : p[3];
            nType = nFamily == 2 ? 0x0800 : 0x86DD;
            break;
        }
        case DLT_RAW:
        case DLT_IPV4:
        case DLT_IPV6:
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

}  // namespace

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

bool ReadCapture(const unsigned char* p, std::size_t n, CTcpHsms& tcp, std::string& strError) {
    std::FILE* pFile = n ? fmemopen(const_cast<unsigned char*>(p), n, "rb") : nullptr;
    if (!pFile) {
        strError = "empty capture";
        return false;
    }
    char szError[PCAP_ERRBUF_SIZE] = "";
    pcap_t* pPcap =
        pcap_fopen_offline_with_tstamp_precision(pFile, PCAP_TSTAMP_PRECISION_MICRO, szError);
    if (!pPcap) {
        std::fclose(pFile);
        strError = szError;
        return false;
    }
    const int nLink = pcap_datalink(pPcap);
    SCounts counts;
    std::size_t nUnknown = 0;
    CTcpSegment seg;
    pcap_pkthdr* pHeader = nullptr;
    const unsigned char* pFrame = nullptr;
    int nResult = 0;
    while ((nResult = pcap_next_ex(pPcap, &pHeader, &pFrame)) == 1) {
        std::size_t nFrame = pHeader->caplen;
        unsigned int nType = 0;
        if (!LinkPayload(nLink, pFrame, nFrame, nType)) {
            ++nUnknown;
            continue;
        }
        seg.m_nMicros = Micros(pHeader->ts);
        ReadIp(nType, pFrame, nFrame, seg, tcp, counts);
    }
    if (nResult == PCAP_ERROR)
        tcp.m_warnings.push_back(std::string("capture damaged: ") + pcap_geterr(pPcap));
    pcap_close(pPcap);
    if (nUnknown)
        tcp.m_warnings.push_back(DecimalText(nUnknown) + " frames of link type " +
                                 DecimalText(static_cast<unsigned>(nLink)) + " not read");
    if (counts.nFragments)
        tcp.m_warnings.push_back(DecimalText(counts.nFragments) + " IP fragments not reassembled");
    if (counts.nShort) tcp.m_warnings.push_back(CountText(counts.nShort, "packet") + " cut short");
    return true;
}
