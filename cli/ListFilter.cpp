#include "cli/ListFilter.h"

#include "io/TimeText.h"

namespace {

// Digits or "*" (-1) at str[i]; false when neither is there or over 255.
bool TakeNumber(const std::string& str, std::size_t& i, int& n) {
    if (i < str.size() && str[i] == '*') {
        ++i;
        n = -1;
        return true;
    }
    const std::size_t nStart = i;
    n = 0;
    while (i < str.size() && str[i] >= '0' && str[i] <= '9' && n <= 255)
        n = n * 10 + (str[i++] - '0');
    return i > nStart && n <= 255;
}

std::int64_t DayMicros(std::int64_t n) {
    const std::int64_t nDay = 86400LL * 1000000;
    return (n % nDay + nDay) % nDay;
}

}  // namespace

bool CListFilter::Parse(const std::string& strExpr, std::string& strError) {
    std::size_t i = 0;
    while (i < strExpr.size()) {
        while (i < strExpr.size() && (strExpr[i] == ' ' || strExpr[i] == ',')) ++i;
        std::size_t e = i;
        while (e < strExpr.size() && strExpr[e] != ' ' && strExpr[e] != ',') ++e;
        if (e == i) break;
        const std::string strTerm = strExpr.substr(i, e - i);
        i = e;
        EMsgStatus eStatus;
        if (FindMsgStatus(strTerm, eStatus)) {
            m_statuses.push_back(eStatus);
            continue;
        }
        if (const std::size_t nDots = strTerm.find(".."); nDots != std::string::npos) {
            bool bDateFrom = false, bDateTo = false;
            const std::string strFrom = strTerm.substr(0, nDots), strTo = strTerm.substr(nDots + 2);
            if (!strFrom.empty()) m_nFrom = LogTimeMicros(strFrom, bDateFrom);
            if (!strTo.empty()) m_nTo = LogTimeMicros(strTo, bDateTo);
            if (m_nFrom == INT64_MIN && !strFrom.empty()) m_nTo = INT64_MIN;
            if (m_nTo == INT64_MIN || (strFrom.empty() && strTo.empty())) {
                strError = "--filter: '" + strTerm + "' is no time range (FROM..TO)";
                return false;
            }
            m_bTime = true;
            m_bTimeOfDay = !bDateFrom && !bDateTo;
            continue;
        }
        SMsgPattern pattern;
        std::size_t k = 1;
        bool bOk = !strTerm.empty() && (strTerm[0] == 'S' || strTerm[0] == 's') &&
                   TakeNumber(strTerm, k, pattern.nStream);
        if (bOk && k < strTerm.size() && (strTerm[k] == 'F' || strTerm[k] == 'f'))
            bOk = TakeNumber(strTerm, ++k, pattern.nFunction);
        if (bOk && k < strTerm.size() && (strTerm[k] == 'W' || strTerm[k] == 'w')) {
            pattern.bWait = true;
            ++k;
        }
        if (!bOk || k != strTerm.size()) {
            strError = "--filter: '" + strTerm + "' is no SxFy pattern, status or time range";
            return false;
        }
        m_msgs.push_back(pattern);
    }
    return true;
}

bool CListFilter::Matches(const CSession& session, std::size_t nIndex) const {
    const SSessionMsg& m = session.Messages()[nIndex];
    const bool bControl = (m.nFlags & SSessionMsg::kHsms) && m.nSType;
    if (!m_msgs.empty()) {
        bool bAny = false;
        for (const SMsgPattern& p : m_msgs)
            bAny =
                bAny || (!bControl && (p.nStream < 0 || p.nStream == m.nStream) &&
                         (p.nFunction < 0 || p.nFunction == m.nFunction) && (!p.bWait || m.Wait()));
        if (!bAny) return false;
    }
    if (!m_statuses.empty()) {
        bool bAny = false;
        for (EMsgStatus e : m_statuses) bAny = bAny || e == m.eStatus;
        if (!bAny) return false;
    }
    if (m_bTime) {
        if (m.nMicros == SSessionMsg::kNoTime) return false;
        const std::int64_t nAt = m_bTimeOfDay ? DayMicros(m.nMicros) : m.nMicros;
        if (nAt < m_nFrom || nAt > m_nTo) return false;
    }
    return true;
}
