#include "render/NumberText.h"

#include <cctype>
#include <charconv>
#include <cstring>

#include "model/Bytes.h"

namespace {

// std::to_chars with a precision gives printf's digits exactly, and spells
// the special values "inf" / "nan" with the sign glibc gives them.
constexpr int kFixedMax = 400;  // DBL_MAX has 309 integer digits

}  // namespace

void AppendFixed6(std::string& out, double v) {
    char buf[kFixedMax];
    const auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 6);
    out.append(buf, static_cast<size_t>(res.ptr - buf));
}

void AppendG3(std::string& out, double v) {
    char buf[48];
    const auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 6);
    const size_t n = static_cast<size_t>(res.ptr - buf);
    for (size_t i = 0; i < n; ++i) buf[i] = static_cast<char>(std::toupper(buf[i]));
    const char* pE = static_cast<const char*>(std::memchr(buf, 'E', n));
    if (!pE || (pE[1] != '+' && pE[1] != '-')) {
        out.append(buf, n);
        return;
    }
    const char* pDigits = pE + 2;
    const size_t nDigits = static_cast<size_t>(buf + n - pDigits);
    out.append(buf, static_cast<size_t>(pDigits - buf));
    if (nDigits < 3) out.append(3 - nDigits, '0');
    out.append(pDigits, nDigits);
}

void AppendDecimal(std::string& out, long long v, int nWidth) {
    char buf[24];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    const int nLen = static_cast<int>(res.ptr - buf);
    if (nLen < nWidth) out.append(static_cast<size_t>(nWidth - nLen), ' ');
    out.append(buf, static_cast<size_t>(nLen));
}

void AppendUnsigned(std::string& out, std::uint64_t v) {
    char buf[24];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, static_cast<std::size_t>(res.ptr - buf));
}

void AppendHex(std::string& out, std::uint64_t v, int nDigits) {
    int nNeeded = 1;
    while (nNeeded < 16 && (v >> (4 * nNeeded))) ++nNeeded;
    if (nDigits < nNeeded) nDigits = nNeeded;
    out += "0x";
    for (int i = nDigits - 1; i >= 0; --i) out += kUpperHexDigits[(v >> (4 * i)) & 0xF];
}

void AppendOffset(std::string& out, std::uint64_t v) {
    AppendUnsigned(out, v);
    out += " (";
    AppendHex(out, v, 1);
    out += ')';
}

void AppendCount(std::string& out, std::uint64_t n, const char* szNoun) {
    AppendUnsigned(out, n);
    out += ' ';
    out += szNoun;
    if (n != 1) out += 's';
}

std::string CountText(std::uint64_t n, const char* szNoun) {
    std::string str;
    AppendCount(str, n, szNoun);
    return str;
}
