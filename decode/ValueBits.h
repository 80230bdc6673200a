#pragma once
#include <cstdint>

// Element conversions of the value decoders, from big-endian item bytes.
// Callers guarantee the bytes are there (ByteCursor bounds the item).

inline std::uint16_t ReadBE16(const unsigned char* p) {
    return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}
inline std::uint32_t ReadBE32(const unsigned char* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
           std::uint32_t{p[3]};
}
inline std::uint64_t ReadBE64(const unsigned char* p) {
    return (std::uint64_t{ReadBE32(p)} << 32) | ReadBE32(p + 4);
}

// F4: the IEEE single of the pattern, except that a negative zero becomes
// +0.0. Exponent 255 stays IEEE infinity or NaN, sign kept.
float F4FromBits(std::uint32_t u);

// F8: sign times 1.fraction x 2^(E - 1023), truncated towards zero to a
// multiple of 2^-30 (so zeros and subnormals give a signed zero). Exponent
// 2047 stays IEEE infinity or NaN, sign kept.
double F8FromBits(std::uint64_t u);
