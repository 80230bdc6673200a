#include "io/TextLog.h"

#include <cctype>

#include "io/HexText.h"
#include "io/MsgFraming.h"
#include "io/TimeText.h"

namespace {

struct SDirectionWord {
    std::string_view word;  // compared without regard to case
    EMsgDirection eDirection;
    const char* szFrom;  // for the words that name both sides
    const char* szTo;
};
constexpr SDirectionWord kDirectionWords[] = {
    {"send", EMsgDirection::kOut, "", ""},       {"sent", EMsgDirection::kOut, "", ""},
    {"sending", EMsgDirection::kOut, "", ""},    {"out", EMsgDirection::kOut, "", ""},
    {"tx", EMsgDirection::kOut, "", ""},         {">", EMsgDirection::kOut, "", ""},
    {"->", EMsgDirection::kOut, "", ""},         {">>", EMsgDirection::kOut, "", ""},
    {"recv", EMsgDirection::kIn, "", ""},        {"received", EMsgDirection::kIn, "", ""},
    {"receive", EMsgDirection::kIn, "", ""},     {"in", EMsgDirection::kIn, "", ""},
    {"rx", EMsgDirection::kIn, "", ""},          {"<", EMsgDirection::kIn, "", ""},
    {"<-", EMsgDirection::kIn, "", ""},          {"<<", EMsgDirection::kIn, "", ""},
    {"h->e", EMsgDirection::kUnknown, "H", "E"}, {"e->h", EMsgDirection::kUnknown, "E", "H"},
    {"h>e", EMsgDirection::kUnknown, "H", "E"},  {"e>h", EMsgDirection::kUnknown, "E", "H"},
};

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

bool SameWord(std::string_view a, std::string_view word) {
    if (a.size() != word.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != word[i]) return false;
    return true;
}

bool IsWordChar(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '-' ||
           c == '>' || c == '<' || c == '.' || c == ':';
}

// "a:p -> b:q" anywhere on the line: the two endpoints around an arrow.
bool Endpoints(std::string_view str, std::string& strFrom, std::string& strTo) {
    const std::size_t nArrow = str.find("->");
    if (nArrow == std::string_view::npos) return false;
    std::size_t a = nArrow;
    while (a > 0 && str[a - 1] == ' ') --a;
    std::size_t aStart = a;
    while (aStart > 0 && IsWordChar(str[aStart - 1]) && str[aStart - 1] != '>') --aStart;
    std::size_t b = nArrow + 2;
    while (b < str.size() && str[b] == ' ') ++b;
    std::size_t bEnd = b;
    while (bEnd < str.size() && IsWordChar(str[bEnd]) && str[bEnd] != '-') ++bEnd;
    strFrom = std::string(str.substr(aStart, a - aStart));
    strTo = std::string(str.substr(b, bEnd - b));
    const auto IsEndpoint = [](const std::string& s) {
        return s.find(':') != std::string::npos && s.size() > 2;
    };
    return IsEndpoint(strFrom) && IsEndpoint(strTo);
}

}  // namespace

// Arrows of SECS logs ("<-- [0x0000002A]", "S1F1 ->"), looked for before words.
struct SArrow {
    const char* szArrow;
    EMsgDirection eDirection;
    const char* szFrom;
    const char* szTo;
};
constexpr SArrow kArrows[] = {
    {"H->E", EMsgDirection::kUnknown, "H", "E"},
    {"E->H", EMsgDirection::kUnknown, "E", "H"},
    {"H\xE2\x86\x92"
     "E",
     EMsgDirection::kUnknown, "H", "E"},
    {"E\xE2\x86\x92"
     "H",
     EMsgDirection::kUnknown, "E", "H"},
    {"-->", EMsgDirection::kOut, "", ""},
    {"<--", EMsgDirection::kIn, "", ""},
};

std::uint16_t LogLineFlow(CSessionBuilder& builder, std::string_view strLine) {
    for (const SArrow& a : kArrows)
        if (strLine.find(a.szArrow) != std::string_view::npos)
            return builder.Flow(a.szFrom, a.szTo, a.eDirection, 1);
    std::string strFrom, strTo;
    if (Endpoints(strLine, strFrom, strTo))
        return builder.Flow(strFrom, strTo, EMsgDirection::kUnknown, 1);
    for (std::size_t i = 0; i < strLine.size();) {
        while (i < strLine.size() && !IsWordChar(strLine[i])) ++i;
        std::size_t e = i;
        while (e < strLine.size() && IsWordChar(strLine[e]) && strLine[e] != ':') ++e;
        if (e == i) {
            ++i;
            continue;
        }
        const std::string_view word = strLine.substr(i, e - i);
        for (const SDirectionWord& w : kDirectionWords)
            if (SameWord(word, w.word)) return builder.Flow(w.szFrom, w.szTo, w.eDirection, 1);
        i = e;
    }
    return builder.Flow("", "", EMsgDirection::kUnknown, 1);
}

std::uint16_t CFlowCache::Of(std::string_view strLine) {
    for (const SEntry& entry : m_entries)
        if (entry.strLine == strLine) return entry.nFlow;
    const std::uint16_t nFlow = LogLineFlow(m_builder, strLine);
    if (m_entries.size() == kSize) m_entries.erase(m_entries.begin());
    m_entries.push_back({std::string(strLine), nFlow});
    return nFlow;
}

void IndexHexLog(CSessionBuilder& builder, std::string_view text) {
    const CHexText hex = ReadHexText(text, false);
    std::vector<CFramedMsg> msgs = MessagesFromHexText(hex);
    std::size_t nShort = 0, nFirstShortLine = 0;
    bool bAllDated = true, bAnyTime = false;
    std::vector<unsigned char>& own = builder.Own();
    own.reserve(hex.m_bytes.size());
    builder.Reserve(msgs.size(), 0);
    CFlowCache flows(builder);
    for (const CFramedMsg& msg : msgs) {
        const CHexBlock& block = hex.m_blocks[msg.m_nBlock];
        if (msg.m_bytes.size() < 10) {
            if (!nShort++) nFirstShortLine = block.m_nLine;
            continue;
        }
        SFoundFacts facts;
        bool bDate = false;
        facts.nMicros =
            block.m_strTime.empty() ? SSessionMsg::kNoTime : LogTimeMicros(block.m_strTime, bDate);
        if (facts.nMicros != SSessionMsg::kNoTime) {
            bAnyTime = true;
            bAllDated = bAllDated && bDate;
        }
        facts.nFlow = flows.Of(block.m_strLabel);
        facts.nLine = static_cast<std::uint32_t>(block.m_nLine);
        facts.nFraming = msg.m_eFraming == EFraming::kHsms    ? SSessionMsg::kHsms
                         : msg.m_eFraming == EFraming::kSecsI ? SSessionMsg::kSecsI
                                                              : 0;
        facts.strNote = msg.m_strNote;
        facts.bDoubtful = msg.m_bWarning;
        const std::size_t nAt = own.size();
        own.insert(own.end(), msg.m_bytes.begin(), msg.m_bytes.end());
        builder.Add(std::span<const unsigned char>(own.data() + nAt, msg.m_bytes.size()), facts);
    }
    builder.SetTimesOfDay(bAnyTime && !bAllDated);
    if (nShort)
        builder.Warn(DecimalText(nShort) + " byte runs shorter than a message header passed over",
                     SSessionMsg::kNoTime, static_cast<std::uint32_t>(nFirstShortLine));
}
