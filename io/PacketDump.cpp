#include "io/PacketDump.h"

#include <algorithm>

#include "io/CaptureFile.h"
#include "io/HexText.h"
#include "io/MsgFraming.h"
#include "io/TimeText.h"
#include "model/Bytes.h"

namespace {

// Link types of capture files, for the layer a dump starts with.
constexpr int kLinkEthernet = 1;
constexpr int kLinkRaw = 101;
constexpr int kLinkLinuxSll = 113;

bool IsIpv4Tcp(const unsigned char* p, std::size_t n) {
    return n >= 40 && p[0] >> 4 == 4 && (p[0] & 0x0F) >= 5 && p[9] == 6;
}
bool IsIpv6(const unsigned char* p, std::size_t n) { return n >= 40 && p[0] >> 4 == 6; }
bool IsIpType(unsigned int nType) {
    return nType == 0x0800 || nType == 0x86DD || nType == 0x8100 || nType == 0x88A8;
}

// What a dumped packet starts with: tcpdump -X the IP header, -XX and
// tshark -x the link header (Ethernet, or Linux cooked on "any"); -1 none.
int LinkOf(const unsigned char* p, std::size_t n) {
    if (IsIpv4Tcp(p, n)) return kLinkRaw;
    if (n >= 54 && IsIpType(ReadBE16(p + 12)) &&
        (IsIpv4Tcp(p + 14, n - 14) || IsIpv6(p + 14, n - 14) || ReadBE16(p + 12) >= 0x8100))
        return kLinkEthernet;
    if (n >= 56 && ReadBE16(p) <= 4 && ReadBE16(p + 4) <= 8 && IsIpType(ReadBE16(p + 14)))
        return kLinkLinuxSll;
    if (IsIpv6(p, n)) return kLinkRaw;
    return -1;
}

}  // namespace

bool IsPacketDump(std::string_view text) {
    const CHexText hex =
        ReadHexText(text.substr(0, std::min<std::size_t>(text.size(), 1 << 16)), false);
    std::size_t nPackets = 0;
    for (const CHexBlock& block : hex.m_blocks)
        if (LinkOf(hex.m_bytes.data() + block.m_nBegin, block.m_nEnd - block.m_nBegin) >= 0)
            ++nPackets;
    return nPackets && nPackets * 2 >= hex.m_blocks.size();
}

void IndexPacketDump(CSessionBuilder& builder, std::string_view text, int nPort) {
    CHexText hex = ReadHexText(text, false);
    // Every packet's bytes go to the own store first: the reassembly names
    // them by pointer, so the store must not move afterwards.
    builder.Own() = std::move(hex.m_bytes);
    const unsigned char* p = builder.Own().data();
    CTcpHsms tcp(builder, nPort);
    std::size_t nNotPackets = 0;
    bool bAllDated = true, bAnyTime = false;
    for (const CHexBlock& block : hex.m_blocks) {
        const std::size_t n = block.m_nEnd - block.m_nBegin;
        const int nLink = LinkOf(p + block.m_nBegin, n);
        if (nLink < 0) {
            ++nNotPackets;
            continue;
        }
        bool bDate = false;
        const long long nMicros =
            block.m_strTime.empty() ? SSessionMsg::kNoTime : LogTimeMicros(block.m_strTime, bDate);
        if (!block.m_strTime.empty()) {
            bAnyTime = true;
            bAllDated = bAllDated && bDate;
        }
        ReadFrame(nLink, p + block.m_nBegin, n, nMicros, tcp);
    }
    tcp.Finish();
    builder.SetTimesOfDay(bAnyTime && !bAllDated);
    if (nNotPackets)
        builder.Warn(DecimalText(nNotPackets) + " byte runs that are no packets passed over");
}
