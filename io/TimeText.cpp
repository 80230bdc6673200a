#include "io/TimeText.h"

#include <charconv>

namespace {

// Days since 1970-01-01 of a civil date (proleptic Gregorian), and back.
long long DaysFromCivil(long long y, long long m, long long d) {
    y -= m <= 2;
    const long long nEra = (y >= 0 ? y : y - 399) / 400;
    const long long nYoe = y - nEra * 400;
    const long long nDoy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long long nDoe = nYoe * 365 + nYoe / 4 - nYoe / 100 + nDoy;
    return nEra * 146097 + nDoe - 719468;
}

void CivilFromDays(long long nDays, long long& y, long long& m, long long& d) {
    nDays += 719468;
    const long long nEra = (nDays >= 0 ? nDays : nDays - 146096) / 146097;
    const long long nDoe = nDays - nEra * 146097;
    const long long nYoe = (nDoe - nDoe / 1460 + nDoe / 36524 - nDoe / 146096) / 365;
    const long long nDoy = nDoe - (365 * nYoe + nYoe / 4 - nYoe / 100);
    const long long nMp = (5 * nDoy + 2) / 153;
    d = nDoy - (153 * nMp + 2) / 5 + 1;
    m = nMp < 10 ? nMp + 3 : nMp - 9;
    y = nYoe + nEra * 400 + (m <= 2);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// n digits at str[i] as a number; -1 when they are not all digits.
long long Number(std::string_view str, std::size_t i, std::size_t n) {
    if (i + n > str.size()) return -1;
    long long v = 0;
    for (std::size_t k = i; k < i + n; ++k) {
        if (!IsDigit(str[k])) return -1;
        v = v * 10 + (str[k] - '0');
    }
    return v;
}

}  // namespace

void AppendPadded(std::string& str, std::int64_t v, int nWidth) {
    char sz[24];
    const auto r = std::to_chars(sz, sz + sizeof sz, v < 0 ? -v : v);
    if (v < 0) str += '-';
    for (long long n = r.ptr - sz; n < nWidth; ++n) str += '0';
    str.append(sz, r.ptr);
}

void AppendCivilDate(std::string& str, std::int64_t nDays) {
    long long y = 0, m = 0, d = 0;
    CivilFromDays(nDays, y, m, d);
    AppendPadded(str, y, 4);
    str += '-';
    AppendPadded(str, m, 2);
    str += '-';
    AppendPadded(str, d, 2);
}

void AppendTimeOfDay(std::string& str, std::int64_t nMicros) {
    const std::int64_t nSeconds = nMicros / 1000000;
    AppendPadded(str, nSeconds / 3600, 2);
    str += ':';
    AppendPadded(str, nSeconds / 60 % 60, 2);
    str += ':';
    AppendPadded(str, nSeconds % 60, 2);
    str += '.';
    AppendPadded(str, nMicros % 1000000, 6);
}

std::int64_t LogTimeMicros(std::string_view str, bool& bDate) {
    bDate = false;
    const std::size_t nColon = str.find(':');
    if (nColon == std::string_view::npos || nColon < 1) return INT64_MIN;
    std::size_t i = nColon;
    while (i > 0 && IsDigit(str[i - 1]) && nColon - i < 2) --i;
    const long long h = Number(str, i, nColon - i), mi = Number(str, nColon + 1, 2);
    long long s = 0;
    std::size_t k = nColon + 3;
    if (k < str.size() && str[k] == ':') {
        s = Number(str, k + 1, 2);
        k += 3;
    }
    if (h < 0 || h > 23 || mi < 0 || mi > 59 || s < 0 || s > 60) return INT64_MIN;
    long long nMicros = ((h * 60 + mi) * 60 + s) * 1000000;
    if (k < str.size() && (str[k] == '.' || str[k] == ',')) {
        long long nScale = 100000;
        for (++k; k < str.size() && IsDigit(str[k]) && nScale; ++k, nScale /= 10)
            nMicros += (str[k] - '0') * nScale;
    }
    // A date just before: yyyy-mm-dd or yyyy/mm/dd, then ' ' or 'T'.
    if (i >= 11) {
        const std::size_t d = i - 11;
        const char cSep = str[d + 4];
        const long long y = Number(str, d, 4), m = Number(str, d + 5, 2),
                        dd = Number(str, d + 8, 2);
        if ((cSep == '-' || cSep == '/') && str[d + 7] == cSep && y >= 0 && m >= 1 && m <= 12 &&
            dd >= 1 && dd <= 31 && (str[i - 1] == ' ' || str[i - 1] == 'T')) {
            bDate = true;
            nMicros += DaysFromCivil(y, m, dd) * 86400LL * 1000000;
        }
    }
    return nMicros;
}

std::string IsoTimeText(std::int64_t nMicros, bool bTimeOfDay) {
    std::string str;
    long long nDay = nMicros / 86400000000LL;
    long long nIn = nMicros % 86400000000LL;
    if (nIn < 0) {
        nIn += 86400000000LL;
        --nDay;
    }
    if (!bTimeOfDay) {
        AppendCivilDate(str, nDay);
        str += 'T';
    }
    AppendTimeOfDay(str, nIn);
    if (!bTimeOfDay) str += 'Z';
    return str;
}
