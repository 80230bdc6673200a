#include "decode/DecoderTable.h"

#include "model/FormatTable.h"

namespace {

struct SDecoder {
    int nCode;
    DecodeFn fn;
};

constexpr SDecoder kDecoders[] = {
    {kFormatList, nullptr},
    {kFormatBinary, &CDecode::DecodeBinary},
    {kFormatBoolean, &CDecode::DecodeBoolean},
    {kFormatAscii, &CDecode::DecodeAscii},
    {kFormatJis8, &CDecode::DecodeJis8},
    {kFormatI8, &CDecode::DecodeI8},
    {kFormatI1, &CDecode::DecodeI1},
    {kFormatI2, &CDecode::DecodeI2},
    {kFormatI4, &CDecode::DecodeI4},
    {kFormatF8, &CDecode::DecodeF8},
    {kFormatF4, &CDecode::DecodeF4},
    {kFormatU8, &CDecode::DecodeU8},
    {kFormatU1, &CDecode::DecodeU1},
    {kFormatU2, &CDecode::DecodeU2},
    {kFormatU4, &CDecode::DecodeU4},
};
static_assert(FollowsFormatTable(kDecoders));

}  // namespace

DecodeFn FindDecoder(int nCode) {
    const int i = FormatIndexOf(nCode);
    return i < 0 ? nullptr : kDecoders[i].fn;
}
