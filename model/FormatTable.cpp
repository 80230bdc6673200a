#include "model/FormatTable.h"

#include <array>

namespace {

constexpr int kMaxCode = FormatCodeOfByte(0xFF);  // 77: octal 77, the largest format number

constexpr std::array<signed char, kMaxCode + 1> MakeIndex() {
    std::array<signed char, kMaxCode + 1> index{};
    for (auto& i : index) i = -1;
    for (int i = 0; i < kFormatCount; ++i) index[kFormats[i].nCode] = static_cast<signed char>(i);
    return index;
}
constexpr auto kIndex = MakeIndex();

}  // namespace

int FormatIndexOf(int nCode) { return nCode < 0 || nCode > kMaxCode ? -1 : kIndex[nCode]; }

const SFormat* FindFormat(int nCode) {
    const int i = FormatIndexOf(nCode);
    return i < 0 ? nullptr : &kFormats[i];
}
