#include "io/SmlReader.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <limits>

#include "model/FormatTable.h"
#include "model/Jis0201.h"

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}
bool IsWordChar(char c) {
    return !IsSpace(c) && c != '<' && c != '>' && c != '"' && c != '\'' && c != '[' && c != ']' &&
           c != '\0';
}

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Upper(a[i]) != Upper(b[i])) return false;
    }
    return true;
}

// SML names of the formats; BOOL and Boolean are what some tools write.
struct SSmlFormatName {
    std::string_view szName;
    int nFormat;
};
constexpr SSmlFormatName kFormatNames[] = {
    {"L", kFormatList},       {"B", kFormatBinary}, {"BOOLEAN", kFormatBoolean},
    {"BOOL", kFormatBoolean}, {"A", kFormatAscii},  {"J", kFormatJis8},
    {"I8", kFormatI8},        {"I1", kFormatI1},    {"I2", kFormatI2},
    {"I4", kFormatI4},        {"F8", kFormatF8},    {"F4", kFormatF4},
    {"U8", kFormatU8},        {"U1", kFormatU1},    {"U2", kFormatU2},
    {"U4", kFormatU4},
};

// Scans the text: position, blanks and comments. Line and column are
// counted only when asked, for an error: a message read well never needs them.
class CSmlScanner {
public:
    explicit CSmlScanner(std::string_view strText) : m_str(strText) {}

    char Peek(std::size_t n = 0) const {
        return m_nPos + n < m_str.size() ? m_str[m_nPos + n] : '\0';
    }
    bool AtEnd(std::size_t n = 0) const { return m_nPos + n >= m_str.size(); }
    void Advance() { ++m_nPos; }
    // Skips blanks and comments; false for a "/*" without its "*/".
    bool SkipSpace() {
        for (;;) {
            while (!AtEnd() && IsSpace(Peek())) Advance();
            if (Peek() == '/' && Peek(1) == '/') {
                while (!AtEnd() && Peek() != '\n') Advance();
            } else if (Peek() == '/' && Peek(1) == '*') {
                Advance();
                Advance();
                while (!AtEnd() && !(Peek() == '*' && Peek(1) == '/')) Advance();
                if (AtEnd()) return false;
                Advance();
                Advance();
            } else {
                return true;
            }
        }
    }
    // A view into the text read.
    std::string_view Word() {
        const std::size_t nStart = m_nPos;
        while (!AtEnd() && IsWordChar(Peek())) Advance();
        return m_str.substr(nStart, m_nPos - nStart);
    }
    std::size_t Pos() const { return m_nPos; }
    // Line and column (from 1, columns in bytes) of a position.
    void LineColumn(std::size_t nPos, int& nLine, int& nColumn) const {
        nLine = 1;
        std::size_t nLineStart = 0;
        for (std::size_t i = 0; i < nPos && i < m_str.size(); ++i) {
            if (m_str[i] == '\n') {
                ++nLine;
                nLineStart = i + 1;
            }
        }
        nColumn = static_cast<int>(nPos - nLineStart) + 1;
    }

private:
    std::string_view m_str;
    std::size_t m_nPos = 0;
};

