#include "render/ValueText.h"

#include <charconv>
#include <cstdint>
#include <cstring>

#include "model/Bytes.h"
#include "model/FormatTable.h"
#include "render/NumberText.h"

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
    AppendFixed6(out, double{Load<float>(p)});
    out += ' ';
}
void PrintF8(std::string& out, const unsigned char* p) {
    AppendFixed6(out, Load<double>(p));
    out += ' ';
}
void PrintU8(std::string& out, const unsigned char* p) {
    AppendG3(out, Load<double>(p));
    out += ' ';
}

using ElementPrinter = void (*)(std::string&, const unsigned char*);

const unsigned char* Storage(const CMsgCell& cell) {
    return static_cast<const unsigned char*>(cell.m_pValues);
}

void AppendHexByte(std::string& out, unsigned char b) {
    const char text[5] = {'0', 'x', kUpperHexDigits[b >> 4], kUpperHexDigits[b & 15], ' '};
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
            out.append({'\\', 'x', '0', kUpperHexDigits[p[i] >> 4], kUpperHexDigits[p[i] & 15]});
    }
}

using ValuesWriter = void (*)(std::string&, const CMsgCell&, EValueText);

struct SValueRule {
    int nCode;
    ValuesWriter pfnValues;  // the whole value list, or null: one element at a time
    ElementPrinter pfnElement;
    bool bColumnBrackets;
};

constexpr SValueRule kRules[] = {
    {kFormatList, nullptr, nullptr, false},        {kFormatBinary, WriteBinary, nullptr, true},
    {kFormatBoolean, WriteBoolean, nullptr, true}, {kFormatAscii, WriteAscii, nullptr, false},
    {kFormatJis8, WriteJis8, nullptr, false},      {kFormatI8, nullptr, PrintI8, true},
    {kFormatI1, nullptr, PrintI1, true},           {kFormatI2, nullptr, PrintI2, true},
    {kFormatI4, nullptr, PrintI4, true},           {kFormatF8, nullptr, PrintF8, true},
    {kFormatF4, nullptr, PrintF4, true},           {kFormatU8, nullptr, PrintU8, true},
    {kFormatU1, nullptr, PrintU1, true},           {kFormatU2, nullptr, PrintU2, true},
    {kFormatU4, nullptr, PrintU4, true},
};
static_assert(FollowsFormatTable(kRules));

// Null for a list or an unknown format: neither has values to print.
const SValueRule* FindRule(int nFormat) {
    const int i = FormatIndexOf(nFormat);
    if (i < 0 || (!kRules[i].pfnValues && !kRules[i].pfnElement)) return nullptr;
    return &kRules[i];
}

}  // namespace

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
