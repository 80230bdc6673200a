#include "decode/DecoderTable.h"

#include <array>

#include "model/FormatTable.h"

namespace {

struct SDecoder {
    int nCode;
    DecodeFn fn;
};

constexpr SDecoder kDecoders[] = {
    {kFormatBinary, &CDecode::DecodeBinary}, {kFormatBoolean, &CDecode::DecodeBoolean},
    {kFormatAscii, &CDecode::DecodeAscii},   {kFormatJis8, &CDecode::DecodeJis8},
    {kFormatI8, &CDecode::DecodeI8},         {kFormatI1, &CDecode::DecodeI1},
    {kFormatI2, &CDecode::DecodeI2},         {kFormatI4, &CDecode::DecodeI4},
    {kFormatF8, &CDecode::DecodeF8},         {kFormatF4, &CDecode::DecodeF4},
    {kFormatU8, &CDecode::DecodeU8},         {kFormatU1, &CDecode::DecodeU1},
    {kFormatU2, &CDecode::DecodeU2},         {kFormatU4, &CDecode::DecodeU4},
};

// Every code a format byte can give: (b >> 2) + 2 * (b >> 5) is at most 77.
constexpr int kCodeLimit = FormatCodeOfByte(0xFF) + 1;

constexpr std::array<DecodeFn, kCodeLimit> MakeIndex() {
    std::array<DecodeFn, kCodeLimit> index{};
    for (const SDecoder& d : kDecoders) index[d.nCode] = d.fn;
    return index;
}
constexpr auto kIndex = MakeIndex();

}  // namespace

DecodeFn FindDecoder(int nCode) {
    if (nCode < 0 || nCode >= kCodeLimit) return nullptr;
    return kIndex[nCode];
}
