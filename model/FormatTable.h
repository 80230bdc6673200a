#pragma once
#include <cstddef>
#include <iterator>

// The SECS-II formats this program knows, keyed by format code: the two
// octal digits of the format number read as a decimal number (0 list,
// 10 binary, ..., 54 U4). Every per-format decision in the program looks
// a code up here instead of switching on it; other per-format tables (the
// value decoders, the value texts) are columns of this one, in its order.

struct SFormat {
    int nCode;            // format code, e.g. 54 for U4
    const char* szItem;   // what the item is, for messages and docs
    int nWireWidth;       // bytes per element in the item stream (0: list)
    int nStoreWidth;      // bytes per element in CMsgCell::m_pValues (0: list)
    const char* szShort;  // bracket-style name, as printed ("U4", "BOOL  ")
    const char* szLong;   // column-style name, as printed ("UINT4 ", "J")
};

inline constexpr int kFormatList = 0;
inline constexpr int kFormatBinary = 10;
inline constexpr int kFormatBoolean = 11;
inline constexpr int kFormatAscii = 20;
inline constexpr int kFormatJis8 = 21;
inline constexpr int kFormatI8 = 30;
inline constexpr int kFormatI1 = 31;
inline constexpr int kFormatI2 = 32;
inline constexpr int kFormatI4 = 34;
inline constexpr int kFormatF8 = 40;
inline constexpr int kFormatF4 = 44;
inline constexpr int kFormatU8 = 50;
inline constexpr int kFormatU1 = 51;
inline constexpr int kFormatU2 = 52;
inline constexpr int kFormatU4 = 54;

// Names are kept as they are printed (upper case, padding included). The
// boolean name keeps its two trailing blanks in both styles and JIS-8 has a
// one-character long name: listings in the field depend on both quirks.
// I8 is stored 8 bytes wide so that no bits of a 64-bit integer are lost.
inline constexpr SFormat kFormats[] = {
    {kFormatList, "list", 0, 0, "L", "LIST  "},
    {kFormatBinary, "binary", 1, 1, "B", "BINARY"},
    {kFormatBoolean, "boolean", 1, 2, "BOOL  ", "BOOL  "},
    {kFormatAscii, "ASCII", 1, 1, "A", "ASCII "},
    {kFormatJis8, "JIS-8", 1, 1, "J", "J"},
    {kFormatI8, "8-byte signed integer", 8, 8, "I8", "INT8  "},
    {kFormatI1, "1-byte signed integer", 1, 1, "I1", "INT1  "},
    {kFormatI2, "2-byte signed integer", 2, 2, "I2", "INT2  "},
    {kFormatI4, "4-byte signed integer", 4, 4, "I4", "INT4  "},
    {kFormatF8, "8-byte floating point", 8, 8, "F8", "FLOAT8"},
    {kFormatF4, "4-byte floating point", 4, 4, "F4", "FLOAT4"},
    {kFormatU8, "8-byte unsigned integer", 8, 8, "U8", "UINT8 "},
    {kFormatU1, "1-byte unsigned integer", 1, 1, "U1", "UINT1 "},
    {kFormatU2, "2-byte unsigned integer", 2, 2, "U2", "UINT2 "},
    {kFormatU4, "4-byte unsigned integer", 4, 4, "U4", "UINT4 "},
};
inline constexpr int kFormatCount = static_cast<int>(std::size(kFormats));

// Format code of a format byte: (b >> 2) + 2 * (b >> 5), i.e. the 6-bit
// format number's two octal digits read as decimal.
constexpr int FormatCodeOfByte(unsigned char b) { return (b >> 2) + 2 * (b >> 5); }

// Position of a code in kFormats; -1 for a code that is not one of the
// fifteen (an unknown format), including codes no format byte can give.
int FormatIndexOf(int nCode);

// Null for an unknown code.
const SFormat* FindFormat(int nCode);

// True when a per-format table lists exactly the formats of kFormats, in
// their order, so that FormatIndexOf indexes it too. Rows need an nCode.
template <typename TRow, std::size_t N>
constexpr bool FollowsFormatTable(const TRow (&rows)[N]) {
    if (static_cast<int>(N) != kFormatCount) return false;
    for (std::size_t i = 0; i < N; ++i)
        if (rows[i].nCode != kFormats[i].nCode) return false;
    return true;
}
