#include "render/SmlDialect.h"

#include <charconv>
#include <cstdint>
#include <cstring>
#include <iterator>

#include "model/Bytes.h"
#include "model/FormatTable.h"
#include "model/Jis0201.h"
#include "render/FloatText.h"
#include "render/FormatText.h"
#include "render/NumberText.h"

namespace {

constexpr char kHexLower[] = "0123456789abcdef";

template <typename T>
void AppendInt(std::string& out, T v) {
    char buf[24];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, res.ptr);
}

void AppendHexByte(std::string& out, unsigned char b) {
    out += "0x";
    out += kUpperHexDigits[b >> 4];
    out += kUpperHexDigits[b & 15];
}

// secs4net alone spells the boolean "Boolean".
const char* SmlName(int nFormat, bool bMixedCaseBoolean = false) {
    if (nFormat == kFormatBoolean && bMixedCaseBoolean) return "Boolean";
    const char* szName = SmlFormatName(nFormat);
    return szName ? szName : "?";
}

int WidthOf(int nFormat) {
    const SFormat* pFormat = FindFormat(nFormat);
    return pFormat ? pFormat->nWireWidth : 1;
}

bool IsSigned(int nFormat) { return nFormat >= kFormatI8 && nFormat <= kFormatI4; }
bool IsFloat(int nFormat) { return nFormat == kFormatF4 || nFormat == kFormatF8; }
bool IsText(int nFormat) { return nFormat == kFormatAscii || nFormat == kFormatJis8; }