// Writes items; a list's header is a 4-byte hole until the list closes, and
// the holes' unused bytes are squeezed out once at the end.
class CItemWriter {
public:
    std::size_t OpenList() {
        m_holes.push_back({m_body.size(), 0});
        m_body.resize(m_body.size() + 4);
        return m_holes.size() - 1;
    }
    bool CloseList(std::size_t nHole, std::size_t nItems) {
        unsigned char header[4];
        const int n = Header(kFormatList, nItems, header);
        if (n == 0) return false;
        std::memcpy(&m_body[m_holes[nHole].nOffset], header, static_cast<std::size_t>(n));
        m_holes[nHole].nUsed = static_cast<std::size_t>(n);
        return true;
    }
    bool Data(int nFormat, const std::vector<unsigned char>& data) {
        unsigned char header[4];
        const int n = Header(nFormat, data.size(), header);
        if (n == 0) return false;
        m_body.insert(m_body.end(), header, header + n);
        m_body.insert(m_body.end(), data.begin(), data.end());
        return true;
    }
    std::vector<unsigned char> Take() {
        std::vector<unsigned char> out;
        out.reserve(m_body.size());
        std::size_t nFrom = 0;
        for (const SHole& h : m_holes) {
            out.insert(out.end(), m_body.begin() + static_cast<std::ptrdiff_t>(nFrom),
                       m_body.begin() + static_cast<std::ptrdiff_t>(h.nOffset + h.nUsed));
            nFrom = h.nOffset + 4;
        }
        out.insert(out.end(), m_body.begin() + static_cast<std::ptrdiff_t>(nFrom), m_body.end());
        m_body.clear();
        m_holes.clear();
        return out;
    }

private:
    // Format byte and the fewest length bytes (at least one); 0 when the
    // length does not fit in three bytes.
    static int Header(int nFormat, std::size_t nLength, unsigned char* p) {
        if (nLength > 0xFFFFFF) return 0;
        const int nLengthBytes = nLength > 0xFFFF ? 3 : nLength > 0xFF ? 2 : 1;
        const int nNumber = (nFormat / 10) * 8 + nFormat % 10;  // two octal digits
        p[0] = static_cast<unsigned char>((nNumber << 2) | nLengthBytes);
        for (int i = 0; i < nLengthBytes; ++i)
            p[1 + i] = static_cast<unsigned char>(nLength >> (8 * (nLengthBytes - 1 - i)));
        return 1 + nLengthBytes;
    }

    struct SHole {
        std::size_t nOffset;
        std::size_t nUsed;
    };
    std::vector<unsigned char> m_body;
    std::vector<SHole> m_holes;
};

bool ParseInteger(std::string_view str, bool& bNegative, unsigned long long& nMagnitude);

struct SOpenList {
    std::size_t nHole;
    std::size_t nItems;
    long long nDeclared;  // -1: no count in brackets
    std::size_t nPos;     // of the count, for its error
};

class CSmlParser {
public:
    CSmlParser(std::string_view strText, SSmlError& error) : m_scan(strText), m_error(error) {}

    bool Run(std::vector<SSmlMessage>& messages) {
        for (;;) {
            if (!Skip()) return false;
            if (m_scan.AtEnd()) return true;
            SSmlMessage msg;
            if (!Header(msg) || !Items(msg)) return false;
            messages.push_back(std::move(msg));
        }
    }

private:
    bool Fail(const std::string& strText) {
        m_error.strText = strText;
        return FailAt(m_scan.Pos());
    }
    // A word that was read and found wrong is named where it starts.
    bool FailAt(std::size_t nPos) {
        m_scan.LineColumn(nPos, m_error.nLine, m_error.nColumn);
        return false;
    }
    bool Skip() { return m_scan.SkipSpace() || Fail("expected \"*/\""); }

    // [NAME:] ['|"]SnFm['|"] [W]
    bool Header(SSmlMessage& msg) {
        const char cQuote = m_scan.Peek() == '\'' || m_scan.Peek() == '"' ? m_scan.Peek() : 0;
        const std::size_t nPos = m_scan.Pos();
        if (!cQuote) {
            std::string_view strWord = m_scan.Word();
            const std::size_t nColon = strWord.find(':');  // secs4net's "Name:'S1F1'"
            if (nColon != std::string_view::npos) strWord.remove_prefix(nColon + 1);
            if (!strWord.empty())
                return (StreamFunction(strWord, msg) || FailAt(nPos)) && Wait(msg);
        }
        const char cOpen = m_scan.Peek() == '\'' || m_scan.Peek() == '"' ? m_scan.Peek() : 0;
        if (cOpen) m_scan.Advance();
        if (!StreamFunction(m_scan.Word(), msg)) return false;
        if (cOpen) {
            if (m_scan.Peek() != cOpen) return Fail(std::string("expected ") + cOpen);
            m_scan.Advance();
        }
        return Wait(msg);
    }

