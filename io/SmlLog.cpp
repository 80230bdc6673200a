#include "io/SmlLog.h"

#include <algorithm>
#include <map>
#include <span>
#include <utility>
#include <vector>

#include "io/MsgFraming.h"
#include "io/SmlReader.h"
#include "io/TextLog.h"
#include "io/TimeText.h"
#include "model/Bytes.h"

namespace {

// A header line's facts: where its SxFy stands and what it says.
struct SSmlHeader {
    std::size_t nItems = std::string_view::npos;  // where item text starts on the line
    int nStream = 0;
    int nFunction = 0;
    bool bWait = false;
    long long nSystem = -1;
    int nDevice = 0;
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
// ASCII only: the C library's classes follow the locale a GUI may have set.
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }
bool IsAlnum(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

// "S6F11" (perhaps quoted) at i, a whole word; i moves past it.
bool TakeStreamFunction(std::string_view s, std::size_t& i, int& nStream, int& nFunction) {
    std::size_t k = i;
    if (k >= s.size() || (s[k] != 'S' && s[k] != 's')) return false;
    if (i > 0 && (IsAlnum(s[i - 1]))) return false;
    int nS = 0, nF = 0, nDigits = 0;
    for (++k; k < s.size() && IsDigit(s[k]) && nDigits < 3; ++k, ++nDigits)
        nS = nS * 10 + s[k] - '0';
    if (!nDigits || k >= s.size() || (s[k] != 'F' && s[k] != 'f')) return false;
    nDigits = 0;
    for (++k; k < s.size() && IsDigit(s[k]) && nDigits < 3; ++k, ++nDigits)
        nF = nF * 10 + s[k] - '0';
    if (!nDigits || nS > 127 || nF > 255) return false;
    if (k < s.size() && IsAlnum(s[k])) return false;
    nStream = nS;
    nFunction = nF;
    i = k;
    return true;
}

// The number at s[k]: 0x and hex digits, or decimal; -1 for none or too large.
long long NumberAt(std::string_view s, std::size_t k) {
    const bool bHex = s.substr(k, 2) == "0x" || s.substr(k, 2) == "0X";
    if (bHex) k += 2;
    unsigned long long v = 0;
    std::size_t nDigits = 0;
    for (; k < s.size() && nDigits < 16; ++k, ++nDigits) {
        const int d = bHex ? HexDigitValue(s[k]) : (IsDigit(s[k]) ? s[k] - '0' : -1);
        if (d < 0) break;
        v = v * (bHex ? 16 : 10) + static_cast<unsigned>(d);
    }
    return nDigits && v <= 0xFFFFFFFFull ? static_cast<long long>(v) : -1;
}

// The number after one of the keys and ':' or '=' ("system:0x2A", "sb=42"),
// or with bBracket in "[0x0000002A]"; -1 for none.
long long KeyNumber(std::string_view s, std::span<const std::string_view> keys, bool bBracket) {
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (bBracket && c == '[' && s.substr(i + 1, 2) == "0x") {
            const long long n = NumberAt(s, i + 1);
            if (n >= 0) return n;
            continue;
        }
        if (c != ':' && c != '=') continue;
        std::size_t nStart = i;
        while (nStart > 0 && IsAlnum(s[nStart - 1])) --nStart;
        if (nStart > 0 && s[nStart - 1] == '_') continue;
        const std::size_t nLength = i - nStart;
        for (std::string_view key : keys) {
            if (key.size() != nLength) continue;
            std::size_t k = 0;
            while (k < nLength && Lower(s[nStart + k]) == key[k]) ++k;
            if (k < nLength) continue;
            const long long n = NumberAt(s, i + 1);
            if (n >= 0) return n;
        }
    }
    return -1;
}

long long SystemBytes(std::string_view s) {
    static constexpr std::string_view kKeys[] = {"system", "sysbytes", "systembytes",
                                                 "sb",     "id",       "tid"};
    return KeyNumber(s, kKeys, true);
}

// secsgem's record line, just before its SML, names the session: "session_id:0x0064" (older
// versions "sessionID:0x0064"), the header's first two bytes as it sends them.
long long SessionId(std::string_view s) {
    static constexpr std::string_view kKeys[] = {"session_id", "sessionid"};
    const long long n = KeyNumber(s, kKeys, false);
    return n <= 0xFFFF ? n : -1;
}

// A header line: an SxFy word before any item text, not inside quotes.
bool ReadHeader(std::string_view line, SSmlHeader& h) {
    // Item text starts at "<" and a format name; "<--" is an arrow.
    std::size_t nLimit = 0;
    while (nLimit < line.size() &&
           !(line[nLimit] == '<' && nLimit + 1 < line.size() && IsLetter(line[nLimit + 1])))
        ++nLimit;
    char cQuote = 0;
    for (std::size_t i = 0; i < nLimit; ++i) {
        const char c = line[i];
        if (cQuote && c != cQuote) continue;
        if (c == '"' && !cQuote) {
            cQuote = c;
            continue;
        }
        if (c == cQuote) {
            cQuote = 0;
            continue;
        }
        std::size_t k = i;
        if (c == '\'' && k + 1 < nLimit) ++k;  // secs4net's 'S1F1'
        if (!TakeStreamFunction(line, k, h.nStream, h.nFunction)) continue;
        if (k < line.size() && line[k] == '\'') ++k;
        while (k < line.size() && line[k] == ' ') ++k;
        if (k < line.size() && (line[k] == 'W' || line[k] == 'w') &&
            (k + 1 == line.size() || !IsAlnum(line[k + 1]))) {
            h.bWait = true;
            ++k;
        }
        // The item text starts at the first '<' or a lone '.' after the header.
        const std::size_t nLt = nLimit < line.size() ? nLimit : std::string_view::npos;
        std::size_t nDot = line.find(" .", k - 1);
        if (nDot != std::string_view::npos) ++nDot;
        h.nItems = std::min(nLt, nDot);
        // secsgem logs "require_response:True" on the line before its SML.
        if (line.find("require_response:True") != std::string_view::npos) h.bWait = true;
        return true;
    }
    return false;
}

struct SLine {
    std::string_view text;
    std::uint32_t nNumber;
};

// The lines of a text, read as they are asked for; lines well behind the
// last one asked for are let go, so a log of any size needs little memory.
class CLines {
public:
    explicit CLines(std::string_view text) : m_text(text) {}

