#pragma once
#include <cstddef>
#include <string>

#include "io/SessionIndex.h"
#include "io/TcpHsms.h"

// True when the bytes begin as a pcap or pcapng file does.
bool IsCaptureFile(const unsigned char* p, std::size_t n);

// Walks a pcap or pcapng capture in place (either byte order, µs or ns time
// stamps, pcapng interfaces with their own link types and resolutions) and
// hands every TCP segment to tcp, its payload pointing into p. Link types:
// Ethernet (with VLAN tags), Linux cooked v1 and v2, loopback and raw IP;
// IPv4 and IPv6. Packets that are not TCP are passed over; fragments, cut
// packets, unknown link types and a damaged tail are counted in warnings.
// False with a reason when the file is no capture at all or progress
// cancelled.
bool ReadCapture(const unsigned char* p, std::size_t n, CTcpHsms& tcp, std::string& strError,
                 const FSessionProgress& progress = {});

// One link-layer frame as the capture reader sees it (packet dumps in text
// come through here too).
void ReadFrame(int nLink, const unsigned char* p, std::size_t n, long long nMicros, CTcpHsms& tcp);
