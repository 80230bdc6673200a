#include "render/NumberText.h"

#include <charconv>

void AppendUnsigned(std::string& out, std::uint64_t v) {
    char buf[24];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, static_cast<std::size_t>(res.ptr - buf));
}

void AppendSigned(std::string& out, std::int64_t v) {
    char buf[24];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, static_cast<std::size_t>(res.ptr - buf));
}

void AppendHex(std::string& out, std::uint64_t v, int nDigits) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    int nNeeded = 1;
    while (nNeeded < 16 && (v >> (4 * nNeeded))) ++nNeeded;
    if (nDigits < nNeeded) nDigits = nNeeded;
    out += "0x";
    for (int i = nDigits - 1; i >= 0; --i) out += kDigits[(v >> (4 * i)) & 0xF];
}

void AppendOffset(std::string& out, std::uint64_t v) {
    AppendUnsigned(out, v);
    out += " (";
    AppendHex(out, v, 1);
    out += ')';
}