    bool StreamFunction(std::string_view strWord, SSmlMessage& msg) {
        const char* kExpected = "expected a message header such as \"S1F1\"";
        std::size_t nF = strWord.find_first_of("fF");
        if (strWord.size() < 4 || Upper(strWord[0]) != 'S' || nF == std::string_view::npos)
            return Fail(kExpected);
        const char* p = strWord.data();
        const auto rs = std::from_chars(p + 1, p + nF, msg.nStream);
        const auto rf = std::from_chars(p + nF + 1, p + strWord.size(), msg.nFunction);
        if (rs.ptr != p + nF || rf.ptr != p + strWord.size() || rs.ec != std::errc() ||
            rf.ec != std::errc())
            return Fail(kExpected);
        if (msg.nStream < 0 || msg.nStream > 127) return Fail("expected a stream from 0 to 127");
        if (msg.nFunction < 0 || msg.nFunction > 255)
            return Fail("expected a function from 0 to 255");
        return true;
    }

    bool Wait(SSmlMessage& msg) {
        if (!Skip()) return false;
        if (Upper(m_scan.Peek()) == 'W' && !IsWordChar(m_scan.Peek(1))) {
            m_scan.Advance();
            msg.bWait = true;
        }
        return Attributes(msg);
    }

    // device=N and system=N after the header, in any order.
    bool Attributes(SSmlMessage& msg) {
        struct SAttribute {
            const char* szName;
            unsigned long long nMax;
            const char* szExpected;
        };
        static constexpr SAttribute kAttributes[] = {
            {"DEVICE=", 32767, "expected a device id from 0 to 32767"},
            {"SYSTEM=", 0xFFFFFFFF, "expected system bytes from 0 to 4294967295"},
        };
        for (;;) {
            if (!Skip()) return false;
            const SAttribute* pFound = nullptr;
            for (const SAttribute& a : kAttributes) {
                std::size_t i = 0;
                while (a.szName[i] && Upper(m_scan.Peek(i)) == a.szName[i]) ++i;
                if (!a.szName[i]) pFound = &a;
            }
            if (!pFound) return true;
            for (std::size_t i = 0; pFound->szName[i]; ++i) m_scan.Advance();
            const std::size_t nPos = m_scan.Pos();
            const std::string_view strWord = m_scan.Word();
            bool bNegative = false;
            unsigned long long n = 0;
            if (!ParseInteger(strWord, bNegative, n) || bNegative || n > pFound->nMax)
                return Fail(pFound->szExpected) || FailAt(nPos);
            if (pFound == kAttributes)
                msg.nDevice = static_cast<int>(n);
            else
                msg.nSystem = static_cast<long long>(n);
        }
    }

    // Items up to "." or the end of the text.
    bool Items(SSmlMessage& msg) {
        CItemWriter writer;
        std::vector<SOpenList> open;
        for (;;) {
            if (!Skip()) return false;
            if (!open.empty()) {
                if (m_scan.Peek() == '>') {
                    if (!CloseList(writer, open)) return false;
                    continue;
                }
                if (m_scan.Peek() != '<') return Fail("expected \"<\" or \">\"");
            } else if (m_scan.AtEnd() || m_scan.Peek() == '.') {
                if (!m_scan.AtEnd()) m_scan.Advance();
                msg.body = writer.Take();
                return true;
            } else if (m_scan.Peek() != '<') {
                return Fail("expected \"<\" or \".\"");
            }
            if (!Item(writer, open)) return false;
        }
    }

    bool CloseList(CItemWriter& writer, std::vector<SOpenList>& open) {
        const SOpenList list = open.back();
        if (list.nDeclared >= 0 && static_cast<std::size_t>(list.nDeclared) != list.nItems) {
            m_error.strText = "expected " + std::to_string(list.nDeclared) + " items, found " +
                              std::to_string(list.nItems);
            return FailAt(list.nPos);
        }
        if (!writer.CloseList(list.nHole, list.nItems)) return Fail("list too long");
        m_scan.Advance();
        open.pop_back();
        if (!open.empty()) ++open.back().nItems;
        return true;
    }

