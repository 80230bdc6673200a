#include "decode/ValueBits.h"

#include <cmath>
#include <cstring>

float F4FromBits(std::uint32_t u) {
    if ((u & 0x7FFFFFFFu) == 0) return 0.0f;
    float f;
    std::memcpy(&f, &u, sizeof f);
    return f;
}

double F8FromBits(std::uint64_t u) {
    const bool bNegative = (u >> 63) != 0;
    const int nExponent = static_cast<int>((u >> 52) & 0x7FF);
    if (nExponent == 0x7FF) {
        double d;
        std::memcpy(&d, &u, sizeof d);
        return d;
    }
    const int e = nExponent - 1023;
    const std::uint64_t nMantissa = (u & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52);
    // Bit k of the mantissa is worth 2^(k + e - 52); the ones below 2^-30 go.
    const int nDrop = 22 - e;
    double v = 0.0;
    if (nDrop <= 0)
        v = std::ldexp(static_cast<double>(nMantissa), e - 52);
    else if (nDrop < 53)
        v = std::ldexp(static_cast<double>(nMantissa >> nDrop), -30);
    return bNegative ? -v : v;
}
