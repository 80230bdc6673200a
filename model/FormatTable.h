#pragma once
// The SECS-II formats this program knows, keyed by format code: the two
// octal digits of the format number read as a decimal number (0 list,
// 10 binary, ..., 54 U4). Every per-format decision in the program looks
// a code up here instead of switching on it.

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

// The fifteen known formats in code order.
const SFormat* AllFormats(int* pCount);

// Null for a code that is not one of the fifteen (an unknown format).
const SFormat* FindFormat(int nCode);

// Format code of a format byte: (b >> 2) + 2 * (b >> 5), i.e. the 6-bit
// format number's two octal digits read as decimal.
constexpr int FormatCodeOfByte(unsigned char b) { return (b >> 2) + 2 * (b >> 5); }
