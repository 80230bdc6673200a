#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "io/SessionBuilder.h"

struct CTcpSegment {
    std::array<unsigned char, 16> m_src{};  // IPv4 addresses use the first 4 bytes
    std::array<unsigned char, 16> m_dst{};
    bool m_bV6 = false;
    uint16_t m_nSrcPort = 0;
    uint16_t m_nDstPort = 0;
    uint32_t m_nSeq = 0;
    bool m_bSyn = false;
    const unsigned char* m_pData = nullptr;  // stays valid as long as the session's source
    std::size_t m_nSize = 0;
    long long m_nMicros = 0;
};

// Reassembles TCP streams in both directions and cuts HSMS messages out of
// them, in place: a message's bytes are named as the pieces of the segments
// that carried them, never copied. Retransmitted and overlapping bytes are
// taken once; out-of-order segments wait for the bytes before them; a hole
// that never fills is reported as a gap. A SYN starts a new stream (a
// reused connection never joins the old bytes to the new). A stream seen
// from its start is HSMS when its first bytes are a plausible frame; one
// seen from the middle (a capture started late, after a gap, framing lost)
// is picked up where a chain of two plausible frames begins, and the bytes
// passed over are reported. With a port given only streams using it count.
class CTcpHsms {
public:
    CTcpHsms(CSessionBuilder& builder, int nPort = -1);
    ~CTcpHsms();
    void Add(const CTcpSegment& seg);
    // End of capture: waiting segments are delivered across their gaps, and
    // messages cut off by the end are reported.
    void Finish();

    // Frames the capture reader passed over, reported by Finish.
    std::size_t m_nFragments = 0;
    std::size_t m_nShort = 0;
    std::size_t m_nUnknownLink = 0;
    int m_nLink = -1;
    std::string m_strDamage;  // where the capture stopped making sense

    struct CStream;

private:
    CStream& Find(const CTcpSegment& seg);
    void Restart(CStream& s);
    void Deliver(CStream& s, const unsigned char* p, std::size_t n, long long nMicros);
    void Frame(CStream& s, bool bFinal);
    bool Lock(CStream& s, bool bFinal);
    void Emit(CStream& s, std::size_t nLength);
    void SkipGap(CStream& s);
    void Warn(const CStream& s, const std::string& strText, long long nMicros);

    CSessionBuilder& m_builder;
    int m_nPort;
    std::unordered_map<std::string, std::unique_ptr<CStream>> m_streams;
    std::vector<CStream*> m_order;  // first seen first: reports come in capture order
    std::uint32_t m_nConnections = 0;
    std::string m_strKey;
    CStream* m_pLast = nullptr;
    std::vector<std::span<const unsigned char>> m_pieces;
};

// "10.0.0.1:5000" or "[fe80::1]:5000".
std::string EndpointText(const std::array<unsigned char, 16>& addr, bool bV6, uint16_t nPort);
