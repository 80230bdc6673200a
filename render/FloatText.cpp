#include "render/FloatText.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace {

template <typename T>
void AppendChars(std::string& out, T v) {
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, res.ptr);
}

bool AppendNonFinite(std::string& out, double v, const SFloatLayout& layout) {
    if (std::isnan(v)) {
        out += layout.szNaN;
        return true;
    }
    if (std::isinf(v)) {
        out += v < 0 ? layout.szNegInf : layout.szInf;
        return true;
    }
    return false;
}

void AppendExponent(std::string& out, int nExp, char cExp) {
    out += cExp;
    out += nExp < 0 ? '-' : '+';
    const int nAbs = std::abs(nExp);
    if (nAbs < 10) out += '0';
    AppendChars(out, nAbs);
}

// digits "15", exponent 20 -> "1.5e+20" or "150000000000000000000".
void LayOut(std::string& out, bool bNegative, const std::string& strDigits, int nExp,
            const SFloatLayout& layout) {
    if (bNegative) out += '-';
    const int nDigits = static_cast<int>(strDigits.size());
    if (nExp < layout.nSciBelow || nExp >= layout.nSciFrom) {
        out += strDigits[0];
        if (nDigits > 1) {
            out += '.';
            out.append(strDigits, 1);
        }
        AppendExponent(out, nExp, layout.cExp);
        return;
    }
    if (nExp < 0) {
        out += "0.";
        out.append(static_cast<std::size_t>(-nExp - 1), '0');
        out += strDigits;
        return;
    }
    if (nDigits > nExp + 1) {
        out.append(strDigits, 0, static_cast<std::size_t>(nExp + 1));
        out += '.';
        out.append(strDigits, static_cast<std::size_t>(nExp + 1));
        return;
    }
    out += strDigits;
    out.append(static_cast<std::size_t>(nExp + 1 - nDigits), '0');
    if (layout.bPointZero) out += ".0";
}

}  // namespace

// A NaN keeps its sign ("-nan"), not its payload.
void AppendShortest(std::string& out, double v) {
    if (std::isnan(v)) {
        out += std::signbit(v) ? "-nan" : "nan";
        return;
    }
    AppendChars(out, v);
}

void AppendShortest(std::string& out, float v) {
    if (std::isnan(v)) {
        out += std::signbit(v) ? "-nan" : "nan";
        return;
    }
    AppendChars(out, v);
}

void AppendShortestAs(std::string& out, double v, const SFloatLayout& layout) {
    if (AppendNonFinite(out, v, layout)) return;
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific);
    // "-d.ddde+XX": sign, digits without the point, exponent.
    const char* p = buf;
    const bool bNegative = *p == '-';
    if (bNegative) ++p;
    std::string strDigits;
    for (; p < res.ptr && *p != 'e'; ++p) {
        if (*p != '.') strDigits += *p;
    }
    int nExp = 0;
    if (p < res.ptr) std::from_chars(p + (p[1] == '+' ? 2 : 1), res.ptr, nExp);
    LayOut(out, bNegative, strDigits, nExp, layout);
}

void AppendPrecision(std::string& out, double v, bool bSingle, int nDigits,
                     const SFloatLayout& layout) {
    if (AppendNonFinite(out, v, layout)) return;
    char buf[64];
    const auto res =
        bSingle ? std::to_chars(buf, buf + sizeof buf, static_cast<float>(v),
                                std::chars_format::general, nDigits)
                : std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, nDigits);
    for (const char* p = buf; p < res.ptr; ++p) out += *p == 'e' ? layout.cExp : *p;
}
