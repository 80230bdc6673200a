#include "render/ExactValue.h"

#include <iconv.h>

#include <cerrno>
#include <charconv>
#include <cstring>

#include "decode/ValueBits.h"
#include "model/Bytes.h"
#include "model/FormatTable.h"
#include "model/Jis0201.h"
#include "render/NumberText.h"

namespace {

using Bytes = const unsigned char*;

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Quotes, backslashes and control bytes escaped C-style; with bHigh, bytes
// from 0x80 up are escaped too (plain ASCII reading).
void AppendEscaped(std::string& out, unsigned char b, bool bHigh) {
    static constexpr struct {
        unsigned char b;
        const char* sz;
    } kNamed[] = {{'"', "\\\""}, {'\\', "\\\\"}, {'\t', "\\t"}, {'\n', "\\n"}, {'\r', "\\r"}};
    for (const auto& e : kNamed) {
        if (e.b == b) {
            out += e.sz;
            return;
        }
    }
    if (b < 0x20 || b == 0x7F || (bHigh && b >= 0x80)) {
        out += "\\x";
        out += kUpperHexDigits[b >> 4];
        out += kUpperHexDigits[b & 0xF];
        return;
    }
    out += static_cast<char>(b);
}

const char* IconvName(ETextReading e) {
    switch (e) {
        case ETextReading::kUtf8:
            return "UTF-8";
        case ETextReading::kShiftJis:
            return "CP932";  // Shift-JIS as Windows equipment writes it
        case ETextReading::kGbk:
            return "GBK";
        case ETextReading::kEscaped:
            break;
    }
    return nullptr;
}

// Converts through iconv; a byte it cannot take is shown as \xHH and skipped.
void AppendConverted(std::string& out, Bytes p, std::size_t n, const char* szFrom) {
    iconv_t cd = iconv_open("UTF-8", szFrom);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        for (std::size_t i = 0; i < n; ++i) AppendEscaped(out, p[i], true);
        return;
    }
    std::string utf8;
    char buf[256];
    char* pIn = const_cast<char*>(reinterpret_cast<const char*>(p));
    std::size_t nIn = n;
    while (nIn > 0) {
        char* pOut = buf;
        std::size_t nOut = sizeof buf;
        const std::size_t r = iconv(cd, &pIn, &nIn, &pOut, &nOut);
        for (const char* q = buf; q < pOut; ++q)
            AppendEscaped(out, static_cast<unsigned char>(*q), false);
        if (r == static_cast<std::size_t>(-1) && errno != E2BIG) {
            AppendEscaped(out, static_cast<unsigned char>(*pIn), true);
            ++pIn;
            --nIn;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
}

void AppendText(std::string& out, Bytes p, std::size_t n, ETextReading e) {
    out += '"';
    if (const char* szFrom = IconvName(e))
        AppendConverted(out, p, n, szFrom);
    else
        for (std::size_t i = 0; i < n; ++i) AppendEscaped(out, p[i], true);
    out += '"';
}

void AppendJis8(std::string& out, Bytes p, std::size_t n) {
    out += '"';
    for (std::size_t i = 0; i < n; ++i) {
        const char32_t c = Jis0201ToUnicode(p[i]);
        if (c == 0 || c < 0x80)
            AppendEscaped(out, p[i], true);
        else
            AppendUtf8(out, c);
    }
    out += '"';
}

template <typename T>
void AppendShortest(std::string& out, T v) {
    char buf[40];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, static_cast<std::size_t>(res.ptr - buf));
}

void ElementBinary(std::string& out, Bytes p) { AppendHex(out, p[0], 2); }
void ElementBoolean(std::string& out, Bytes p) {
    out += p[0] ? "true" : "false";
    if (p[0] > 1) {  // a true that is not 1 keeps its byte in sight
        out += " (";
        AppendHex(out, p[0], 2);
        out += ')';
    }
}
void ElementI1(std::string& out, Bytes p) { AppendDecimal(out, static_cast<std::int8_t>(p[0])); }
void ElementI2(std::string& out, Bytes p) {
    AppendDecimal(out, static_cast<std::int16_t>(ReadBE16(p)));
}
void ElementI4(std::string& out, Bytes p) {
    AppendDecimal(out, static_cast<std::int32_t>(ReadBE32(p)));
}
void ElementI8(std::string& out, Bytes p) {
    AppendDecimal(out, static_cast<std::int64_t>(ReadBE64(p)));
}
void ElementU1(std::string& out, Bytes p) { AppendUnsigned(out, p[0]); }
void ElementU2(std::string& out, Bytes p) { AppendUnsigned(out, ReadBE16(p)); }
void ElementU4(std::string& out, Bytes p) { AppendUnsigned(out, ReadBE32(p)); }
void ElementU8(std::string& out, Bytes p) { AppendUnsigned(out, ReadBE64(p)); }

// The shortest text that reads back to the same bits, then the bits.
template <typename TFloat, typename TBits, TBits (*Read)(Bytes)>
void ElementFloat(std::string& out, Bytes p) {
    const TBits u = Read(p);
    TFloat f;
    std::memcpy(&f, &u, sizeof f);
    AppendShortest(out, f);
    out += " (";
    AppendHex(out, u, 2 * sizeof u);
    out += ')';
}

using ElementWriter = void (*)(std::string&, Bytes);

struct SExactRule {
    int nCode;
    ElementWriter pfnElement;  // null: not written element by element
};

constexpr SExactRule kExactRules[] = {
    {kFormatList, nullptr},
    {kFormatBinary, ElementBinary},
    {kFormatBoolean, ElementBoolean},
    {kFormatAscii, nullptr},
    {kFormatJis8, nullptr},
    {kFormatI8, ElementI8},
    {kFormatI1, ElementI1},
    {kFormatI2, ElementI2},
    {kFormatI4, ElementI4},
    {kFormatF8, ElementFloat<double, std::uint64_t, ReadBE64>},
    {kFormatF4, ElementFloat<float, std::uint32_t, ReadBE32>},
    {kFormatU8, ElementU8},
    {kFormatU1, ElementU1},
    {kFormatU2, ElementU2},
    {kFormatU4, ElementU4},
};
static_assert(FollowsFormatTable(kExactRules));

void AppendExtra(std::string& out, Bytes p, std::size_t n) {
    if (n == 0) return;
    if (!out.empty()) out += ' ';
    out += "(extra";
    for (std::size_t i = 0; i < n; ++i) {
        out += ' ';
        AppendHex(out, p[i], 2);
    }
    out += ')';
}

}  // namespace

