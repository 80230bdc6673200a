#include "render/ValueText.h"

#include <array>
#include <charconv>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "model/FormatTable.h"

namespace {

// Elements are read with memcpy: storage carries no alignment promise.
template <typename T>
T Load(const unsigned char* p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// Integers print exactly as "%d " / "%u " / "%lld " would, without printf's
// per-call parsing cost.
template <typename T>
void AppendInteger(std::string& out, T v) {
    char buf[24];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, static_cast<size_t>(res.ptr - buf));
    out += ' ';
}

// "%G" as the listings have always shown it: an exponent of at least three
// digits ("1.23457E+008"), where the C library here writes two.
void AppendG3(std::string& out, double v) {
    char buf[48];
    const int n = std::snprintf(buf, sizeof buf, "%G", v);
    const char* pE = static_cast<const char*>(std::memchr(buf, 'E', static_cast<size_t>(n)));
    if (pE && (pE[1] == '+' || pE[1] == '-')) {
        const char* pDigits = pE + 2;
        const size_t nDigits = static_cast<size_t>(buf + n - pDigits);
        out.append(buf, static_cast<size_t>(pDigits - buf));
        if (nDigits < 3) out.append(3 - nDigits, '0');
        out.append(pDigits, nDigits);
    } else {
        out.append(buf, static_cast<size_t>(n));
    }
    out += ' ';
}

void PrintI1(std::string& out, const unsigned char* p) {
    AppendInteger(out, int{Load<std::int8_t>(p)});
}
void PrintI2(std::string& out, const unsigned char* p) {
    AppendInteger(out, int{Load<std::int16_t>(p)});
}
void PrintI4(std::string& out, const unsigned char* p) {
    AppendInteger(out, Load<std::int32_t>(p));
}
void PrintI8(std::string& out, const unsigned char* p) {
    AppendInteger(out, Load<std::int64_t>(p));
}
void PrintU1(std::string& out, const unsigned char* p) { AppendInteger(out, unsigned{*p}); }
void PrintU2(std::string& out, const unsigned char* p) {
    AppendInteger(out, unsigned{Load<std::uint16_t>(p)});
}
void PrintU4(std::string& out, const unsigned char* p) {
    AppendInteger(out, Load<std::uint32_t>(p));
}
void PrintF4(std::string& out, const unsigned char* p) {
    AppendFormat(out, "%f ", double{Load<float>(p)});
}
void PrintF8(std::string& out, const unsigned char* p) {
    AppendFormat(out, "%f ", Load<double>(p));
}
void PrintU8(std::string& out, const unsigned char* p) { AppendG3(out, Load<double>(p)); }

using ElementPrinter = void (*)(std::string&, const unsigned char*);

const unsigned char* Storage(const CMsgCell& cell) {
    return static_cast<const unsigned char*>(cell.m_pValues);
}

void AppendHexByte(std::string& out, unsigned char b) {
    static const char kDigits[] = "0123456789ABCDEF";
    const char text[5] = {'0', 'x', kDigits[b >> 4], kDigits[b & 15], ' '};
    out.append(text, sizeof text);
}

// At most 256 bytes, 20 to a line; continuation lines carry six blanks only.
void WriteBinary(std::string& out, const CMsgCell& cell, EValueText) {
    const unsigned char* p = Storage(cell);
    for (int i = 0; i < cell.m_nCount; ++i) {
        if (i > 255) {
            out += "\n      ";  // MakeIndent(2)
            out += "  ......  \n";
            break;
        }
        AppendHexByte(out, p[i]);
        if (i % 20 == 19) out += "\n      ";
    }
}

// Bracket style shows the truth as a byte; the other texts as words, short
// ones when there are several.
void WriteBoolean(std::string& out, const CMsgCell& cell, EValueText eText) {
    const unsigned char* p = Storage(cell);
    for (int i = 0; i < cell.m_nCount; ++i) {
        const bool bTrue = Load<std::uint16_t>(p + 2 * i) != 0;
        if (eText == EValueText::kBracket)
            out += bTrue ? "0x01 " : "0x00 ";
        else if (cell.m_nCount == 1)
            out += bTrue ? "TRUE  " : "FALSE  ";
        else
            out += bTrue ? "T " : "F ";
    }
}

// The text is written as data, never as a format: a "%" stays a "%".
void WriteAscii(std::string& out, const CMsgCell& cell, EValueText eText) {
    if (cell.m_nCount == 0) {
        out += eText == EValueText::kColumn ? "<>" : " \"\"";
        return;
    }
    const char* p = static_cast<const char*>(cell.m_pValues);
    const void* pEnd = std::memchr(p, 0, static_cast<size_t>(cell.m_nCount));
    const size_t nLen = pEnd ? static_cast<size_t>(static_cast<const char*>(pEnd) - p)
                             : static_cast<size_t>(cell.m_nCount);
    static const char kOpen[] = {'\'', '<', '"'};
    static const char* const kClose[] = {"' ", "> ", "\" "};
    const int nText = static_cast<int>(eText);
    out += kOpen[nText];
    out.append(p, nLen);
    out += kClose[nText];
}

// Printable bytes as themselves, others as "\x0" and two hex digits.
void WriteJis8(std::string& out, const CMsgCell& cell, EValueText) {
    const unsigned char* p = Storage(cell);
    for (int i = 0; i < cell.m_nCount; ++i) {
        if (p[i] >= 0x20 && p[i] <= 0x7E)
            out += static_cast<char>(p[i]);
        else
            AppendFormat(out, "\\x0%02X", p[i]);
    }
}

using ValuesWriter = void (*)(std::string&, const CMsgCell&, EValueText);

struct SValueRule {
    int nFormat;
    ValuesWriter pfnValues;  // the whole value list, or null: one element at a time
    ElementPrinter pfnElement;
    bool bColumnBrackets;
};

constexpr SValueRule kRules[] = {
    {kFormatBinary, WriteBinary, nullptr, true}, {kFormatBoolean, WriteBoolean, nullptr, true},
    {kFormatAscii, WriteAscii, nullptr, false},  {kFormatJis8, WriteJis8, nullptr, false},
    {kFormatI8, nullptr, PrintI8, true},         {kFormatI1, nullptr, PrintI1, true},
    {kFormatI2, nullptr, PrintI2, true},         {kFormatI4, nullptr, PrintI4, true},
    {kFormatF8, nullptr, PrintF8, true},         {kFormatF4, nullptr, PrintF4, true},
    {kFormatU8, nullptr, PrintU8, true},         {kFormatU1, nullptr, PrintU1, true},
    {kFormatU2, nullptr, PrintU2, true},         {kFormatU4, nullptr, PrintU4, true},
};

constexpr int kMaxCode = 77;

constexpr std::array<signed char, kMaxCode + 1> MakeRuleIndex() {
    std::array<signed char, kMaxCode + 1> index{};
    for (auto& i : index) i = -1;
    for (int i = 0; i < static_cast<int>(std::size(kRules)); ++i)
        index[kRules[i].nFormat] = static_cast<signed char>(i);
    return index;
}
constexpr auto kRuleIndex = MakeRuleIndex();

const SValueRule* FindRule(int nFormat) {
    if (nFormat < 0 || nFormat > kMaxCode || kRuleIndex[nFormat] < 0) return nullptr;
    return &kRules[kRuleIndex[nFormat]];
}

}  // namespace

