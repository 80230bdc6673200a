#include <gtest/gtest.h>

#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>

#include "TestHelpers.h"
#include "decode/DecoderTable.h"
#include "decode/HexBits.h"
#include "model/FormatTable.h"

namespace {

const BodyCase kValueCases[] = {
    {"U2 pair", "A9 04 01 02 FF FF", "U2 258 65535"},
    {"I2 pair", "69 04 01 02 FF FF", "I2 258 -1"},
    {"U4", "B1 04 00 00 01 00", "U4 256"},
    {"U4 with two bytes left over", "B1 06 00 00 01 00 AB CD", "U4 256"},
    {"U4 largest", "B1 04 FF FF FF FF", "U4 4294967295"},
    {"I4 negative", "71 08 FF FF FF FE 80 00 00 00", "I4 -2 -2147483648"},
    {"U8 small", "A1 08 00 00 00 00 00 00 00 05", "U8 5"},
    {"U8 32-bit maximum", "A1 08 00 00 00 00 FF FF FF FF", "U8 4294967295"},
    {"U8 past 32 bits keeps its high bits", "A1 08 00 00 00 01 2A 05 F2 00", "U8 5000000000"},
    {"U8 largest rounds to a double", "A1 08 FF FF FF FF FF FF FF FF", "U8 1.8446744073709552e+19"},
    {"I8 -5", "61 08 FF FF FF FF FF FF FF FB", "I8 -5"},
    {"I8 past 32 bits keeps its high bits", "61 08 00 00 00 01 2A 05 F2 00", "I8 5000000000"},
    {"I8 extremes", "61 10 7F FF FF FF FF FF FF FF 80 00 00 00 00 00 00 00",
     "I8 9223372036854775807 -9223372036854775808"},
    {"boolean widened", "25 03 00 01 FF", "BOOL 0 1 255"},
    {"binary", "21 03 00 7F FF", "B 0 127 255"},
    {"JIS-8", "45 02 41 FF", "J 65 255"},
    {"I1", "65 02 7F 80", "I1 127 -128"},
    {"U1", "A5 02 00 FF", "U1 0 255"},
    {"ASCII", "41 05 48 65 6C 6C 6F", R"(A "Hello")"},
    {"ASCII cut at a NUL and padded", "41 04 41 42 00 43", R"(A "AB  ")"},
    {"F4 one", "91 04 3F 80 00 00", "F4 1"},
    {"F4 minus two", "91 04 C0 00 00 00", "F4 -2"},
    {"F4 negative zero is positive", "91 04 80 00 00 00", "F4 0"},
    {"F4 smallest subnormal", "91 04 00 00 00 01", "F4 1.40129846e-45"},
    {"F4 negative subnormal", "91 04 80 00 00 01", "F4 -1.40129846e-45"},
    {"F4 infinities", "91 08 7F 80 00 00 FF 80 00 00", "F4 inf -inf"},
    {"F4 NaNs keep their sign", "91 08 7F C0 00 00 FF C0 00 00", "F4 nan -nan"},
    {"F8 one", "81 08 3F F0 00 00 00 00 00 00", "F8 1"},
    {"F8 pi truncated to 30 fraction bits", "81 08 40 09 21 FB 54 44 2D 18",
     "F8 3.1415926534682512"},
    {"F8 minus two", "81 08 C0 00 00 00 00 00 00 00", "F8 -2"},
    {"F8 two to the 31", "81 08 41 E0 00 00 00 00 00 00", "F8 2147483648"},
    {"F8 zero", "81 08 00 00 00 00 00 00 00 00", "F8 0"},
    {"F8 about 1e-9 keeps one bit", "81 08 3E 11 2E 0B E8 26 D6 95", "F8 9.3132257461547852e-10"},
    {"F8 about -1e-9", "81 08 BE 11 2E 0B E8 26 D6 95", "F8 -9.3132257461547852e-10"},
    {"F8 below 2^-30 is a signed zero", "81 10 3E 00 00 00 00 00 00 00 80 00 00 00 00 00 00 01",
     "F8 0 -0"},
    {"F8 large integers stay exact", "81 08 43 40 00 00 00 00 00 01", "F8 9007199254740994"},
    {"F8 largest finite", "81 08 7F EF FF FF FF FF FF FF", "F8 1.7976931348623157e+308"},
    {"F8 infinities", "81 10 7F F0 00 00 00 00 00 00 FF F0 00 00 00 00 00 00", "F8 inf -inf"},
    {"F8 NaNs keep their sign", "81 10 7F F8 00 00 00 00 00 00 FF F8 00 00 00 00 00 01",
     "F8 nan -nan"},
    {"F8 with four bytes left over", "81 0C 3F F0 00 00 00 00 00 00 AA BB CC DD", "F8 1"},
    {"empty binary", "21 00", "B"},
    {"empty ASCII", "41 00", R"(A "")"},
    {"empty I8", "61 00", "I8"},
    {"empty F8", "81 00", "F8"},
    {"U2 shorter than one element", "A9 01 FF", "U2"},
};

TEST(ValueDecoders, Items) { ExpectBodies(kValueCases); }

TEST(ValueDecoders, AsciiStorageEndsInNul) {
    const auto pMsg = DecodeBody("41 05 48 65 6C 6C 6F");
    const CMsgCell& cell = *pMsg->m_cells.front();
    EXPECT_EQ(cell.m_nCount, 5);
    EXPECT_EQ(std::memcmp(cell.m_pValues, "Hello\0", 6), 0);
}

// Every data format's decoder makes a cell of its own format, and leaves a
// null or guarded message alone.
TEST(ValueDecoders, DispatchAndGuards) {
    CDecode decoder;
    const unsigned char bytes[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    for (const SFormat& f : kFormats) {
        SCOPED_TRACE(f.szItem);
        const DecodeFn fn = FindDecoder(f.nCode);
        if (f.nCode == kFormatList) {
            EXPECT_EQ(fn, nullptr);
            continue;
        }
        ASSERT_NE(fn, nullptr);
        (decoder.*fn)(nullptr, bytes, 8);
        CMsgInfo guarded;
        guarded.m_nStatus = -1;
        (decoder.*fn)(&guarded, bytes, 8);
        EXPECT_TRUE(guarded.m_cells.empty());
        CMsgInfo msg;
        (decoder.*fn)(&msg, bytes, 8);
        ASSERT_EQ(msg.m_cells.size(), 1u);
        EXPECT_EQ(msg.m_cells[0]->m_nFormat, f.nCode);
        EXPECT_EQ(msg.m_cells[0]->m_nCount, 8 / f.nWireWidth);
    }
    for (int nCode : {1, 33, 77, 78, -1}) EXPECT_EQ(FindDecoder(nCode), nullptr) << nCode;
}

TEST(HexBits, BytesToHex) {
    const unsigned char bytes[] = {0x00, 0x0A, 0xF0, 0xFF, 0x5C};
    EXPECT_EQ(BytesToHex(bytes, 5), "000AF0FF5C");
    EXPECT_EQ(BytesToHex(bytes, 0), "");
}

struct BitsCase {
    const char* name;
    const char* bits;
    int e;
    double value;
};

const BitsCase kBitsCases[] = {
    {"one", "", 0, 1.0},
    {"one and a half", "1", 0, 1.5},
    {"integer digits past the text", "1", 3, 12.0},
    {"negative exponent", "1", -1, 0.75},
    {"last kept bit", "", -30, std::ldexp(1.0, -30)},
    {"below the last kept bit", "", -31, 0.0},
    {"bits below 2^-30 dropped", "0000000000000000000000000000011", 0, 1.0 + std::ldexp(1.0, -30)},
};

TEST(HexBits, BitsToDouble) {
    for (const BitsCase& c : kBitsCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(BitsToDouble(c.bits, c.e), c.value);
    }
}

// The text way of the F8 decoder: hex digits, a text of binary digits,
// BitsToDouble. Exponent 2047 is IEEE infinity or NaN.
double F8ByText(const unsigned char* p) {
    static const char kBinary[] =
        "0000000100100011010001010110011110001001101010111100110111101111";
    const std::string strHex = BytesToHex(p, 8);
    int h[16];
    for (int i = 0; i < 16; ++i)
        h[i] = std::stoi(strHex.substr(static_cast<std::size_t>(i), 1), nullptr, 16);
    const int nExponent = (h[0] % 8) * 256 + h[1] * 16 + h[2];
    if (nExponent == 2047) {
        double d;
        std::uint64_t u = 0;
        for (int i = 0; i < 8; ++i) u = (u << 8) | p[i];
        std::memcpy(&d, &u, sizeof d);
        return d;
    }
    std::string strBits;
    for (int i = 3; i < 16; ++i) strBits.append(kBinary + 4 * h[i], 4);
    const double dSign = h[0] >= 8 ? -1.0 : 1.0;
    return dSign * BitsToDouble(strBits, nExponent - 1023);
}

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Each pattern's low nWidth bytes, most significant first, as on the wire.
template <typename T>
std::vector<unsigned char> WireBytes(const std::vector<T>& patterns, int nWidth) {
    std::vector<unsigned char> bytes;
    for (T u : patterns)
        for (int k = nWidth - 1; k >= 0; --k)
            bytes.push_back(static_cast<unsigned char>(u >> (8 * k)));
    return bytes;
}

// Every exponent, both signs, the extreme fractions and random ones.
TEST(ValueDecoders, F8MatchesTheTextWayForEveryExponent) {
    std::mt19937_64 random(20261207);
    CDecode decoder;
    for (std::uint64_t nExponent = 0; nExponent < 2048; ++nExponent) {
        std::vector<std::uint64_t> patterns;
        for (std::uint64_t nSign : {0ull, 1ull}) {
            const std::uint64_t nHigh = (nSign << 63) | (nExponent << 52);
            for (std::uint64_t nFraction : {0ull, 1ull, (1ull << 52) - 1, 1ull << 51})
                patterns.push_back(nHigh | nFraction);
            for (int i = 0; i < 8; ++i) patterns.push_back(nHigh | (random() >> 12));
        }
        const std::vector<unsigned char> bytes = WireBytes(patterns, 8);
        CMsgInfo msg;
        decoder.DecodeF8(&msg, bytes.data(), static_cast<int>(bytes.size()));
        const CMsgCell& cell = *msg.m_cells.front();
        ASSERT_EQ(cell.m_nCount, static_cast<int>(patterns.size()));
        for (int i = 0; i < cell.m_nCount; ++i) {
            const double dText = F8ByText(&bytes[static_cast<std::size_t>(i) * 8]);
            ASSERT_TRUE(SameBits(Element<double>(cell, i), dText))
                << "pattern " << std::hex << patterns[static_cast<std::size_t>(i)];
        }
    }
}

// The F4 steps as described, with ldexp on the widened fraction.
float F4ByArithmetic(std::uint32_t u) {
    const bool bNegative = (u >> 31) != 0;
    const int nExponent = static_cast<int>((u >> 23) & 0xFF);
    const std::int64_t nFraction = u & 0x7FFFFF;
    if (nExponent == 255) {
        float f;
        std::memcpy(&f, &u, sizeof f);
        return f;
    }
    if (nExponent == 0 && nFraction == 0) return 0.0f;
    const std::int64_t nSigned = nExponent ? nFraction + 0x800000 : nFraction;
    const double d = std::ldexp(static_cast<double>(bNegative ? -nSigned : nSigned),
                                nExponent ? nExponent - 150 : -149);
    return static_cast<float>(d);
}

TEST(ValueDecoders, F4MatchesTheArithmeticForEveryExponent) {
    std::mt19937 random(1207);
    CDecode decoder;
    std::vector<std::uint32_t> patterns;
    for (std::uint32_t nExponent = 0; nExponent < 256; ++nExponent)
        for (std::uint32_t nSign : {0u, 1u})
            for (std::uint32_t nFraction :
                 {0u, 1u, 0x7FFFFFu, 0x400000u, static_cast<std::uint32_t>(random() >> 9),
                  static_cast<std::uint32_t>(random() >> 9)})
                patterns.push_back((nSign << 31) | (nExponent << 23) | nFraction);
    const std::vector<unsigned char> bytes = WireBytes(patterns, 4);
    CMsgInfo msg;
    decoder.DecodeF4(&msg, bytes.data(), static_cast<int>(bytes.size()));
    const CMsgCell& cell = *msg.m_cells.front();
    for (int i = 0; i < cell.m_nCount; ++i) {
        const float fExpected = F4ByArithmetic(patterns[static_cast<std::size_t>(i)]);
        const float fActual = Element<float>(cell, i);
        ASSERT_EQ(std::memcmp(&fExpected, &fActual, sizeof fActual), 0)
            << "pattern " << std::hex << patterns[static_cast<std::size_t>(i)];
    }
}

// The integer decoders against reading hex text back with scanf, the way
// the values were once read: random items of random length.
TEST(ValueDecoders, IntegersMatchTheTextWay) {
    std::mt19937 random(7);
    CDecode decoder;
    for (int nRound = 0; nRound < 2000; ++nRound) {
        std::vector<unsigned char> bytes(random() % 40);
        for (auto& b : bytes) b = static_cast<unsigned char>(random());
        const std::string strHex = BytesToHex(bytes.data(), bytes.size());
        const int nLength = static_cast<int>(bytes.size());
        CMsgInfo msg;
        decoder.DecodeU2(&msg, bytes.data(), nLength);
        decoder.DecodeI2(&msg, bytes.data(), nLength);
        decoder.DecodeU4(&msg, bytes.data(), nLength);
        decoder.DecodeI4(&msg, bytes.data(), nLength);
        decoder.DecodeU8(&msg, bytes.data(), nLength);
        decoder.DecodeI8(&msg, bytes.data(), nLength);
        ASSERT_EQ(msg.m_cells.size(), 6u);
        for (int i = 0; i < nLength / 2; ++i) {
            unsigned int v = 0;
            std::sscanf(strHex.c_str() + 4 * i, "%4X", &v);
            ASSERT_EQ(Element<std::uint16_t>(*msg.m_cells[0], i), v);
            ASSERT_EQ(Element<std::int16_t>(*msg.m_cells[1], i), static_cast<std::int16_t>(v));
        }
        for (int i = 0; i < nLength / 4; ++i) {
            unsigned int v = 0;
            std::sscanf(strHex.c_str() + 8 * i, "%8X", &v);
            ASSERT_EQ(Element<std::uint32_t>(*msg.m_cells[2], i), v);
            ASSERT_EQ(Element<std::int32_t>(*msg.m_cells[3], i), static_cast<std::int32_t>(v));
        }
        for (int i = 0; i < nLength / 8; ++i) {
            unsigned long long v = 0;
            std::sscanf(strHex.c_str() + 16 * i, "%16llX", &v);
            ASSERT_EQ(Element<double>(*msg.m_cells[4], i), static_cast<double>(v));
            ASSERT_EQ(Element<std::int64_t>(*msg.m_cells[5], i), static_cast<std::int64_t>(v));
        }
    }
}

}  // namespace