    bool Has(std::size_t i) {
        Fill(i);
        return i < m_nBase + m_lines.size();
    }
    const SLine& operator[](std::size_t i) {
        Fill(i);
        return m_lines[i - m_nBase];
    }
    // Lines before i are not asked for again.
    void Forget(std::size_t i) {
        if (i < m_nBase + 4096 || i > m_nBase + m_lines.size()) return;
        m_lines.erase(m_lines.begin(), m_lines.begin() + static_cast<long>(i - m_nBase));
        m_nBase = i;
    }

private:
    void Fill(std::size_t i) {
        while (m_nBase + m_lines.size() <= i && m_nPos <= m_text.size()) {
            std::size_t e = m_text.find('\n', m_nPos);
            if (e == std::string_view::npos) e = m_text.size();
            std::string_view line = m_text.substr(m_nPos, e - m_nPos);
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            m_lines.push_back({line, static_cast<std::uint32_t>(m_nBase + m_lines.size() + 1)});
            m_nPos = e + 1;
        }
    }

    std::string_view m_text;
    std::size_t m_nPos = 0;
    std::size_t m_nBase = 0;
    std::vector<SLine> m_lines;
};

bool IsItemLine(std::string_view line) {
    std::size_t i = 0;
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    return i < line.size() && (line[i] == '<' || line[i] == '>' || line[i] == '.');
}

// The item text of a message whose header is lines[i]: the rest of the
// header line, then the item lines up to "." or the next header. The lines
// lie one after the other in the log: the text is a view of them.
std::string_view ItemText(CLines& lines, std::size_t& i, const SSmlHeader& h) {
    const std::string_view header = lines[i].text;
    const std::string_view rest =
        h.nItems < header.size() ? header.substr(h.nItems) : header.substr(header.size());
    const char* const pBegin = rest.data();
    const char* pEnd = rest.data() + rest.size();
    const std::size_t nLastOfRest = rest.find_last_not_of(' ');
    bool bEnded = nLastOfRest != std::string_view::npos && rest[nLastOfRest] == '.';
    for (++i; lines.Has(i) && !bEnded; ++i) {
        SSmlHeader next;
        const std::string_view line = lines[i].text;
        if (!IsItemLine(line) && (ReadHeader(line, next) || pEnd == pBegin)) break;
        if (!IsItemLine(line) && line.find_first_not_of(" \t") != std::string_view::npos &&
            line.find('<') == std::string_view::npos && line.find('>') == std::string_view::npos)
            break;
        pEnd = line.data() + line.size();
        const std::size_t nLast = line.find_last_not_of(" \t");
        bEnded = nLast != std::string_view::npos && line[nLast] == '.';
    }
    return std::string_view(pBegin, static_cast<std::size_t>(pEnd - pBegin));
}

}  // namespace

