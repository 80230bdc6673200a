#include "model/FormatTable.h"

#include <array>

namespace {

// Names are kept as they are printed (upper case, padding included). The
// boolean name keeps its two trailing blanks in both styles and JIS-8 has a
// one-character long name: listings in the field depend on both quirks.
// I8 is stored 8 bytes wide so that no bits of a 64-bit integer are lost.
constexpr SFormat kFormats[] = {
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

constexpr int kFormatCount = static_cast<int>(std::size(kFormats));
constexpr int kMaxCode = 77;  // octal 77, the largest 6-bit format number

// code -> index into kFormats, -1 for unknown codes.
constexpr std::array<signed char, kMaxCode + 1> MakeIndex() {
    std::array<signed char, kMaxCode + 1> index{};
    for (auto& i : index) i = -1;
    for (int i = 0; i < kFormatCount; ++i) index[kFormats[i].nCode] = static_cast<signed char>(i);
    return index;
}
constexpr auto kIndex = MakeIndex();

}  // namespace

const SFormat* AllFormats(int* pCount) {
    if (pCount) *pCount = kFormatCount;
    return kFormats;
}

const SFormat* FindFormat(int nCode) {
    if (nCode < 0 || nCode > kMaxCode || kIndex[nCode] < 0) return nullptr;
    return &kFormats[kIndex[nCode]];
}
