#pragma once
#include <cstddef>
#include <string>

#include "io/TcpHsms.h"

// True when the bytes begin as a pcap or pcapng file does.
bool IsCaptureFile(const unsigned char* p, std::size_t n);

// Reads a pcap or pcapng capture held in memory (through libpcap) and hands
// every TCP segment to tcp: Ethernet (with VLAN tags), Linux cooked v1 and
// v2, loopback and raw IP link types; IPv4 and IPv6. Packets that are not
// TCP are passed over; IP fragments and unknown link types are counted in
// tcp.m_warnings. False with a reason when libpcap refuses the file.
bool ReadCapture(const unsigned char* p, std::size_t n, CTcpHsms& tcp, std::string& strError);
