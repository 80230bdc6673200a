#pragma once
#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "io/FoundMsg.h"

struct CTcpSegment {
    std::array<unsigned char, 16> m_src{};  // IPv4 addresses use the first 4 bytes
    std::array<unsigned char, 16> m_dst{};
    bool m_bV6 = false;
    uint16_t m_nSrcPort = 0;
    uint16_t m_nDstPort = 0;
    uint32_t m_nSeq = 0;
    bool m_bSyn = false;
    const unsigned char* m_pData = nullptr;
    std::size_t m_nSize = 0;
    long long m_nMicros = 0;
};

// Reassembles TCP streams in both directions and cuts HSMS messages out of
// them. Retransmitted and overlapping bytes are taken once, out-of-order
// segments wait for the bytes before them; a hole that never fills is
// reported as a gap and framing resumes at the next plausible HSMS header.
// A stream is HSMS when its first bytes are a plausible HSMS header (any
// port), or, with a port given, when either end uses that port.
class CTcpHsms {
public:
    explicit CTcpHsms(int nPort = -1);
    ~CTcpHsms();
    void Add(const CTcpSegment& seg);
    // End of capture: waiting segments are delivered across their gaps, and
    // messages cut off by the end are reported.
    void Finish();

    std::vector<CFoundMsg> m_msgs;
    std::vector<std::string> m_warnings;

    struct CStream;

private:
    CStream& Find(const CTcpSegment& seg);
    void Deliver(CStream& s, const unsigned char* p, std::size_t n, long long nMicros);
    void Frame(CStream& s, long long nMicros);
    void SkipGap(CStream& s);

    int m_nPort;
    std::unordered_map<std::string, std::unique_ptr<CStream>> m_streams;
    std::vector<CStream*> m_order;  // first seen first: reports come in capture order
    std::unordered_map<std::string, std::size_t> m_sessions;
    std::string m_strKey;
    CStream* m_pLast = nullptr;
};

// "10.0.0.1:5000" or "[fe80::1]:5000".
std::string EndpointText(const std::array<unsigned char, 16>& addr, bool bV6, uint16_t nPort);
