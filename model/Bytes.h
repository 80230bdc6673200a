#pragma once
#include <cstdint>
#include <string>

// The byte facts every layer shares: big-endian numbers and hex digits. One
// home, so that the header, the item walk, framing, captures and every text
// that shows bytes read and write them alike.

// Big-endian unsigned value of the first n (0 to 8) bytes at p. The caller has
// checked that n bytes are there (a ByteCursor take, a captured length).
inline std::uint64_t ReadBigEndian(const unsigned char* p, int n) {
    std::uint64_t v = 0;
    for (int i = 0; i < n; ++i) v = (v << 8) | p[i];
    return v;
}
inline std::uint16_t ReadBE16(const unsigned char* p) {
    return static_cast<std::uint16_t>(ReadBigEndian(p, 2));
}
inline std::uint32_t ReadBE32(const unsigned char* p) {
    return static_cast<std::uint32_t>(ReadBigEndian(p, 4));
}
inline std::uint64_t ReadBE64(const unsigned char* p) { return ReadBigEndian(p, 8); }

inline constexpr char kUpperHexDigits[] = "0123456789ABCDEF";

// 0 to 15 for a hex digit of either case; -1 for anything else.
constexpr int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Appends the byte as two upper-case hex digits ("%02X").
inline void AppendHexByte(std::string& str, unsigned char b) {
    str += kUpperHexDigits[b >> 4];
    str += kUpperHexDigits[b & 0x0F];
}
