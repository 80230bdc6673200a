#pragma once
#include <vector>

// A classic pcap of nPairs HSMS transactions between 10.0.0.1:40000 and
// 10.0.0.2:5000: S6F11W with bodies of 3 to 1202 bytes and a small S6F12
// reply each, eight pairs a burst, both directions cut at the MSS, so
// messages span packets. No SYN: the streams are picked up mid-way.
std::vector<unsigned char> HsmsCapture(int nPairs);
