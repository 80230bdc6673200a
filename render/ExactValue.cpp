#include "render/ExactValue.h"

#include <iconv.h>

#include <cerrno>
#include <charconv>
#include <cstring>

#include "decode/ValueBits.h"
#include "model/FormatTable.h"
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
        static constexpr char kDigits[] = "0123456789ABCDEF";
        out += "\\x";
        out += kDigits[b >> 4];
        out += kDigits[b & 0xF];
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

void AppendElement(std::string& out, int nFormat, Bytes p) {
    switch (nFormat) {
        case kFormatBinary:
            AppendHex(out, p[0], 2);
            break;
        case kFormatBoolean:
            out += p[0] ? "true" : "false";
            if (p[0] > 1) {
                out += " (";
                AppendHex(out, p[0], 2);
                out += ')';
            }
            break;
        case kFormatI1:
            AppendSigned(out, static_cast<std::int8_t>(p[0]));
            break;
        case kFormatI2:
            AppendSigned(out, static_cast<std::int16_t>(ReadBE16(p)));
            break;
        case kFormatI4:
            AppendSigned(out, static_cast<std::int32_t>(ReadBE32(p)));
            break;
        case kFormatI8:
            AppendSigned(out, static_cast<std::int64_t>(ReadBE64(p)));
            break;
        case kFormatU1:
            AppendUnsigned(out, p[0]);
            break;
        case kFormatU2:
            AppendUnsigned(out, ReadBE16(p));
            break;
        case kFormatU4:
            AppendUnsigned(out, ReadBE32(p));
            break;
        case kFormatU8:
            AppendUnsigned(out, ReadBE64(p));
            break;
        case kFormatF4: {
            float f;
            const std::uint32_t u = ReadBE32(p);
            std::memcpy(&f, &u, sizeof f);
            AppendShortest(out, f);
            out += " (";
            AppendHex(out, u, 8);
            out += ')';
            break;
        }
        case kFormatF8: {
            double d;
            const std::uint64_t u = ReadBE64(p);
            std::memcpy(&d, &u, sizeof d);
            AppendShortest(out, d);
            out += " (";
            AppendHex(out, u, 16);
            out += ')';
            break;
        }
    }
}

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

char32_t Jis0201ToUnicode(unsigned char b) {
    if (b == 0x5C) return 0xA5;
    if (b == 0x7E) return 0x203E;
    if (b < 0x80) return b;
    if (b >= 0xA1 && b <= 0xDF) return 0xFF61 + (b - 0xA1);
    return 0;
}

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
        AppendElement(out, nFormat, pData + i);
    }
    AppendExtra(out, pData + i, nSize - i);
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