bool IsSmlLog(std::string_view text) {
    CLines lines(text.substr(0, std::min<std::size_t>(text.size(), 1 << 16)));
    std::size_t nHeaders = 0, nItems = 0;
    for (std::size_t i = 0; lines.Has(i); ++i) {
        SSmlHeader h;
        if (ReadHeader(lines[i].text, h)) {
            ++nHeaders;
            const bool bSameLine = h.nItems < lines[i].text.size();
            if (bSameLine || (lines.Has(i + 1) && IsItemLine(lines[i + 1].text))) ++nItems;
        }
    }
    return nHeaders && nItems * 2 >= nHeaders;
}

void IndexSmlLog(CSessionBuilder& builder, std::string_view text,
                 const FSessionProgress& progress) {
    CLines lines(text);
    std::vector<unsigned char>& own = builder.Own();
    // Without system bytes in the log, a reply takes its primary's: the
    // latest one of its stream and function that is still open.
    std::map<std::pair<int, int>, std::uint32_t> open;
    std::uint32_t nCounted = 0;
    const std::uint16_t nUnknownFlow = builder.Flow("", "", EMsgDirection::kUnknown, 1);
    bool bAllDated = true, bAnyTime = false;
    CFlowCache flows(builder);
    std::string strText;  // kept: one buffer for every message's SML
    std::vector<SSmlMessage> msgs;
    SSmlError error;
    constexpr std::size_t kProgressStep = 4u << 20;
    std::size_t nReport = kProgressStep;
    for (std::size_t i = 0; lines.Has(i);) {
        lines.Forget(i > 0 ? i - 1 : 0);
        const std::size_t nDone = static_cast<std::size_t>(lines[i].text.data() - text.data());
        if (progress && nDone >= nReport) {
            nReport = nDone + kProgressStep;
            if (!progress(nDone, text.size())) break;
        }
        SSmlHeader h;
        if (!ReadHeader(lines[i].text, h)) {
            ++i;
            continue;
        }
        const std::size_t nHeader = i;
        h.nSystem = SystemBytes(lines[i].text);
        // A log record line just before the SML (secsgem's "> HsmsMessage(...)")
        // tells what the SML line does not.
        const std::string_view context =
            i > 0 && !IsItemLine(lines[i - 1].text) ? lines[i - 1].text : std::string_view();
        if (h.nSystem < 0) h.nSystem = SystemBytes(context);
        const long long nSession = SessionId(context);
        const std::string_view items = ItemText(lines, i, h);
        strText.assign(1, 'S');
        strText += DecimalText(h.nStream);
        strText += 'F';
        strText += DecimalText(h.nFunction);
        strText += h.bWait ? " W\n" : "\n";
        strText += items;
        if (!ReadSml(strText, msgs, error) || msgs.size() != 1) {
            builder.Warn("line " + DecimalText(lines[nHeader].nNumber) + ": " +
                             (msgs.size() > 1 ? "more than one message" : error.strText),
                         SSessionMsg::kNoTime, lines[nHeader].nNumber);
            continue;
        }
        std::uint32_t nSystem = 0;
        if (h.nSystem >= 0) {
            nSystem = static_cast<std::uint32_t>(h.nSystem);
        } else if (h.nFunction % 2 == 0 && h.nFunction &&
                   open.count({h.nStream, h.nFunction - 1})) {
            nSystem = open[{h.nStream, h.nFunction - 1}];
            open.erase({h.nStream, h.nFunction - 1});
        } else {
            nSystem = ++nCounted;
            if (h.nFunction % 2) open[{h.nStream, h.nFunction}] = nSystem;
        }
        msgs[0].nSystem = nSystem;
        if (nSession >= 0) msgs[0].nDevice = static_cast<int>(nSession);
        const std::vector<unsigned char> bytes = SmlMessageFile(msgs[0], nSystem);
        SFoundFacts facts;
        bool bDate = false;
        facts.nMicros = LogTimeMicros(lines[nHeader].text, bDate);
        if (facts.nMicros == SSessionMsg::kNoTime) facts.nMicros = LogTimeMicros(context, bDate);
        if (facts.nMicros != SSessionMsg::kNoTime) {
            bAnyTime = true;
            bAllDated = bAllDated && bDate;
        }
        facts.nFlow = flows.OfLine(lines[nHeader].text);
        if (facts.nFlow == nUnknownFlow) facts.nFlow = flows.OfLine(context);
        facts.nLine = lines[nHeader].nNumber;
        const std::size_t nAt = own.size();
        own.insert(own.end(), bytes.begin(), bytes.end());
        builder.Add(std::span<const unsigned char>(own.data() + nAt, bytes.size()), facts);
    }
    builder.SetTimesOfDay(bAnyTime && !bAllDated);
}