    // "<" FORMAT ["[" n "]"] values ">"; a list stays open on the stack.
    bool Item(CItemWriter& writer, std::vector<SOpenList>& open) {
        m_scan.Advance();
        if (!Skip()) return false;
        const std::string_view strName = m_scan.Word();
        int nFormat = -1;
        for (const SSmlFormatName& f : kFormatNames) {
            if (SameText(strName, f.szName)) {
                nFormat = f.nFormat;
                break;
            }
        }
        if (nFormat < 0) return Fail("expected a format name such as \"L\" or \"U4\"");
        if (!Skip()) return false;
        SOpenList list{0, 0, -1, m_scan.Pos()};
        if (m_scan.Peek() == '[' && !Count(list.nDeclared)) return false;
        if (nFormat == kFormatList) {
            list.nHole = writer.OpenList();
            open.push_back(list);
            return true;
        }
        std::vector<unsigned char>& data = m_data;  // kept: no allocation per item
        data.clear();
        std::size_t nValues = 0;
        if (!Values(nFormat, list.nDeclared, data, nValues)) return false;
        // Dialects count text in characters or in bytes: only other counts are checked.
        const bool bText = nFormat == kFormatAscii || nFormat == kFormatJis8;
        if (!bText && list.nDeclared >= 0 && static_cast<std::size_t>(list.nDeclared) != nValues) {
            m_error.strText = "expected " + std::to_string(list.nDeclared) + " values, found " +
                              std::to_string(nValues);
            return FailAt(list.nPos);
        }
        if (!writer.Data(nFormat, data)) return Fail("item too long");
        m_scan.Advance();  // the '>'
        if (!open.empty()) ++open.back().nItems;
        return true;
    }

    bool Count(long long& nCount) {
        m_scan.Advance();
        if (!Skip()) return false;
        const std::string_view strWord = m_scan.Word();
        const auto res = std::from_chars(strWord.data(), strWord.data() + strWord.size(), nCount);
        if (strWord.empty() || res.ptr != strWord.data() + strWord.size() || nCount < 0)
            return Fail("expected a count");
        if (!Skip()) return false;
        if (m_scan.Peek() != ']') return Fail("expected \"]\"");
        m_scan.Advance();
        return Skip();
    }

    // Values up to the closing '>', which is left for the caller.
    bool Values(int nFormat, long long nDeclared, std::vector<unsigned char>& data,
                std::size_t& nValues) {
        for (;;) {
            if (!Skip()) return false;
            const char c = m_scan.Peek();
            if (c == '>') return true;
            if (m_scan.AtEnd()) return Fail("expected \">\"");
            if ((c == '"' || c == '\'') && (nFormat == kFormatAscii || nFormat == kFormatJis8)) {
                if (!Quoted(nFormat, data.empty() ? nDeclared : -1, data, nValues)) return false;
                continue;
            }
            if (c == '<') return Fail("expected \">\"");
            const std::size_t nPos = m_scan.Pos();
            const std::string_view strWord = m_scan.Word();
            if (strWord.empty()) return Fail("expected \">\"");
            if (!Value(nFormat, strWord, data)) return FailAt(nPos);
            ++nValues;
        }
    }

