#include "io/SmlLog.h"

#include <algorithm>
#include <cctype>
#include <map>
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

// "S6F11" (perhaps quoted) at i, a whole word; i moves past it.
bool TakeStreamFunction(std::string_view s, std::size_t& i, int& nStream, int& nFunction) {
    if (i > 0 && (std::isalnum(static_cast<unsigned char>(s[i - 1])) || s[i - 1] == '_'))
        return false;
    std::size_t k = i;
    if (k >= s.size() || (s[k] != 'S' && s[k] != 's')) return false;
    int nS = 0, nF = 0, nDigits = 0;
    for (++k; k < s.size() && IsDigit(s[k]) && nDigits < 3; ++k, ++nDigits) nS = nS * 10 + s[k] - '0';
    if (!nDigits || k >= s.size() || (s[k] != 'F' && s[k] != 'f')) return false;
    nDigits = 0;
    for (++k; k < s.size() && IsDigit(s[k]) && nDigits < 3; ++k, ++nDigits) nF = nF * 10 + s[k] - '0';
    if (!nDigits || nS > 127 || nF > 255) return false;
    if (k < s.size() && (std::isalnum(static_cast<unsigned char>(s[k])) || s[k] == '_')) return false;
    nStream = nS;
    nFunction = nF;
    i = k;
    return true;
}

// The number after "system:", "system=", "id=", "sb=" or in "[0x0000002A]".
long long SystemBytes(std::string_view s) {
    static constexpr const char* kKeys[] = {"system", "sysbytes", "systembytes", "sb", "id", "tid"};
    for (std::size_t i = 0; i < s.size(); ++i) {
        std::size_t k = i;
        if (s[i] == '[' && s.substr(i + 1, 2) == "0x") {
            k = i + 1;
        } else {
            bool bKey = false;
            for (const char* szKey : kKeys) {
                std::size_t n = 0;
                while (szKey[n] && i + n < s.size() &&
                       std::tolower(static_cast<unsigned char>(s[i + n])) == szKey[n])
                    ++n;
                const bool bStart = i == 0 || (!std::isalnum(static_cast<unsigned char>(s[i - 1])) &&
                                               s[i - 1] != '_');
                if (!szKey[n] && bStart && i + n < s.size() && (s[i + n] == ':' || s[i + n] == '=')) {
                    k = i + n + 1;
                    bKey = true;
                    break;
                }
            }
            if (!bKey) continue;
        }
        const bool bHex = s.substr(k, 2) == "0x" || s.substr(k, 2) == "0X";
        if (bHex) k += 2;
        unsigned long long v = 0;
        std::size_t nDigits = 0;
        for (; k < s.size() && nDigits < 16; ++k, ++nDigits) {
            const int d = bHex ? HexDigitValue(s[k]) : (IsDigit(s[k]) ? s[k] - '0' : -1);
            if (d < 0) break;
            v = v * (bHex ? 16 : 10) + static_cast<unsigned>(d);
        }
        if (nDigits && v <= 0xFFFFFFFFull) return static_cast<long long>(v);
    }
    return -1;
}

// A header line: an SxFy word before any item text, not inside quotes.
bool ReadHeader(std::string_view line, SSmlHeader& h) {
    // Item text starts at "<" and a format name; "<--" is an arrow.
    std::size_t nLimit = 0;
    while (nLimit < line.size() &&
           !(line[nLimit] == '<' && nLimit + 1 < line.size() &&
             std::isalpha(static_cast<unsigned char>(line[nLimit + 1]))))
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
            (k + 1 == line.size() || !std::isalnum(static_cast<unsigned char>(line[k + 1])))) {
            h.bWait = true;
            ++k;
        }
        h.nSystem = SystemBytes(line);
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

std::vector<SLine> Lines(std::string_view text) {
    std::vector<SLine> lines;
    std::uint32_t n = 1;
    for (std::size_t i = 0; i <= text.size(); ++n) {
        std::size_t e = text.find('\n', i);
        if (e == std::string_view::npos) e = text.size();
        std::string_view line = text.substr(i, e - i);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back({line, n});
        i = e + 1;
    }
    return lines;
}

bool IsItemLine(std::string_view line) {
    std::size_t i = 0;
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    return i < line.size() && (line[i] == '<' || line[i] == '>' || line[i] == '.');
}

