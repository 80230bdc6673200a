#include "io/SessionFilter.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "decode/HeaderFields.h"
#include "decode/MsgDocWalk.h"
#include "io/SessionTextSearch.h"
#include "io/TimeText.h"
#include "model/Dictionary.h"
#include "render/DocViews.h"
#include "render/HeaderText.h"
#include "render/ItemId.h"
#include "render/MessageStructures.h"
#include "render/StructureMatch.h"

namespace {

constexpr std::int64_t kMicrosPerSecond = 1'000'000;
constexpr std::int64_t kMicrosPerDay = 86'400 * kMicrosPerSecond;

std::string Lower(std::string str) {
    for (char& c : str) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return str;
}

bool ContainsFolded(const std::string& strHay, const std::string& strLowerNeedle) {
    return Lower(strHay).find(strLowerNeedle) != std::string::npos;
}

bool IsSeparator(char c) { return c == ',' || std::isspace(static_cast<unsigned char>(c)); }

// Splits at blanks and commas; a double-quoted run is one term, quotes taken off.
struct STerm {
    std::string strText;
    bool bQuoted = false;
};
bool SplitTerms(const std::string& strExpr, std::vector<STerm>& terms, std::string& strError) {
    std::size_t i = 0;
    while (i < strExpr.size()) {
        if (IsSeparator(strExpr[i])) {
            ++i;
            continue;
        }
        if (strExpr[i] == '"') {
            const std::size_t nEnd = strExpr.find('"', i + 1);
            if (nEnd == std::string::npos) {
                strError = "a quote is not closed";
                return false;
            }
            terms.push_back({strExpr.substr(i + 1, nEnd - i - 1), true});
            i = nEnd + 1;
            continue;
        }
        std::size_t nEnd = i;
        while (nEnd < strExpr.size() && !IsSeparator(strExpr[nEnd])) ++nEnd;
        terms.push_back({strExpr.substr(i, nEnd - i), false});
        i = nEnd;
    }
    return true;
}

// A decimal number or "*" (-1) at str[i]; false when neither is there.
bool ReadNumberOrAny(const std::string& str, std::size_t& i, int nMax, int& nValue) {
    if (i < str.size() && str[i] == '*') {
        ++i;
        nValue = -1;
        return true;
    }
    const std::size_t nStart = i;
    long nRead = 0;
    while (i < str.size() && std::isdigit(static_cast<unsigned char>(str[i])) && nRead <= nMax)
        nRead = nRead * 10 + (str[i++] - '0');
    nValue = static_cast<int>(nRead);
    return i > nStart && nRead <= nMax;
}

// "S6F11", "s1f*", "S9", "S6F11W": false when strTerm is not such a pattern.
// A stream past 127 reads as a pattern that no message matches.
template <typename TPattern>
bool ReadMsgPattern(const std::string& strTerm, TPattern& pattern) {
    std::size_t i = 1;
    if (strTerm.size() < 2 || std::toupper(static_cast<unsigned char>(strTerm[0])) != 'S' ||
        !ReadNumberOrAny(strTerm, i, 255, pattern.nStream))
        return false;
    if (i < strTerm.size() && std::toupper(static_cast<unsigned char>(strTerm[i])) == 'F') {
        ++i;
        if (!ReadNumberOrAny(strTerm, i, 255, pattern.nFunction)) return false;
    }
    if (i < strTerm.size() && std::toupper(static_cast<unsigned char>(strTerm[i])) == 'W') {
        ++i;
        pattern.bWait = true;
    }
    return i == strTerm.size();
}

// Fixed-width digits at str[i]; false when they are not all there.
bool ReadDigits(const std::string& str, std::size_t& i, int nCount, std::int64_t& nValue) {
    nValue = 0;
    for (int k = 0; k < nCount; ++k, ++i) {
        if (i >= str.size() || !std::isdigit(static_cast<unsigned char>(str[i]))) return false;
        nValue = nValue * 10 + (str[i] - '0');
    }
    return true;
}

// Days since 1970-01-01 of a civil date (Howard Hinnant's algorithm).
std::int64_t DaysFromCivil(std::int64_t y, std::int64_t m, std::int64_t d) {
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

// "[YYYY-MM-DDT]HH:MM[:SS[.ffffff]]": µs since midnight or, with a date,
// since the epoch in the zone's clock. False for anything else.
bool ReadStrictClock(const std::string& str, std::int64_t& nMicros, bool& bDate) {
    std::size_t i = 0;
    std::int64_t y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    bDate = str.size() > 10 && str[4] == '-';
    if (bDate) {
        if (!ReadDigits(str, i, 4, y) || str[i++] != '-' || !ReadDigits(str, i, 2, mo) ||
            i >= str.size() || str[i++] != '-' || !ReadDigits(str, i, 2, d) || i >= str.size() ||
            (str[i] != 'T' && str[i] != 't') || mo < 1 || mo > 12 || d < 1 || d > 31)
            return false;
        ++i;
    }
    if (!ReadDigits(str, i, 2, h) || i >= str.size() || str[i++] != ':' ||
        !ReadDigits(str, i, 2, mi) || h > 23 || mi > 59)
        return false;
    std::int64_t nFraction = 0;
    if (i < str.size() && str[i] == ':') {
        ++i;
        if (!ReadDigits(str, i, 2, s) || s > 60) return false;
        if (i < str.size() && str[i] == '.') {
            std::int64_t nScale = kMicrosPerSecond;
            for (++i; i < str.size() && std::isdigit(static_cast<unsigned char>(str[i])); ++i)
                if (nScale /= 10; nScale > 0) nFraction += (str[i] - '0') * nScale;
        }
    }
    if (i != str.size()) return false;
    nMicros = ((h * 60 + mi) * 60 + s) * kMicrosPerSecond + nFraction;
    if (bDate) nMicros += DaysFromCivil(y, mo, d) * kMicrosPerDay;
    return true;
}

// One side of a time range: the form above or, failing it, a time as a log
// writes it (io/TimeText), which brevix-dump --filter has always taken.
bool ReadClock(const std::string& str, std::int64_t& nMicros, bool& bDate) {
    if (ReadStrictClock(str, nMicros, bDate)) return true;
    nMicros = LogTimeMicros(str, bDate);
    return nMicros != INT64_MIN;
}

}  // namespace

bool CSessionFilter::Parse(const std::string& strExpr, const SSessionZone& zone,
                           std::string& strError) {
    *this = CSessionFilter();
    m_zone = zone;
    std::vector<STerm> terms;
    if (!SplitTerms(strExpr, terms, strError)) return false;
    for (const STerm& term : terms)
        if (!ParseTerm(term.strText, term.bQuoted, strError)) return false;
    return true;
}

bool CSessionFilter::ParseTerm(const std::string& strTerm, bool bQuoted, std::string& strError) {
    if (bQuoted) {
        if (strTerm.empty()) return true;
        m_texts.push_back(strTerm);
        m_nKinds |= kText;
        // A quoted name ("Event Report") is a name as well as a text.
        if (AddName(strTerm)) m_nKinds |= kName;
        return true;
    }
    SMsgPattern pattern;
    if (ReadMsgPattern(strTerm, pattern)) {
        m_msgs.push_back(pattern);
        m_nKinds |= kMessage;
        return true;
    }
    EMsgStatus eStatus;
    if (FindMsgStatus(Lower(strTerm), eStatus)) {
        m_statuses.set(static_cast<std::size_t>(eStatus));
        m_nKinds |= kStatus;
        return true;
    }
    if (strTerm.find("..") != std::string::npos) return ParseTime(strTerm, strError);
    if (strTerm.find('=') != std::string::npos) return ParseRole(strTerm, strError);
    if (!AddName(strTerm)) {
        strError = "'" + strTerm + "' names no message, status or time";
        return false;
    }
    m_nKinds |= kName;
    return true;
}

bool CSessionFilter::ParseTime(const std::string& strTerm, std::string& strError) {
    const std::size_t nDots = strTerm.find("..");
    const std::string strFrom = strTerm.substr(0, nDots), strTo = strTerm.substr(nDots + 2);
    STimeRange range;
    bool bFromDate = false, bToDate = false;
    const bool bFrom = !strFrom.empty(), bTo = !strTo.empty();
    if ((!bFrom && !bTo) || (bFrom && !ReadClock(strFrom, range.nFrom, bFromDate)) ||
        (bTo && !ReadClock(strTo, range.nTo, bToDate)) || (bFrom && bTo && bFromDate != bToDate)) {
        strError = "'" + strTerm + "' is no time range (10:00..10:05:30, 2026-12-07T10:00..)";
        return false;
    }
    range.bOfDay = !(bFromDate || bToDate);
    if (!range.bOfDay && !m_zone.bUtc && !m_zone.bTimeOfDay) {
        if (bFrom) range.nFrom -= m_zone.nOffsetMicros;
        if (bTo) range.nTo -= m_zone.nOffsetMicros;
    }
    m_times.push_back(range);
    m_nKinds |= kTime;
    return true;
}

// Marks every message whose name or mnemonic holds strWord (case folded);
// false when none does.
bool CSessionFilter::AddName(const std::string& strWord) {
    const std::string strNeedle = Lower(strWord);
    bool bAny = false;
    for (int nStream = 0; nStream < 128; ++nStream)
        for (int nFunction = 0; nFunction < 256; ++nFunction) {
            const std::string strName = MessageNameText(nStream, nFunction);
            if (strName.empty() || !ContainsFolded(strName, strNeedle)) continue;
            m_dataNames[static_cast<std::size_t>(nStream * 256 + nFunction)] = true;
            bAny = true;
        }
    for (int nSType = 1; nSType < 256; ++nSType) {
        const char* szName = HsmsSTypeName(nSType);
        if (szName == nullptr || !ContainsFolded(szName, strNeedle)) continue;
        m_controlNames.set(static_cast<std::size_t>(nSType));
        bAny = true;
    }
    return bAny;
}

bool CSessionFilter::MatchesMessage(const SSessionMsg& msg) const {
    if (msg.nSType != 0) return false;
    for (const SMsgPattern& p : m_msgs)
        if ((p.nStream < 0 || p.nStream == msg.nStream) &&
            (p.nFunction < 0 || p.nFunction == msg.nFunction) && (!p.bWait || msg.Wait()))
            return true;
    return false;
}

bool CSessionFilter::MatchesTime(const SSessionMsg& msg) const {
    if (msg.nMicros == SSessionMsg::kNoTime) return false;
    for (const STimeRange& r : m_times) {
        const std::int64_t t = r.bOfDay ? TimeOfDayMicros(msg.nMicros, m_zone) : msg.nMicros;
        if (t >= r.nFrom && t <= r.nTo) return true;
    }
    return false;
}

bool CSessionFilter::MatchesName(const SSessionMsg& msg) const {
    if (msg.nSType != 0) return m_controlNames.test(msg.nSType);
    return m_dataNames[static_cast<std::size_t>((msg.nStream & 0x7F) * 256 + msg.nFunction)];
}

bool CSessionFilter::MatchesText(std::span<const unsigned char> bytes) const {
    for (const std::string& str : m_texts)
        if (memmem(bytes.data(), bytes.size(), str.data(), str.size()) != nullptr) return true;
    return false;
}

// A quoted term may stand for a name or a text: either will do.
bool CSessionFilter::MatchesHolding(const SSessionMsg& msg, const FHolds& fnHolds,
                                    const FBytes& fnBytes) const {
    if ((m_nKinds & kMessage) && !MatchesMessage(msg)) return false;
    if ((m_nKinds & kStatus) && !m_statuses.test(static_cast<std::size_t>(msg.eStatus)))
        return false;
    if ((m_nKinds & kTime) && !MatchesTime(msg)) return false;
    if ((m_nKinds & kRole) && !MatchesRole(msg, fnBytes())) return false;
    const bool bNameOrText = (m_nKinds & (kName | kText)) != 0;
    if (!bNameOrText) return true;
    if ((m_nKinds & kName) && MatchesName(msg)) return true;
    return (m_nKinds & kText) && fnHolds();
}

bool CSessionFilter::Matches(const SSessionMsg& msg, const FBytes& fnBytes) const {
    return MatchesHolding(
        msg, [&] { return MatchesText(fnBytes()); }, fnBytes);
}

std::vector<std::uint32_t> FilterSession(const CSession& session, const CSessionFilter& filter) {
    const std::vector<SSessionMsg>& msgs = session.Messages();
    std::vector<std::uint32_t> rows;
    rows.reserve(filter.Empty() ? msgs.size() : msgs.size() / 8);
    CSessionTextSearch search(session, filter.Texts());
    std::vector<unsigned char> scratch;
    for (std::size_t i = 0; i < msgs.size(); ++i) {
        const auto fnHolds = [&] { return search.Holds(i); };
        const auto fnBytes = [&] { return session.Bytes(i, scratch); };
        if (filter.Empty() || filter.MatchesHolding(msgs[i], fnHolds, fnBytes))
            rows.push_back(static_cast<std::uint32_t>(i));
    }
    return rows;
}

bool CSessionFilter::ParseRole(const std::string& strTerm, std::string& strError) {
    const std::size_t nEquals = strTerm.find('=');
    std::string strRole = strTerm.substr(0, nEquals);
    for (char& c : strRole) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EDefKind eKind;
    if (!DefKindFromName(strRole, eKind) || nEquals + 1 >= strTerm.size()) {
        strError = "'" + strTerm + "': SVID, VID, ECID, CEID, RPTID, ALID or PPID and an id" +
                   " (CEID=4001)";
        return false;
    }
    m_roleTerms.push_back({DefKindName(eKind), strTerm.substr(nEquals + 1)});
    m_nKinds |= kRole;
    return true;
}

// Only a message whose structure holds the role is walked; terms of one
// kind widen.
bool CSessionFilter::MatchesRole(const SSessionMsg& msg,
                                 std::span<const unsigned char> bytes) const {
    if (msg.nSType != 0) return false;
    const SMessageStructure* pStructure = FindMessageStructure(msg.nStream, msg.nFunction);
    if (!pStructure) return false;
    const auto bAnyRole =
        std::any_of(m_roleTerms.begin(), m_roleTerms.end(), [&](const SRoleTerm& t) {
            return std::strstr(pStructure->szShape, t.strRole.c_str()) != nullptr;
        });
    if (!bAnyRole) return false;
    const CMsgDoc doc = DecodeMsgDoc(std::vector<unsigned char>(bytes.begin(), bytes.end()));
    const std::vector<SItemView> views = DocItemViews(doc);
    const SStructureMatch match = MatchStructure(msg.nStream, msg.nFunction, views);
    std::string strId;
    for (std::size_t i = 0; i < views.size() && i < match.roles.size(); ++i) {
        for (const SRoleTerm& t : m_roleTerms)
            if (t.strRole == match.roles[i] && ItemIdText(views[i], strId) && strId == t.strId)
                return true;
    }
    return false;
}