double FloatAt(const SSmlData& d, std::size_t i) {
    const int nWidth = WidthOf(d.nFormat);
    const std::uint64_t bits =
        ReadBigEndian(d.pBytes + i * static_cast<std::size_t>(nWidth), nWidth);
    if (nWidth == 4) {
        const auto n32 = static_cast<std::uint32_t>(bits);
        float f;
        std::memcpy(&f, &n32, sizeof f);
        return f;
    }
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

// Integer element i in full, signed or not as the format says.
void AppendIntAt(std::string& out, const SSmlData& d, std::size_t i) {
    const int nWidth = WidthOf(d.nFormat);
    const std::uint64_t bits =
        ReadBigEndian(d.pBytes + i * static_cast<std::size_t>(nWidth), nWidth);
    if (!IsSigned(d.nFormat)) {
        AppendInt(out, bits);
        return;
    }
    const int nShift = 64 - 8 * nWidth;
    AppendInt(out, static_cast<std::int64_t>(bits << nShift) >> nShift);
}

// Values of a numeric, boolean or binary item, each written by one of the
// element writers, separated by blanks.
struct SElementWriters {
    void (*pBinary)(std::string&, unsigned char);
    void (*pBoolean)(std::string&, unsigned char);
    void (*pFloat)(std::string&, double, bool bSingle);
    // Writes float element i when the double would lose its bits; null: never.
    bool (*pExactNaN)(std::string&, const SSmlData&, std::size_t i);
};

void AppendElements(std::string& out, const SSmlData& d, const SElementWriters& w) {
    for (std::size_t i = 0; i < d.nElements; ++i) {
        if (i) out += ' ';
        if (d.nFormat == kFormatBinary)
            w.pBinary(out, d.pBytes[i]);
        else if (d.nFormat == kFormatBoolean)
            w.pBoolean(out, d.pBytes[i]);
        else if (!IsFloat(d.nFormat))
            AppendIntAt(out, d, i);
        else if (!w.pExactNaN || !w.pExactNaN(out, d, i))
            w.pFloat(out, FloatAt(d, i), d.nFormat == kFormatF4);
    }
}

void AppendCount(std::string& out, std::size_t n, const char* szOpen) {
    out += szOpen;
    AppendInt(out, n);
    out += ']';
}

// ---- standard: "S6F11 W", <U4 [1] 5>, <A [2] "EV">, two blanks a level.

void LibraryHeader(std::string& out, const SSmlHeader& h) {
    out += 'S';
    AppendInt(out, h.nStream);
    out += 'F';
    AppendInt(out, h.nFunction);
    if (h.bWait) out += " W";
}

// The header fields SML has no place for, as the reader takes them back:
// without them a round trip turns every device into 0 and renumbers the
// system bytes.
void StandardHeader(std::string& out, const SSmlHeader& h) {
    LibraryHeader(out, h);
    out += " device=";
    AppendInt(out, h.nDevice);
    out += " system=";
    AppendHex(out, h.nSystem, 8);
}

void StandardListOpen(std::string& out, std::size_t n) { AppendCount(out, n, "<L ["); }

// Printable bytes other than '"' in quoted runs, every other byte as 0xNN:
// the text reads back to the same bytes.
void StandardText(std::string& out, const SSmlData& d) {
    bool bInRun = false;
    for (std::size_t i = 0; i < d.nElements; ++i) {
        const unsigned char c = d.pBytes[i];
        const bool bPlain = c >= 0x20 && c < 0x7F && c != '"';
        if (bPlain != bInRun || !bPlain) {
            if (bInRun) out += '"';
            out += ' ';
            if (bPlain) out += '"';
        }
        bInRun = bPlain;
        if (bPlain)
            out += static_cast<char>(c);
        else
            AppendHexByte(out, c);
    }
    if (bInRun) out += '"';
}

// TRUE and FALSE read back as 1 and 0; any other byte keeps its value.
void StandardBoolean(std::string& out, unsigned char b) {
    if (b > 1)
        AppendHexByte(out, b);
    else
        out += b ? "TRUE" : "FALSE";
}

void StandardFloat(std::string& out, double v, bool bSingle) {
    if (bSingle)
        AppendShortest(out, static_cast<float>(v));
    else
        AppendShortest(out, v);
}

// "nan" and "-nan" read back as the quiet NaN without payload; any other
// NaN is written with its fraction bits in hex, "nan(0x400001)" (C's
// NAN(n-char-sequence) form), so that it reads back bit for bit.
bool StandardExactNaN(std::string& out, const SSmlData& d, std::size_t i) {
    const int nWidth = WidthOf(d.nFormat);
    const std::uint64_t bits =
        ReadBigEndian(d.pBytes + i * static_cast<std::size_t>(nWidth), nWidth);
    const int nFractionBits = nWidth == 4 ? 23 : 52;
    const std::uint64_t nExponent = (nWidth == 4 ? 0xFFull : 0x7FFull) << nFractionBits;
    const std::uint64_t nFraction = bits & ((1ull << nFractionBits) - 1);
    const std::uint64_t nQuiet = 1ull << (nFractionBits - 1);
    if ((bits & nExponent) != nExponent || nFraction == 0 || nFraction == nQuiet) return false;
    if (bits >> (8 * nWidth - 1)) out += '-';
    out += "nan(";
    AppendHex(out, nFraction, 1);
    out += ')';
    return true;
}

void StandardData(std::string& out, const SSmlData& d) {
    out += '<';
    out += SmlName(d.nFormat);
    AppendCount(out, d.nElements, " [");
    if (IsText(d.nFormat)) {
        StandardText(out, d);
    } else if (d.nElements) {
        out += ' ';
        AppendElements(out, d, {AppendHexByte, StandardBoolean, StandardFloat, StandardExactNaN});
    }
    out += '>';
}

// ---- secs4net (C#): "'S6F11'W", <U4 [1] 5>, <A [2] 'EV'>, four blanks a
// level, a blank before every '>' of an empty item. Floats as .NET 8 prints
// them: F4 "G9", F8 shortest round trip (scientific from 1E+15 on).

constexpr SFloatLayout kDotNet = {-4, 15, 'E', false, "NaN", "Infinity", "-Infinity"};

void Secs4netHeader(std::string& out, const SSmlHeader& h) {
    out += "'S";
    AppendInt(out, h.nStream);
    out += 'F';
    AppendInt(out, h.nFunction);
    out += '\'';
    if (h.bWait) out += 'W';
}

void Secs4netListOpen(std::string& out, std::size_t n) {
    AppendCount(out, n, "<L [");
    out += ' ';
}

void Secs4netBoolean(std::string& out, unsigned char b) { out += b ? "True" : "False"; }

void Secs4netFloat(std::string& out, double v, bool bSingle) {
    if (bSingle)
        AppendPrecision(out, v, true, 9, kDotNet);
    else
        AppendShortestAs(out, v, kDotNet);
}

// Appends code point u as UTF-8.
void AppendUtf8(std::string& out, unsigned u) {
    if (u < 0x80) {
        out += static_cast<char>(u);
    } else if (u < 0x800) {
        out += static_cast<char>(0xC0 | (u >> 6));
        out += static_cast<char>(0x80 | (u & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (u >> 12));
        out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (u & 0x3F));
    }
}

// Length of the well-formed UTF-8 sequence at p (at most n bytes), or of the
// longest prefix of one that is cut off or broken (0 for a lone bad byte),
// with bWhole saying which. .NET's decoder replaces each such maximal
// prefix with one U+FFFD.
std::size_t Utf8Sequence(const unsigned char* p, std::size_t n, bool& bWhole) {
    const unsigned char c = p[0];
    std::size_t nNeed = 0;
    unsigned char lo = 0x80, hi = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) nNeed = 1;
    if (c >= 0xE0 && c <= 0xEF) nNeed = 2;
    if (c >= 0xF0 && c <= 0xF4) nNeed = 3;
    if (c == 0xE0) lo = 0xA0;
    if (c == 0xED) hi = 0x9F;
    if (c == 0xF0) lo = 0x90;
    if (c == 0xF4) hi = 0x8F;
    bWhole = c < 0x80;
    if (nNeed == 0) return 1;
    std::size_t i = 1;
    for (; i <= nNeed && i < n; ++i) {
        const unsigned char lo2 = i == 1 ? lo : 0x80, hi2 = i == 1 ? hi : 0xBF;
        if (p[i] < lo2 || p[i] > hi2) return i;
    }
    bWhole = i == nNeed + 1;
    return i;
}