// The item text of a message whose header is lines[h]: the rest of the
// header line, then the item lines up to "." or the next header.
std::string ItemText(const std::vector<SLine>& lines, std::size_t& i, const SSmlHeader& h) {
    std::string str;
    if (h.nItems < lines[i].text.size()) str.assign(lines[i].text.substr(h.nItems));
    bool bEnded = !str.empty() && str.find_last_not_of(' ') != std::string::npos &&
                  str[str.find_last_not_of(' ')] == '.';
    for (++i; i < lines.size() && !bEnded; ++i) {
        SSmlHeader next;
        const std::string_view line = lines[i].text;
        if (!IsItemLine(line) && (ReadHeader(line, next) || str.empty())) break;
        if (!IsItemLine(line) && line.find_first_not_of(" \t") != std::string_view::npos &&
            line.find('<') == std::string_view::npos && line.find('>') == std::string_view::npos)
            break;
        str += '\n';
        str += line;
        const std::size_t nLast = line.find_last_not_of(" \t");
        bEnded = nLast != std::string_view::npos && line[nLast] == '.';
    }
    return str;
}

}  // namespace

bool IsSmlLog(std::string_view text) {
    const std::vector<SLine> lines = Lines(text.substr(0, std::min<std::size_t>(text.size(), 1 << 16)));
    std::size_t nHeaders = 0, nItems = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        SSmlHeader h;
        if (ReadHeader(lines[i].text, h)) {
            ++nHeaders;
            const bool bSameLine = h.nItems < lines[i].text.size();
            if (bSameLine || (i + 1 < lines.size() && IsItemLine(lines[i + 1].text))) ++nItems;
        }
    }
    return nHeaders && nItems * 2 >= nHeaders;
}

void IndexSmlLog(CSessionBuilder& builder, std::string_view text) {
    const std::vector<SLine> lines = Lines(text);
    std::vector<unsigned char>& own = builder.Own();
    // Without system bytes in the log, a reply takes its primary's: the
    // latest one of its stream and function that is still open.
    std::map<std::pair<int, int>, std::uint32_t> open;
    std::uint32_t nCounted = 0;
    bool bAllDated = true, bAnyTime = false;
    for (std::size_t i = 0; i < lines.size();) {
        SSmlHeader h;
        if (!ReadHeader(lines[i].text, h)) {
            ++i;
            continue;
        }
        const std::size_t nHeader = i;
        // A log record line just before the SML (secsgem's "> HsmsMessage(...)")
        // tells what the SML line does not.
        const std::string_view context =
            i > 0 && !IsItemLine(lines[i - 1].text) ? lines[i - 1].text : std::string_view();
        if (h.nSystem < 0) h.nSystem = SystemBytes(context);
        const std::string strItems = ItemText(lines, i, h);
        std::string strText = "S" + DecimalText(h.nStream) + "F" + DecimalText(h.nFunction) +
                              (h.bWait ? " W" : "");
        std::vector<SSmlMessage> msgs;
        SSmlError error;
        if (!ReadSml(strText + "\n" + strItems, msgs, error) || msgs.size() != 1) {
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
        const std::vector<unsigned char> bytes = SmlMessageFile(msgs[0], nSystem);
        SFoundFacts facts;
        bool bDate = false;
        facts.nMicros = LogTimeMicros(lines[nHeader].text, bDate);
        if (facts.nMicros == SSessionMsg::kNoTime) facts.nMicros = LogTimeMicros(context, bDate);
        if (facts.nMicros != SSessionMsg::kNoTime) {
            bAnyTime = true;
            bAllDated = bAllDated && bDate;
        }
        facts.nFlow = LogLineFlow(builder, lines[nHeader].text);
        if (facts.nFlow == builder.Flow("", "", EMsgDirection::kUnknown, 1))
            facts.nFlow = LogLineFlow(builder, context);
        facts.nLine = lines[nHeader].nNumber;
        const std::size_t nAt = own.size();
        own.insert(own.end(), bytes.begin(), bytes.end());
        builder.Add(std::span<const unsigned char>(own.data() + nAt, bytes.size()), facts);
    }
    builder.SetTimesOfDay(bAnyTime && !bAllDated);
}