std::string ExactValueText(int nFormat, const unsigned char* pData, std::size_t nSize,
                           ETextReading eReading) {
    std::string out;
    const SFormat* pFormat = FindFormat(nFormat);
    if (!pFormat || nFormat == kFormatList || (!pData && nSize)) return out;
    if (nFormat == kFormatAscii) {
        AppendText(out, pData, nSize, eReading);
        return out;
    }
    if (nFormat == kFormatJis8) {
        AppendJis8(out, pData, nSize);
        return out;
    }
    const auto nWidth = static_cast<std::size_t>(pFormat->nWireWidth);
    std::size_t i = 0;
    for (; i + nWidth <= nSize; i += nWidth) {
        if (i) out += ' ';
        kExactRules[FormatIndexOf(nFormat)].pfnElement(out, pData + i);
    }
    AppendExtra(out, pData + i, nSize - i);
    return out;
}

namespace {

// "64 KiB", "10 MiB", "1.5 MiB", "900 bytes": one decimal at most, cut.
std::string SizeText(std::uint64_t n) {
    struct SUnit {
        std::uint64_t nSize;
        const char* szName;
    };
    constexpr SUnit kUnits[] = {{1ull << 30, " GiB"}, {1ull << 20, " MiB"}, {1ull << 10, " KiB"}};
    std::string out;
    for (const SUnit& u : kUnits) {
        if (n < u.nSize) continue;
        const std::uint64_t nTenths = n * 10 / u.nSize;
        AppendUnsigned(out, nTenths / 10);
        if (nTenths % 10) {
            out += '.';
            AppendUnsigned(out, nTenths % 10);
        }
        return out + u.szName;
    }
    AppendUnsigned(out, n);
    return out + " bytes";
}

}  // namespace

std::string ExactValuePreview(int nFormat, const unsigned char* pData, std::size_t nSize,
                              std::size_t nLimit, ETextReading eReading) {
    if (nSize <= nLimit) return ExactValueText(nFormat, pData, nSize, eReading);
    const SFormat* pFormat = FindFormat(nFormat);
    const std::size_t nWidth = pFormat && pFormat->nWireWidth ? pFormat->nWireWidth : 1;
    const std::size_t nShown = nLimit - nLimit % nWidth;
    std::string out = ExactValueText(nFormat, pData, nShown, eReading);
    out += "\n\nfirst " + SizeText(nShown) + " of " + SizeText(nSize) + " shown";
    return out;
}

std::string CellExactValue(const CMsgInfo& msg, const CMsgCell& cell, const unsigned char* pFile,
                           std::size_t nFileSize, ETextReading eReading) {
    if (cell.m_nIndex < 0 || static_cast<std::size_t>(cell.m_nIndex) >= msg.m_cellBytes.size())
        return {};
    const SCellBytes& b = msg.m_cellBytes[static_cast<std::size_t>(cell.m_nIndex)];
    if (!pFile || DataStart(b) + b.nPresent > nFileSize) return {};
    return ExactValueText(cell.m_nFormat, pFile + DataStart(b), b.nPresent, eReading);
}