    // A text in quotes. Some libraries write a quote inside a text as it
    // is, so a quote ends the text only where that is certain: after as
    // many bytes as the item's count says, when a quote and ">" follow
    // there; otherwise where it stands before ">" or before what can follow
    // a text (blanks, then ">", another text or a byte value).
    bool Quoted(int nFormat, long long nCount, std::vector<unsigned char>& data,
                std::size_t& nValues) {
        const char cQuote = m_scan.Peek();
        m_scan.Advance();
        const bool bJis = nFormat == kFormatJis8;
        if (nCount >= 0 && CountEndsText(static_cast<std::size_t>(nCount), cQuote, bJis)) {
            for (long long i = 0; i < nCount; ++i, ++nValues) TakeCharacter(bJis, data);
            m_scan.Advance();
            return true;
        }
        for (;;) {
            if (m_scan.AtEnd()) return Fail(std::string("expected ") + cQuote);
            if (m_scan.Peek() == cQuote && QuoteEndsText(1)) break;
            TakeCharacter(bJis, data);
            ++nValues;
        }
        m_scan.Advance();
        return true;
    }

    // The JIS X 0201 byte a J text means by the UTF-8 character at offset n,
    // with the character's length in bytes; 0 where there is none, and
    // the byte there stands for itself.
    std::size_t JisCharacter(std::size_t n, unsigned char& b) const {
        const auto c0 = static_cast<unsigned char>(m_scan.Peek(n));
        const auto c1 = static_cast<unsigned char>(m_scan.Peek(n + 1));
        const auto c2 = static_cast<unsigned char>(m_scan.Peek(n + 2));
        char32_t c = 0;
        std::size_t nLength = 0;
        if ((c0 & 0xE0) == 0xC0 && (c1 & 0xC0) == 0x80) {
            c = (char32_t(c0 & 0x1F) << 6) | (c1 & 0x3F);
            nLength = 2;
        } else if ((c0 & 0xF0) == 0xE0 && (c1 & 0xC0) == 0x80 && (c2 & 0xC0) == 0x80) {
            c = (char32_t(c0 & 0x0F) << 12) | (char32_t(c1 & 0x3F) << 6) | (c2 & 0x3F);
            nLength = 3;
        }
        const int nByte = c >= 0x80 ? UnicodeToJis0201(c) : -1;
        if (nByte < 0) return 0;
        b = static_cast<unsigned char>(nByte);
        return nLength;
    }

    void TakeCharacter(bool bJis, std::vector<unsigned char>& data) {
        unsigned char b = static_cast<unsigned char>(m_scan.Peek());
        const std::size_t nLength = bJis ? JisCharacter(0, b) : 0;
        data.push_back(b);
        for (std::size_t i = 0; i < std::max<std::size_t>(nLength, 1); ++i) m_scan.Advance();
    }

    // Whether nCount characters on, the quote and then ">" stand.
    bool CountEndsText(std::size_t nCount, char cQuote, bool bJis) const {
        std::size_t n = 0;
        unsigned char b = 0;
        for (std::size_t i = 0; i < nCount; ++i) {
            if (m_scan.AtEnd(n)) return false;
            const std::size_t nLength = bJis ? JisCharacter(n, b) : 0;
            n += nLength ? nLength : 1;
        }
        if (m_scan.Peek(n) != cQuote) return false;
        ++n;
        while (IsSpace(m_scan.Peek(n))) ++n;
        return m_scan.Peek(n) == '>';
    }

    // Whether the quote just before offset n ends the text: what follows it
    // must be able to follow a text.
    bool QuoteEndsText(std::size_t n) const {
        const char c = m_scan.Peek(n);
        if (c == '>' || m_scan.AtEnd(n)) return true;
        if (!IsSpace(c)) return false;
        while (IsSpace(m_scan.Peek(n))) ++n;
        const char cNext = m_scan.Peek(n);
        if (cNext == '>' || m_scan.AtEnd(n) || cNext == '/') return true;
        if (cNext == '"' || cNext == '\'') return m_scan.Peek(n + 1) != '>';
        std::string strWord;  // only where a quote stands inside a text
        while (IsWordChar(m_scan.Peek(n))) strWord += m_scan.Peek(n++);
        bool bNegative = false;
        unsigned long long nValue = 0;
        return ParseInteger(strWord, bNegative, nValue) && !bNegative && nValue <= 0xFF;
    }

    bool Value(int nFormat, std::string_view strWord, std::vector<unsigned char>& data);

