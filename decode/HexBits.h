#pragma once
#include <cstddef>
#include <string>

// The textual helpers of the value decoders. The decoders themselves read
// big-endian bytes directly; these stay as the reference the fast path is
// proved against (tests/test_values.cpp) and for anyone who needs the text.

// Each byte as two upper-case hex digits ("%02X"), no separators: 2n chars.
std::string BytesToHex(const unsigned char* pBytes, std::size_t n);

// The binary number 1.bits times 2^e, truncated towards zero to a multiple
// of 2^-30. strBits holds only '0' and '1'.
double BitsToDouble(const std::string& strBits, int e);
