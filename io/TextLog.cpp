#include "io/TextLog.h"

#include <array>
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

// First letters of the direction words: most words of a line (times, names,
// numbers) are passed over at their first letter.
constexpr std::array<bool, 256> MakeDirectionStarts() {
    std::array<bool, 256> a{};
    for (const SDirectionWord& w : kDirectionWords) a[static_cast<unsigned char>(w.word[0])] = true;
    return a;
}
constexpr std::array<bool, 256> kDirectionStarts = MakeDirectionStarts();

bool SameWord(std::string_view a, std::string_view word) {
    if (a.size() != word.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != word[i]) return false;
    return true;
}

constexpr std::array<bool, 256> MakeWordChars() {
    std::array<bool, 256> a{};
    for (int c = '0'; c <= '9'; ++c) a[c] = true;
    for (int c = 'a'; c <= 'z'; ++c) a[c] = true;
    for (int c = 'A'; c <= 'Z'; ++c) a[c] = true;
    for (unsigned char c : {'-', '>', '<', '.', ':'}) a[c] = true;
    return a;
}
constexpr std::array<bool, 256> kWordChars = MakeWordChars();

bool IsWordChar(char c) { return kWordChars[static_cast<unsigned char>(c)]; }

// "a:p -> b:q" anywhere on the line: the two endpoints around an arrow.
bool Endpoints(std::string_view str, std::string_view& strFrom, std::string_view& strTo) {
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
    strFrom = str.substr(aStart, a - aStart);
    strTo = str.substr(b, bEnd - b);
    const auto IsEndpoint = [](std::string_view s) {
        return s.find(':') != std::string_view::npos && s.size() > 2;
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

SLineFlow LineFlowOf(std::string_view strLine) {
    // Every arrow holds one of these; most lines have none.
    bool bArrow = false;
    for (char c : strLine) bArrow = bArrow || c == '<' || c == '>' || c == '\xE2';
    if (bArrow) {
        for (const SArrow& a : kArrows)
            if (strLine.find(a.szArrow) != std::string_view::npos)
                return {a.szFrom, a.szTo, a.eDirection};
        std::string_view strFrom, strTo;
        if (Endpoints(strLine, strFrom, strTo)) return {strFrom, strTo, EMsgDirection::kUnknown};
    }
    for (std::size_t i = 0; i < strLine.size();) {
        while (i < strLine.size() && !IsWordChar(strLine[i])) ++i;
        std::size_t e = i;
        while (e < strLine.size() && IsWordChar(strLine[e]) && strLine[e] != ':') ++e;
        if (e == i) {
            ++i;
            continue;
        }
        const std::string_view word = strLine.substr(i, e - i);
        if (kDirectionStarts[static_cast<unsigned char>(Lower(word[0]))])
            for (const SDirectionWord& w : kDirectionWords)
                if (SameWord(word, w.word)) return {w.szFrom, w.szTo, w.eDirection};
        i = e;
    }
    return {};
}

std::uint16_t LogLineFlow(CSessionBuilder& builder, std::string_view strLine) {
    const SLineFlow flow = LineFlowOf(strLine);
    return builder.Flow(std::string(flow.strFrom), std::string(flow.strTo), flow.eDirection, 1);
}

std::uint16_t CFlowCache::OfLine(std::string_view strLine) {
    const SLineFlow flow = LineFlowOf(strLine);
    for (const SEntry& entry : m_flows)
        if (entry.strFrom == flow.strFrom && entry.strTo == flow.strTo &&
            entry.eDirection == flow.eDirection)
            return entry.nFlow;
    const std::uint16_t nFlow =
        m_builder.Flow(std::string(flow.strFrom), std::string(flow.strTo), flow.eDirection, 1);
    if (m_flows.size() == kSize) m_flows.erase(m_flows.begin());
    m_flows.push_back({std::string(flow.strFrom), std::string(flow.strTo), flow.eDirection, nFlow});
    return nFlow;
}

std::uint16_t CFlowCache::Of(std::string_view strLine) {
    for (const SLabel& entry : m_entries)
        if (entry.strLine == strLine) return entry.nFlow;
    const std::uint16_t nFlow = LogLineFlow(m_builder, strLine);
    if (m_entries.size() == kSize) m_entries.erase(m_entries.begin());
    m_entries.push_back({std::string(strLine), nFlow});
    return nFlow;
}

namespace {

constexpr std::size_t kHeaderSize = 10;

// Whether the items of a body cover it exactly, perhaps with a style byte
// after them: a walk with one counter, no decoding. The decoder has the last
// word; this only spares it the messages that are plainly whole.
bool ItemsCoverBody(const unsigned char* p, std::size_t n) {
    std::size_t i = 0, nNeeded = n ? 1 : 0;
    while (nNeeded && i < n) {
        const unsigned nLengthBytes = p[i] & 3u;
        if (!nLengthBytes || n - i - 1 < nLengthBytes) return false;
        std::size_t nLength = 0;
        for (unsigned k = 1; k <= nLengthBytes; ++k) nLength = nLength << 8 | p[i + k];
        const bool bList = (p[i] >> 2) == 0;
        i += 1 + nLengthBytes;
        --nNeeded;
        if (bList) {
            nNeeded += nLength;
        } else {
            if (nLength > n - i) return false;
            i += nLength;
        }
    }
    return !nNeeded && n - i <= 1;
}

bool DecodesCleanly(const unsigned char* p, std::size_t n) {
    return n >= kHeaderSize &&
           (ItemsCoverBody(p + kHeaderSize, n - kHeaderSize) || !IsDamagedBody(p, n));
}

// The other readings of a block's lines, in the order they are tried.
struct SOtherReading {
    EHexColumns eColumns;
    bool bBare;  // the block's bytes as one message, framing not stripped
    const char* szNote;
};
constexpr SOtherReading kOtherReadings[] = {
    {EHexColumns::kFound, true, "read again as one message, framing kept"},
    {EHexColumns::kOffsetFirst, false, "read again with the first word of each line as an offset"},
    {EHexColumns::kNoOffset, false, "read again without an offset column"},
};

class CHexLogIndexer {
public:
    CHexLogIndexer(CSessionBuilder& builder, std::string_view text)
        : m_builder(builder), m_text(text), m_flows(builder) {}

    void Run(const FSessionProgress& progress) {
        m_hex = ReadHexText(m_text, false, EHexColumns::kFound, progress);
        std::vector<unsigned char>& own = m_builder.Own();
        own = std::move(m_hex.m_bytes);  // bare messages are named where they lie
        m_builder.Reserve(m_hex.m_blocks.size() + 16, 0);
        for (std::size_t b = 0; b < m_hex.m_blocks.size(); ++b) {
            const CHexBlock& block = m_hex.m_blocks[b];
            const std::size_t n = block.m_nEnd - block.m_nBegin;
            if (IsFramedRun(own.data() + block.m_nBegin, n, false)) {
                for (CFramedMsg& msg : FrameBytes(own.data() + block.m_nBegin, n, false)) {
                    msg.m_nBlock = b;
                    m_pending.push_back(std::move(msg));
                }
                continue;
            }
            Flush();
            // Flush copies framed messages into the store, which may move it:
            // the block's bytes are found only now.
            const unsigned char* p = own.data() + block.m_nBegin;
            if (n < kHeaderSize) {
                if (!OtherReading(b, false)) Short(block);
            } else if (DecodesCleanly(p, n) || !OtherReading(b, false)) {
                Add(block.m_nBegin, n, b, {}, false, 0);
            }
        }
        Flush();
        m_builder.SetTimesOfDay(m_bAnyTime && !m_bAllDated);
        if (m_nShort)
            m_builder.Warn(
                DecimalText(m_nShort) + " byte runs shorter than a message header passed over",
                SSessionMsg::kNoTime, static_cast<std::uint32_t>(m_nFirstShortLine));
    }

private:
    // Framed messages wait here until SECS-I blocks are joined.
    void Flush() {
        JoinSecsIBlocks(m_pending);
        for (std::size_t i = 0; i < m_pending.size(); ++i) {
            const CFramedMsg& msg = m_pending[i];
            const std::size_t b = msg.m_nBlock;
            const bool bAlone = (i == 0 || m_pending[i - 1].m_nBlock != b) &&
                                (i + 1 == m_pending.size() || m_pending[i + 1].m_nBlock != b);
            if (msg.m_bytes.size() < kHeaderSize) {
                Short(m_hex.m_blocks[b]);
            } else if (msg.m_eFraming == EFraming::kSecsI || !bAlone ||
                       DecodesCleanly(msg.m_bytes.data(), msg.m_bytes.size()) ||
                       !OtherReading(b, true)) {
                AddCopy(msg.m_bytes, b, msg.m_strNote, msg.m_bWarning, Framing(msg.m_eFraming));
            }
        }
        m_pending.clear();
    }

    static std::uint8_t Framing(EFraming e) {
        return e == EFraming::kHsms    ? SSessionMsg::kHsms
               : e == EFraming::kSecsI ? SSessionMsg::kSecsI
                                       : 0;
    }

    // The first other reading of block b whose every message decodes
    // cleanly replaces it; false when none does.
    bool OtherReading(std::size_t b, bool bFramed) {
        const CHexBlock& block = m_hex.m_blocks[b];
        const std::string_view lines =
            m_text.substr(block.m_nTextBegin, block.m_nTextEnd - block.m_nTextBegin);
        for (const SOtherReading& r : kOtherReadings) {
            std::vector<CFramedMsg> msgs;
            if (r.bBare) {
                if (!bFramed) continue;
                msgs.emplace_back();
                const unsigned char* p = m_builder.Own().data() + block.m_nBegin;
                msgs.back().m_bytes.assign(p, p + (block.m_nEnd - block.m_nBegin));
            } else {
                msgs = MessagesFromHexText(ReadHexText(lines, false, r.eColumns));
            }
            bool bClean = !msgs.empty();
            for (const CFramedMsg& msg : msgs)
                bClean = bClean && DecodesCleanly(msg.m_bytes.data(), msg.m_bytes.size());
            if (!bClean) continue;
            for (const CFramedMsg& msg : msgs) {
                std::string strNote = r.szNote;
                if (!msg.m_strNote.empty()) strNote += "; " + msg.m_strNote;
                AddCopy(msg.m_bytes, b, strNote, msg.m_bWarning, Framing(msg.m_eFraming));
            }
            return true;
        }
        return false;
    }

    void Short(const CHexBlock& block) {
        if (!m_nShort++) m_nFirstShortLine = block.m_nLine;
    }

    void AddCopy(const std::vector<unsigned char>& bytes, std::size_t b, std::string_view strNote,
                 bool bDoubtful, std::uint8_t nFraming) {
        std::vector<unsigned char>& own = m_builder.Own();
        const std::size_t nAt = own.size();
        own.insert(own.end(), bytes.begin(), bytes.end());
        Add(nAt, bytes.size(), b, strNote, bDoubtful, nFraming);
    }

    // The message at own[nAt, nAt + n), read from block b.
    void Add(std::size_t nAt, std::size_t n, std::size_t b, std::string_view strNote,
             bool bDoubtful, std::uint8_t nFraming) {
        const CHexBlock& block = m_hex.m_blocks[b];
        SFoundFacts facts;
        bool bDate = false;
        facts.nMicros =
            block.m_strTime.empty() ? SSessionMsg::kNoTime : LogTimeMicros(block.m_strTime, bDate);
        if (facts.nMicros != SSessionMsg::kNoTime) {
            m_bAnyTime = true;
            m_bAllDated = m_bAllDated && bDate;
        }
        facts.nFlow = m_flows.Of(block.m_strLabel);
        facts.nLine = static_cast<std::uint32_t>(block.m_nLine);
        facts.nFraming = nFraming;
        facts.strNote = strNote;
        facts.bDoubtful = bDoubtful;
        m_builder.Add(std::span<const unsigned char>(m_builder.Own().data() + nAt, n), facts);
    }

    CSessionBuilder& m_builder;
    std::string_view m_text;
    CFlowCache m_flows;
    CHexText m_hex;
    std::vector<CFramedMsg> m_pending;
    std::size_t m_nShort = 0;
    std::size_t m_nFirstShortLine = 0;
    bool m_bAllDated = true;
    bool m_bAnyTime = false;
};

}  // namespace

void IndexHexLog(CSessionBuilder& builder, std::string_view text,
                 const FSessionProgress& progress) {
    CHexLogIndexer(builder, text).Run(progress);
}