    CSmlScanner m_scan;
    SSmlError& m_error;
    std::vector<unsigned char> m_data;
};

// Integer text: decimal with an optional sign, or 0x hex / 0b binary.
bool ParseInteger(std::string_view str, bool& bNegative, unsigned long long& nMagnitude) {
    std::size_t i = 0;
    bNegative = false;
    if (i < str.size() && (str[i] == '+' || str[i] == '-')) bNegative = str[i++] == '-';
    int nBase = 10;
    if (i + 1 < str.size() && str[i] == '0' && (str[i + 1] == 'x' || str[i + 1] == 'X')) {
        nBase = 16;
        i += 2;
    } else if (i + 1 < str.size() && str[i] == '0' && (str[i + 1] == 'b' || str[i + 1] == 'B')) {
        nBase = 2;
        i += 2;
    }
    const char* pEnd = str.data() + str.size();
    const auto res = std::from_chars(str.data() + i, pEnd, nMagnitude, nBase);
    return i < str.size() && res.ec == std::errc() && res.ptr == pEnd;
}

struct SIntRange {
    int nFormat;
    int nWidth;
    long long nMin;
    unsigned long long nMax;
    const char* szExpected;
};
constexpr SIntRange kIntRanges[] = {
    {kFormatBinary, 1, 0, 0xFF, "expected a byte value from 0 to 255"},
    {kFormatBoolean, 1, 0, 0xFF, "expected TRUE, FALSE or a byte value"},
    {kFormatAscii, 1, 0, 0xFF, "expected a quoted text or a byte value"},
    {kFormatJis8, 1, 0, 0xFF, "expected a quoted text or a byte value"},
    {kFormatI1, 1, -128, 127, "expected an integer from -128 to 127"},
    {kFormatI2, 2, -32768, 32767, "expected an integer from -32768 to 32767"},
    {kFormatI4, 4, -2147483648LL, 2147483647, "expected an integer from -2147483648 to 2147483647"},
    {kFormatI8, 8, std::numeric_limits<long long>::min(), 0x7FFFFFFFFFFFFFFF,
     "expected an integer from -9223372036854775808 to 9223372036854775807"},
    {kFormatU1, 1, 0, 0xFF, "expected an integer from 0 to 255"},
    {kFormatU2, 2, 0, 0xFFFF, "expected an integer from 0 to 65535"},
    {kFormatU4, 4, 0, 0xFFFFFFFF, "expected an integer from 0 to 4294967295"},
    {kFormatU8, 8, 0, 0xFFFFFFFFFFFFFFFF, "expected an integer from 0 to 18446744073709551615"},
};