void Secs4netText(std::string& out, const SSmlData& d) {
    out += '\'';
    for (std::size_t i = 0; i < d.nElements;) {
        if (d.nFormat == kFormatAscii) {  // Encoding.ASCII: '?' for every byte above 0x7F
            out += d.pBytes[i] < 0x80 ? static_cast<char>(d.pBytes[i]) : '?';
            ++i;
            continue;
        }
        bool bWhole = false;  // JIS-8 items are read as UTF-8 there
        const std::size_t n = Utf8Sequence(d.pBytes + i, d.nElements - i, bWhole);
        if (bWhole)
            out.append(reinterpret_cast<const char*>(d.pBytes + i), n);
        else
            AppendUtf8(out, 0xFFFD);
        i += n;
    }
    out += '\'';
}

void Secs4netData(std::string& out, const SSmlData& d) {
    out += '<';
    out += SmlName(d.nFormat, true);
    AppendCount(out, d.nElements, " [");
    out += ' ';
    if (IsText(d.nFormat))
        Secs4netText(out, d);
    else
        AppendElements(out, d, {AppendHexByte, Secs4netBoolean, Secs4netFloat, nullptr});
    out += '>';
}

// ---- secsgem (Python): "S6F11 W", <U4 5 >, <A "EV">, <B 0x1 0xa5>, no
// counts on data items, two blanks a level from the first, " ." after the
// last line. Floats as Python's repr; text as latin-1 (A) or JIS X 0201 (J)
// characters in UTF-8, control characters as hex(ord(c)).

constexpr SFloatLayout kPython = {-4, 16, 'e', true, "nan", "inf", "-inf"};

