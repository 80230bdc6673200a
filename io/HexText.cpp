#include "io/HexText.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "io/HexLog.h"

namespace {

enum : unsigned char { kHex = 1, kSpace = 2, kDigit = 4, kSeparator = 8, kEquals = 16 };

constexpr std::array<unsigned char, 256> MakeClasses() {
    std::array<unsigned char, 256> a{};
    for (int c = '0'; c <= '9'; ++c) a[c] = kHex | kDigit;
    for (int c = 'a'; c <= 'f'; ++c) a[c] = kHex;
    for (int c = 'A'; c <= 'F'; ++c) a[c] = kHex;
    for (unsigned char c : {' ', '\t', '\n', '\v', '\f', '\r'}) a[c] = kSpace;
    // Brackets, pipes and commas group bytes but never end a line's bytes.
    for (unsigned char c : {',', ';', '|', '[', ']', '(', ')', '{', '}', '<', '>', '"', '\''})
        a[c] = kSeparator;
    a['='] = kEquals;
    return a;
}
constexpr std::array<unsigned char, 256> kClasses = MakeClasses();

bool Is(char c, unsigned char nClass) { return kClasses[static_cast<unsigned char>(c)] & nClass; }

constexpr std::array<unsigned char, 256> MakeNibbles() {
    std::array<unsigned char, 256> a{};
    for (int c = '0'; c <= '9'; ++c) a[c] = static_cast<unsigned char>(c - '0');
    for (int c = 'a'; c <= 'f'; ++c) a[c] = static_cast<unsigned char>(c - 'a' + 10);
    for (int c = 'A'; c <= 'F'; ++c) a[c] = static_cast<unsigned char>(c - 'A' + 10);
    return a;
}
constexpr std::array<unsigned char, 256> kNibbles = MakeNibbles();

// The value of a hex digit; callers have checked that it is one.
int Nibble(char c) { return kNibbles[static_cast<unsigned char>(c)]; }

// One pass that converts plain text while checking that it is plain: only
// hex digits and blanks, tabs and line breaks, which clean away, so the
// pairwise scan reduces to pairs and a lone last digit alone. False at the
// first other character (form feeds and vertical tabs included).
bool ReadPlainFast(std::string_view text, std::vector<unsigned char>& out) {
    out.resize(text.size() / 2 + 1);
    unsigned char* pOut = out.data();
    int nHigh = -1;
    for (char c : text) {
        const unsigned char nClass = kClasses[static_cast<unsigned char>(c)];
        if (!(nClass & kHex)) {
            if (c == ' ' || c == '\n' || c == '\r' || c == '\t') continue;
            return false;
        }
        if (nHigh < 0) {
            nHigh = Nibble(c);
        } else {
            *pOut++ = static_cast<unsigned char>(nHigh << 4 | Nibble(c));
            nHigh = -1;
        }
    }
    if (nHigh >= 0) *pOut++ = static_cast<unsigned char>(nHigh);
    out.resize(static_cast<std::size_t>(pOut - out.data()));
    return true;
}

bool IsPlain(std::string_view text) {
    for (char c : text)
        if (!Is(c, kHex | kSpace)) return false;
    return true;
}

struct SWord {
    const char* p;
    const char* e;
    int nGap;                 // blanks before the word
    bool bLabel;              // ended by ':' or '=' ("Out:", "data=", "In :")
    bool bNoBytes = false;    // a tag in square brackets or the value of key=value
    int nGroup = 0;           // square-bracket group, 0 outside any
    bool bPair = false;       // two hex digits: by far the most common word
    unsigned char nByte = 0;  // a pair's value
};

// Keys whose value is the message itself ("data=0000810100...").
bool IsDataKey(const char* p, const char* e) {
    static constexpr const char* kKeys[] = {"data", "hex",     "raw", "payload", "body",
                                            "msg",  "message", "buf", "buffer",  "bytes"};
    const std::size_t n = static_cast<std::size_t>(e - p);
    for (const char* szKey : kKeys) {
        if (std::strlen(szKey) != n) continue;
        std::size_t i = 0;
        while (i < n && (p[i] | 0x20) == szKey[i]) ++i;
        if (i == n) return true;
    }
    return false;
}

// hh:mm:ss of a second time stamp, which reads as three byte pairs too.
bool IsTimeOfDay(const char* p, const char* e) {
    if (e - p != 8 || p[2] != ':' || p[5] != ':') return false;
    int nParts[3];
    for (int k = 0; k < 3; ++k) {
        const char a = p[3 * k], b = p[3 * k + 1];
        if (a < '0' || a > '9' || b < '0' || b > '9') return false;
        nParts[k] = (a - '0') * 10 + (b - '0');
    }
    return nParts[0] < 24 && nParts[1] < 60 && nParts[2] < 61;
}

// A word's bytes, or false when it is not a byte word. Byte words: an even
// run of hex digits, 0x with digits, or 2-digit pairs joined by ':' '.' '-'.
bool WordBytes(const char* p, const char* e, std::vector<unsigned char>& out) {
    const size_t n = static_cast<size_t>(e - p);
    if (n == 2 && Is(p[0], kHex) && Is(p[1], kHex)) {  // by far the most common word
        out.push_back(static_cast<unsigned char>(Nibble(p[0]) << 4 | Nibble(p[1])));
        return true;
    }
    if (n > 2 && p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
        p += 2;
        for (const char* q = p; q < e; ++q)
            if (!Is(*q, kHex)) return false;
        int nHigh = (e - p) % 2 ? 0 : -1;  // odd digit counts are padded at the front
        for (; p < e; ++p) {
            if (nHigh < 0) {
                nHigh = Nibble(*p);
                continue;
            }
            out.push_back(static_cast<unsigned char>(nHigh << 4 | Nibble(*p)));
            nHigh = -1;
        }
        return true;
    }
    bool bAllHex = true;
    for (const char* q = p; q < e && bAllHex; ++q) bAllHex = Is(*q, kHex);
    if (bAllHex) {
        if (n % 2) return false;
        for (; p < e; p += 2)
            out.push_back(static_cast<unsigned char>(Nibble(p[0]) << 4 | Nibble(p[1])));
        return true;
    }
    if (n < 5 || (n + 1) % 3) return false;
    for (size_t i = 0; i < n; i += 3) {
        const bool bSep = i + 2 >= n || p[i + 2] == ':' || p[i + 2] == '.' || p[i + 2] == '-';
        if (!Is(p[i], kHex) || !Is(p[i + 1], kHex) || !bSep) return false;
    }
    for (size_t i = 0; i < n; i += 3)
        out.push_back(static_cast<unsigned char>(Nibble(p[i]) << 4 | Nibble(p[i + 1])));
    return true;
}

// Hex digits of a word with an optional 0x in front; -1 when it has others.
long long HexValue(const char* p, const char* e, int& nDigits) {
    if (e - p > 2 && p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) p += 2;
    nDigits = static_cast<int>(e - p);
    if (nDigits == 0 || nDigits > 12) return -1;
    long long v = 0;
    for (; p < e; ++p) {
        if (!Is(*p, kHex)) return -1;
        v = v * 16 + Nibble(*p);
    }
    return v;
}

size_t Digits(const char* p, const char* e) {
    size_t n = 0;
    while (p + n < e && Is(p[n], kDigit)) ++n;
    return n;
}

// A leading date and/or time of day ("2026-12-07 10:00:00.123", "[10:00:01]").
// A time is hh:mm:ss not followed by another ':' pair, so "00:00:00:0a" stays
// bytes. Returns where the line goes on, or p when there is no time stamp.
const char* TakeTime(const char* p, const char* e, std::string_view& strTime) {
    const char* q = p;
    while (q < e && (Is(*q, kSpace) || *q == '[')) ++q;
    const char* pStart = q;
    if (Digits(q, e) == 4 && q + 10 <= e && (q[4] == '-' || q[4] == '/') && q[7] == q[4] &&
        Digits(q + 5, e) == 2 && Digits(q + 8, e) == 2) {
        q += 10;
        if (q < e && (*q == 'T' || *q == ' ')) ++q;
    }
    const size_t nHour = Digits(q, e);
    if (nHour < 1 || nHour > 2 || q + nHour + 6 > e) return p;
    const char* t = q + nHour;
    if (t[0] != ':' || Digits(t + 1, e) != 2 || t[3] != ':' || Digits(t + 4, e) != 2) return p;
    t += 6;
    if (t < e && (*t == '.' || *t == ',') && Digits(t + 1, e) > 0) t += 1 + Digits(t + 1, e);
    if (t < e && (*t == ':' || Is(*t, kHex))) return p;
    strTime = std::string_view(pStart, static_cast<size_t>(t - pStart));
    while (t < e && (*t == ']' || Is(*t, kSpace))) ++t;
    return t;
}

// ASCII only: the C library's classes follow the locale a GUI may have set.
bool IsAsciiAlnum(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool TakePythonLiteral(const char* p, const char* e, std::vector<unsigned char>& out) {
    const std::size_t n = static_cast<std::size_t>(e - p);
    if (!std::memchr(p, '\'', n) && !std::memchr(p, '"', n)) return false;
    bool bFound = false;
    for (const char* q = p; q + 1 < e; ++q) {
        if (q[0] != 'b' || (q[1] != '\'' && q[1] != '"')) continue;
        if (q > p && (IsAsciiAlnum(q[-1]) || q[-1] == '_')) continue;
        const char quote = q[1];
        bFound = true;
        for (q += 2; q < e && *q != quote; ++q) {
            if (*q != '\\' || q + 1 >= e) {
                out.push_back(static_cast<unsigned char>(*q));
                continue;
            }
            const char c = *++q;
            if (c == 'x' && q + 2 < e && Is(q[1], kHex) && Is(q[2], kHex)) {
                out.push_back(static_cast<unsigned char>(Nibble(q[1]) << 4 | Nibble(q[2])));
                q += 2;
            } else {
                static constexpr const char kFrom[] = "nrt0";
                static constexpr const char kTo[] = "\n\r\t";
                const char* pAt = std::strchr(kFrom, c);
                out.push_back(static_cast<unsigned char>(c && pAt ? kTo[pAt - kFrom] : c));
            }
        }
    }
    return bFound;
}

class CLineReader {
public:
    CLineReader(CHexText& text, const char* pText, EHexColumns eColumns)
        : m_text(text), m_pText(pText), m_eColumns(eColumns) {}

    void Line(const char* p, const char* e, size_t nLine) {
        const size_t nLineBegin = static_cast<size_t>(p - m_pText);
        if (e > p && e[-1] == '\r') --e;
        std::string_view strTime;
        p = TakeTime(p, e, strTime);
        // A new time stamp is a new log entry; lines of one dump share theirs.
        if (m_bInBlock && !strTime.empty() && strTime != m_text.m_blocks.back().m_strTime)
            EndBlock();
        const size_t nBefore = m_text.m_bytes.size();
        m_pBytes = p;
        if (!TakePythonLiteral(p, e, m_text.m_bytes)) Words(p, e);
        if (m_text.m_bytes.size() == nBefore) {
            EndBlock();
            m_strPendingTime = strTime;
            m_strPendingLabel = std::string_view(p, static_cast<size_t>(e - p));
            return;
        }
        if (!m_bInBlock) {
            CHexBlock block;
            block.m_nBegin = nBefore;
            block.m_nLine = nLine;
            block.m_nTextBegin = nLineBegin;
            block.m_strTime = strTime.empty() ? m_strPendingTime : strTime;
            block.m_strLabel = m_pBytes && m_pBytes > p
                                   ? std::string_view(p, static_cast<size_t>(m_pBytes - p))
                                   : m_strPendingLabel;
            m_strPendingLabel = {};
            m_text.m_blocks.push_back(std::move(block));
            m_bInBlock = true;
        }
        m_text.m_blocks.back().m_nEnd = m_text.m_bytes.size();
        m_text.m_blocks.back().m_nTextEnd = static_cast<size_t>(e - m_pText);
    }

    void EndBlock() {
        m_bInBlock = false;
        m_bOffsets = false;
    }

private:
    void Split(const char* p, const char* e) {
        m_words.clear();
        m_nLastLabel = 0;
        int nGap = 0;
        int nGroup = 0, nSquare = 0;  // words inside [ ] and which group they form
        bool bValue = false;          // the next word is the value of key=value
        while (p < e) {
            if (*p == ' ') {
                ++nGap;
                bValue = false;
                ++p;
                continue;
            }
            if (Is(*p, kSpace | kSeparator | kEquals)) {
                // "len=10": a value written right after its key's '=' is no byte.
                if (*p == '=' && !m_words.empty()) {
                    Label(m_words.size() - 1);
                    bValue = m_words.back().e == p && !IsDataKey(m_words.back().p, p);
                } else {
                    bValue = false;
                }
                if (*p == '[' && !nSquare++) ++nGroup;
                if (*p == ']' && nSquare) --nSquare;
                if (Is(*p, kSpace)) ++nGap;
                ++p;
                continue;
            }
            const char* w = p;
            const int nWordGroup = nSquare ? nGroup : 0;
            if (e - p >= 2 && Is(p[0], kHex) && Is(p[1], kHex) &&
                (e - p == 2 || Is(p[2], kSpace | kSeparator | kEquals))) {
                p += 2;
                const auto nByte = static_cast<unsigned char>(Nibble(w[0]) << 4 | Nibble(w[1]));
                m_words.push_back({w, p, nGap, false, bValue, nWordGroup, true, nByte});
                bValue = false;
                nGap = 0;
                if (p < e && *p == ' ') {  // the blank after a pair, as the loop's top would
                    nGap = 1;
                    ++p;
                }
                continue;
            }
            while (p < e && !Is(*p, kSpace | kSeparator | kEquals)) ++p;
            const char* we = p;
            bool bLabel = false;
            if (we[-1] == ':') {
                --we;
                bLabel = true;
            }
            if (we == w) {  // a lone ':' labels the word before it ("In :")
                if (!m_words.empty()) Label(m_words.size() - 1);
            } else {
                m_words.push_back({w, we, nGap, false, bValue, nWordGroup});
                if (bLabel) Label(m_words.size() - 1);
            }
            bValue = false;
            nGap = 0;
        }
        if (nGroup) MarkTags();
    }

    void Label(size_t i) {
        m_words[i].bLabel = true;
        m_nLastLabel = std::max(m_nLastLabel, i + 1);
    }

    // A group in square brackets with a word that is no byte is a tag
    // ("[FAB 12]"); one of bytes only is bytes ("[00 00|92 07]").
    void MarkTags() {
        for (size_t i = 0; i < m_words.size();) {
            const int nGroup = m_words[i].nGroup;
            size_t k = i + 1;
            while (k < m_words.size() && m_words[k].nGroup == nGroup) ++k;
            bool bTag = false;
            for (size_t j = i; j < k && nGroup && !bTag; ++j) {
                m_scratch.clear();
                bTag = !WordBytes(m_words[j].p, m_words[j].e, m_scratch);
            }
            for (size_t j = i; j < k && bTag; ++j) m_words[j].bNoBytes = true;
            i = k;
        }
    }

    // An offset column: a hex number equal to the bytes of the block so far,
    // ended by ':' or followed by narrower groups; or, once a dump has shown
    // offsets, a lone number closing it (od, hexdump -C).
    bool IsOffset() const {
        const SWord& w = m_words.front();
        int nDigits = 0;
        const long long v = HexValue(w.p, w.e, nDigits);
        if (m_eColumns == EHexColumns::kNoOffset || v < 0 || nDigits < 4) return false;
        if (m_eColumns == EHexColumns::kOffsetFirst) return m_words.size() > 1;
        const size_t nSoFar =
            m_bInBlock ? m_text.m_bytes.size() - m_text.m_blocks.back().m_nBegin : 0;
        if (static_cast<unsigned long long>(v) != nSoFar && !(w.bLabel && !m_bInBlock))
            return false;
        if (m_words.size() == 1) return m_bOffsets;
        if (w.bLabel) return true;
        int nNext = 0;
        return HexValue(m_words[1].p, m_words[1].e, nNext) >= 0 && nNext < nDigits;
    }

    void Words(const char* p, const char* e) {
        Split(p, e);
        if (m_words.empty()) return;
        size_t i = 0;
        if (IsOffset()) {
            m_bOffsets = true;
            m_pBytes = nullptr;
            TakeDumpColumns(1);
            return;
        }
        i = m_nLastLabel;
        // The bytes are the longest run of byte words after the last label;
        // tags, values of key=value, words and a second time stamp end a
        // run. More other words than bytes make the line a remark whose
        // numbers are not bytes ("Recv S1F2 len 12", tcpdump's "seq 1000").
        const size_t nWords = m_words.size() - i;  // after the label, if any
        size_t nBest = i, nBestEnd = i;
        for (size_t nRun = i; i <= m_words.size(); ++i) {
            if (i < m_words.size() && IsByteWord(m_words[i])) continue;
            if (i - nRun > nBestEnd - nBest) {
                nBest = nRun;
                nBestEnd = i;
            }
            nRun = i + 1;
        }
        const size_t nOthers = nWords - (nBestEnd - nBest);
        if (2 * nOthers > nWords) return;
        for (size_t k = nBest; k < nBestEnd; ++k) {
            const SWord& w = m_words[k];
            if (w.bPair)
                m_text.m_bytes.push_back(w.nByte);
            else
                WordBytes(w.p, w.e, m_text.m_bytes);
        }
        if (nBestEnd > nBest) m_pBytes = m_words[nBest].p;
    }

    bool IsByteWord(const SWord& w) {
        if (w.bNoBytes || w.bLabel) return false;
        if (w.bPair) return true;
        if (IsTimeOfDay(w.p, w.e)) return false;
        m_scratch.clear();
        return WordBytes(w.p, w.e, m_scratch);
    }

    // After an offset: the first run of groups only. A wide gap or a group
    // wider than the first is the ASCII column.
    void TakeDumpColumns(size_t i) {
        const long nWidth = i < m_words.size() ? m_words[i].e - m_words[i].p : 0;
        for (size_t k = i; k < m_words.size(); ++k) {
            const SWord& w = m_words[k];
            if ((k > i && w.nGap >= 3) || w.e - w.p > nWidth) return;
            if (!WordBytes(w.p, w.e, m_text.m_bytes)) return;
        }
    }

    CHexText& m_text;
    const char* m_pText;
    EHexColumns m_eColumns;
    std::vector<SWord> m_words;
    std::vector<unsigned char> m_scratch;
    size_t m_nLastLabel = 0;         // index + 1 of the last word that is a label, 0 for none
    const char* m_pBytes = nullptr;  // where the bytes of the line read last begin
    std::string_view m_strPendingLabel;
    std::string_view m_strPendingTime;
    bool m_bInBlock = false;
    bool m_bOffsets = false;
};

}  // namespace

CHexText ReadHexText(std::string_view text, bool bConverterRules, EHexColumns eColumns,
                     const FHexProgress& progress) {
    CHexText result;
    const bool bFast = bConverterRules && ReadPlainFast(text, result.m_bytes);
    if (bFast || (bConverterRules && IsPlain(text))) {
        result.m_bPlain = true;
        if (!bFast) result.m_bytes = HexTextToBytes(CleanHexLog(std::string(text)));
        if (!result.m_bytes.empty())
            result.m_blocks.push_back({0, result.m_bytes.size(), 1, 0, text.size(), {}, {}});
        return result;
    }
    result.m_bytes.clear();
    result.m_bytes.reserve(text.size() / 3);
    CLineReader reader(result, text.data(), eColumns);
    const char* p = text.data();
    const char* const pEnd = p + text.size();
    constexpr size_t kProgressStep = 4u << 20;
    // An offset, not a pointer: a pointer past the end of the text (or off a
    // null one, for an empty text) is undefined even unread.
    size_t nReport = kProgressStep;
    for (size_t nLine = 1; p < pEnd; ++nLine) {
        const auto nDone = static_cast<size_t>(p - text.data());
        if (progress && nDone >= nReport) {
            nReport = nDone + kProgressStep;
            if (!progress(nDone, text.size())) break;
        }
        const void* pNl = std::memchr(p, '\n', static_cast<size_t>(pEnd - p));
        const char* e = pNl ? static_cast<const char*>(pNl) : pEnd;
        reader.Line(p, e, nLine);
        p = e + 1;
    }
    return result;
}