void PutBigEndian(std::vector<unsigned char>& data, unsigned long long v, int nWidth) {
    for (int i = nWidth - 1; i >= 0; --i) data.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

// "nan(0xF)" with an optional sign: the NaN whose fraction bits are F, as
// the writer keeps a NaN that "nan" would not bring back.
bool ParseNaNBits(std::string_view str, int nWidth, std::vector<unsigned char>& data) {
    const bool bMinus = str[0] == '-';
    const std::size_t nStart = str[0] == '-' || str[0] == '+' ? 1 : 0;
    if (str.size() < nStart + 6 || !SameText(str.substr(nStart, 4), "NAN(") || str.back() != ')')
        return false;
    bool bNegative = false;
    unsigned long long nFraction = 0;
    if (!ParseInteger(str.substr(nStart + 4, str.size() - nStart - 5), bNegative, nFraction))
        return false;
    const int nFractionBits = nWidth == 4 ? 23 : 52;
    if (bNegative || nFraction == 0 || nFraction >> nFractionBits) return false;
    const unsigned long long nExponent = (nWidth == 4 ? 0xFFull : 0x7FFull) << nFractionBits;
    const unsigned long long nSign = bMinus ? 1ull << (8 * nWidth - 1) : 0;
    PutBigEndian(data, nSign | nExponent | nFraction, nWidth);
    return true;
}

// Floats as std::from_chars reads them (never the locale), with the names
// the dialects give the non-finite values.
bool ParseFloat(std::string_view strWord, int nFormat, std::vector<unsigned char>& data) {
    if (strWord.find('(') != std::string_view::npos)
        return ParseNaNBits(strWord, nFormat == kFormatF4 ? 4 : 8, data);
    std::string_view str = strWord;
    if (!str.empty() && str[0] == '+') str.remove_prefix(1);
    const char* p = str.data();
    const char* pEnd = p + str.size();
    if (nFormat == kFormatF4) {
        float f = 0;
        const auto res = std::from_chars(p, pEnd, f);
        if (str.empty() || res.ec != std::errc() || res.ptr != pEnd) return false;
        std::uint32_t bits;
        std::memcpy(&bits, &f, sizeof bits);
        PutBigEndian(data, bits, 4);
        return true;
    }
    double v = 0;
    const auto res = std::from_chars(p, pEnd, v);
    if (str.empty() || res.ec != std::errc() || res.ptr != pEnd) return false;
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    PutBigEndian(data, bits, 8);
    return true;
}

bool CSmlParser::Value(int nFormat, std::string_view strWord, std::vector<unsigned char>& data) {
    if (nFormat == kFormatF4 || nFormat == kFormatF8) {
        return ParseFloat(strWord, nFormat, data) ||
               Fail(nFormat == kFormatF4 ? "expected a number that fits an F4"
                                         : "expected a number that fits an F8");
    }
    if (nFormat == kFormatBoolean) {
        for (const char* szTrue : {"TRUE", "T", "YES"}) {
            if (SameText(strWord, szTrue)) return data.push_back(1), true;
        }
        for (const char* szFalse : {"FALSE", "F", "NO"}) {
            if (SameText(strWord, szFalse)) return data.push_back(0), true;
        }
    }
    const SIntRange* pRange = nullptr;
    for (const SIntRange& r : kIntRanges) {
        if (r.nFormat == nFormat) pRange = &r;
    }
    bool bNegative = false;
    unsigned long long nMagnitude = 0;
    if (!pRange) return Fail("expected \">\"");
    if (!ParseInteger(strWord, bNegative, nMagnitude)) return Fail(pRange->szExpected);
    const unsigned long long nMinMagnitude =
        pRange->nMin < 0 ? 0ULL - static_cast<unsigned long long>(pRange->nMin) : 0;
    if (bNegative ? nMagnitude > nMinMagnitude : nMagnitude > pRange->nMax)
        return Fail(pRange->szExpected);
    PutBigEndian(data, bNegative ? 0ULL - nMagnitude : nMagnitude, pRange->nWidth);
    return true;
}

}  // namespace

bool ReadSml(std::string_view strText, std::vector<SSmlMessage>& messages, SSmlError& error) {
    messages.clear();
    error = SSmlError();
    if (CSmlParser(strText, error).Run(messages)) return true;
    messages.clear();
    return false;
}

std::vector<unsigned char> SmlMessageFile(const SSmlMessage& msg, std::uint32_t nCountedSystem) {
    const std::uint32_t nSystemBytes =
        msg.nSystem >= 0 ? static_cast<std::uint32_t>(msg.nSystem) : nCountedSystem;
    std::vector<unsigned char> file = {
        static_cast<unsigned char>(msg.nDevice >> 8),
        static_cast<unsigned char>(msg.nDevice),
        static_cast<unsigned char>((msg.bWait ? 0x80 : 0x00) | msg.nStream),
        static_cast<unsigned char>(msg.nFunction),
        0x80,
        0x01,
        static_cast<unsigned char>(nSystemBytes >> 24),
        static_cast<unsigned char>(nSystemBytes >> 16),
        static_cast<unsigned char>(nSystemBytes >> 8),
        static_cast<unsigned char>(nSystemBytes),
    };
    file.insert(file.end(), msg.body.begin(), msg.body.end());
    return file;
}