void SecsgemListOpen(std::string& out, std::size_t n) { AppendCount(out, n, "<L ["); }

void SecsgemBinary(std::string& out, unsigned char b) {
    out += "0x";
    if (b >= 16) out += kHexLower[b >> 4];
    out += kHexLower[b & 15];
}

void SecsgemBoolean(std::string& out, unsigned char b) { out += b ? "True" : "False"; }

void SecsgemFloat(std::string& out, double v, bool) { AppendShortestAs(out, v, kPython); }

unsigned SecsgemChar(int nFormat, unsigned char b) {
    if (nFormat != kFormatJis8) return b;
    const char32_t c = Jis0201ToUnicode(b);
    return c ? static_cast<unsigned>(c) : b;  // undefined bytes pass as latin-1
}

void SecsgemText(std::string& out, const SSmlData& d) {
    bool bInRun = false;
    for (std::size_t i = 0; i < d.nElements; ++i) {
        const unsigned char b = d.pBytes[i];
        // Control characters; for ASCII every byte above 0x7E too.
        const bool bControl = b < 0x20 || (b >= 0x7F && (b < 0xA0 || d.nFormat == kFormatAscii));
        if (!bControl) {
            if (!bInRun) out += " \"";
            AppendUtf8(out, SecsgemChar(d.nFormat, b));
        } else {
            out += bInRun ? "\" " : " ";
            SecsgemBinary(out, b);
        }
        bInRun = !bControl;
    }
    if (bInRun) out += '"';
}

void SecsgemData(std::string& out, const SSmlData& d) {
    out += '<';
    out += SmlName(d.nFormat);
    if (d.nElements == 0) {
        out += '>';
        return;
    }
    if (IsText(d.nFormat)) {
        SecsgemText(out, d);
        out += '>';
        return;
    }
    out += ' ';
    AppendElements(out, d, {SecsgemBinary, SecsgemBoolean, SecsgemFloat, nullptr});
    out += d.nFormat == kFormatBinary ? ">" : " >";
}

// ---- go-secs (Go): "S6F11 W", <U4[1] 5>, <A[2] "EV">, two blanks a level,
// no line end after the final ".". Floats as strconv's 'G' with 9 or 17
// digits; text bytes as they are.

constexpr SFloatLayout kGo = {-4, 0, 'E', false, "NaN", "+Inf", "-Inf"};

void GoListOpen(std::string& out, std::size_t n) { AppendCount(out, n, "<L["); }

void GoFloat(std::string& out, double v, bool bSingle) {
    AppendPrecision(out, v, bSingle, bSingle ? 9 : 17, kGo);
}

void GoData(std::string& out, const SSmlData& d) {
    out += '<';
    out += SmlName(d.nFormat);
    AppendCount(out, d.nElements, "[");
    if (IsText(d.nFormat)) {
        out += " \"";
        out.append(reinterpret_cast<const char*>(d.pBytes), d.nElements);
        out += '"';
    } else if (d.nElements) {
        out += ' ';
        AppendElements(out, d, {AppendHexByte, Secs4netBoolean, GoFloat, nullptr});
    }
    out += '>';
}

constexpr SSmlDialect kDialects[] = {
    {"standard", 2, 0, StandardHeader, StandardListOpen, ">", "<L [0]>", StandardData, "", "\n."},
    {"secs4net", 4, 4, Secs4netHeader, Secs4netListOpen, ">", nullptr, Secs4netData, "", "\n.\n"},
    {"secsgem", 2, 2, LibraryHeader, SecsgemListOpen, ">", "<L>", SecsgemData, "", " ."},
    {"go-secs", 2, 0, LibraryHeader, GoListOpen, ">", "<L[0]>", GoData, "\n", "\n."},
};

}  // namespace

const SSmlDialect& SmlDialectOf(int nDialect) { return kDialects[nDialect]; }
int SmlDialectCount() { return static_cast<int>(std::size(kDialects)); }