void AppendFormat(std::string& out, const char* szFormat, ...) {
    char buf[512];
    va_list args;
    va_start(args, szFormat);
    const int n = std::vsnprintf(buf, sizeof buf, szFormat, args);
    va_end(args);
    if (n <= 0) return;
    if (static_cast<size_t>(n) < sizeof buf) {
        out.append(buf, static_cast<size_t>(n));
        return;
    }
    // Only "%f" of a huge double gets here (up to 317 digits).
    std::string big(static_cast<size_t>(n) + 1, '\0');
    va_start(args, szFormat);
    std::vsnprintf(big.data(), big.size(), szFormat, args);
    va_end(args);
    out.append(big.data(), static_cast<size_t>(n));
}

bool HasColumnBrackets(int nFormat) {
    const SValueRule* pRule = FindRule(nFormat);
    return pRule && pRule->bColumnBrackets;
}

void AppendValueText(std::string& out, const CMsgCell& cell, EValueText eText) {
    const SValueRule* pRule = FindRule(cell.m_nFormat);
    if (!pRule || cell.m_nCount < 0 || (cell.m_nCount > 0 && !cell.m_pValues)) return;
    if (pRule->pfnValues) {
        pRule->pfnValues(out, cell, eText);
        return;
    }
    const SFormat* pFormat = FindFormat(cell.m_nFormat);
    const unsigned char* p = Storage(cell);
    const size_t nWidth = static_cast<size_t>(pFormat->nStoreWidth);
    for (int i = 0; i < cell.m_nCount; ++i) pRule->pfnElement(out, p + i * nWidth);
}

void TrimRight(std::string& out, std::size_t nFrom) {
    size_t n = out.size();
    while (n > nFrom && std::strchr(" \t\n\r\v\f", out[n - 1]) && out[n - 1] != '\0') --n;
    out.resize(n);
}
