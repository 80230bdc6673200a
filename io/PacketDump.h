#pragma once
#include <string_view>

#include "io/SessionBuilder.h"

// True when the text is a dump of packets (tcpdump -X or -XX, tshark -x,
// Wireshark's "Copy as Hex Dump"): offset lines whose bytes begin with an
// Ethernet, IPv4 or IPv6 header, and perhaps tcpdump's summary lines.
bool IsPacketDump(std::string_view text);

// Converts every packet's bytes into the own store, then sends them through
// the capture path (link, IP and TCP headers, reassembly); times from
// tcpdump's summary lines where there are any.
void IndexPacketDump(CSessionBuilder& builder, std::string_view text, int nPort);
