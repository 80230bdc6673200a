#pragma once
#include <cstdint>

#include "model/Bytes.h"

// Element conversions of the value decoders, from big-endian item bytes.
// Callers guarantee the bytes are there (ByteCursor bounds the item).

// F4: the IEEE single of the pattern, except that a negative zero becomes
// +0.0. Exponent 255 stays IEEE infinity or NaN, sign kept.
float F4FromBits(std::uint32_t u);

// F8: sign times 1.fraction x 2^(E - 1023), truncated towards zero to a
// multiple of 2^-30 (so zeros and subnormals give a signed zero). Exponent
// 2047 stays IEEE infinity or NaN, sign kept.
double F8FromBits(std::uint64_t u);
