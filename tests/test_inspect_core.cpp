#include <gtest/gtest.h>

#include <set>

#include "TestHelpers.h"
#include "decode/HeaderFields.h"
#include "model/FormatTable.h"
#include "render/DiagnosticText.h"
#include "render/ExactValue.h"
#include "render/HeaderText.h"
#include "render/MessageNames.h"

namespace {

// "kind@offset" and, where counted, " declared/present", joined by "; ".
std::string DumpFindings(const CMsgInfo& msg) {
    static const char* const kKinds[] = {"end",     "style",     "header-only", "zero",
                                         "cut",     "len-cut",   "open",        "unknown",
                                         "partial", "non-final", "short"};
    std::string s;
    for (const SDiagnostic& d : msg.m_diagnostics) {
        if (!s.empty()) s += "; ";
        s += kKinds[static_cast<int>(d.eKind)];
        s += "@" + std::to_string(d.nOffset);
        if (d.nDeclared || d.nPresent)
            s += " " + std::to_string(d.nDeclared) + "/" + std::to_string(d.nPresent);
    }
    return s;
}

// "offset+length bytes declared/present" per cell.
std::string DumpByteMap(const CMsgInfo& msg) {
    std::string s;
    for (const SCellBytes& b : msg.m_cellBytes) {
        if (!s.empty()) s += ", ";
        s += std::to_string(b.nOffset) + "+" + std::to_string(b.nLengthBytes) + " " +
             std::to_string(b.nDeclared) + "/" + std::to_string(b.nPresent);
    }
    return s;
}

struct FindingCase {
    const char* name;
    const char* body;  // after the 10 header bytes
    const char* findings;
    const char* map;
    bool clean;
};

const FindingCase kFindingCases[] = {
    {"list of two", "01 02 A5 01 05 41 01 78", "end@18", "10+1 2/6, 12+1 1/1, 15+1 1/1", true},
    {"style byte that selects", "A5 01 07 30", "end@13; style@13 0/1", "10+1 1/1", true},
    {"style byte without effect", "A5 01 07 58", "end@13; style@13", "10+1 1/1", true},
    {"ASCII declaring 16777215 bytes, holding 3", "43 FF FF FF 61 62 63", "cut@10 16777215/3",
     "10+3 16777215/3", false},
    {"list declaring 3, holding 1", "01 03 A5 01 07", "open@15 3/1", "10+1 3/3, 12+1 1/1", false},
    {"nested lists left open", "01 02 01 02 A5 01 07", "open@17 2/0; open@17 2/1",
     "10+1 2/5, 12+1 2/3, 14+1 1/1", false},
    {"0x00 ends the body", "01 01 A5 01 07 00 31", "zero@15 0/1", "10+1 1/3, 12+1 1/1", false},
    {"empty list before 0x00", "01 00 00 A5 01 07", "zero@12 0/3", "10+1 0/0", false},
    {"unknown format skipped", "01 02 05 01 FF A5 01 07", "unknown@12 1/1; end@18",
     "10+1 2/6, 15+1 1/1", false},
    {"length bytes cut", "03 00 01", "len-cut@10 3/2; open@13 256/0", "10+2 256/0", false},
    {"U4 with two bytes too many", "B1 06 00 00 00 01 00 02", "partial@10 6/2; end@18", "10+1 6/6",
     false},
    {"empty body after a style byte", "31", "end@10; style@10 0/1", "", true},
    // A GEM peer's S1F14 and S2F42 end in an empty list: nothing is missing.
    {"empty list last in a list", "01 02 21 01 00 01 00", "end@17", "10+1 2/5, 12+1 1/1, 15+1 0/0",
     true},
    {"empty lists nested to the end", "01 01 01 01 01 00", "end@16", "10+1 1/4, 12+1 1/2, 14+1 0/0",
     true},
    // One byte left at an item boundary is the style byte, whatever it is.
    {"empty list, then a lone 0x00", "01 00 00", "end@12; style@12", "10+1 0/0", true},
};

TEST(InspectCore, FindingsAndByteMap) {
    for (const FindingCase& c : kFindingCases) {
        SCOPED_TRACE(c.name);
        const auto pMsg = DecodeBody(c.body);
        EXPECT_EQ(DumpFindings(*pMsg), c.findings);
        EXPECT_EQ(DumpByteMap(*pMsg), c.map);
        EXPECT_EQ(IsCleanMessage(*pMsg), c.clean);
    }
}

TEST(InspectCore, FileLevelFindings) {
    EXPECT_EQ(DumpFindings(*DecodeExact({})), "short@0 10/0");
    EXPECT_EQ(DumpFindings(*DecodeExact(BytesFromHex("00 01 86"))), "short@3 10/3");
    EXPECT_EQ(DumpFindings(*DecodeBody("")), "header-only@10");
    EXPECT_TRUE(IsCleanMessage(*DecodeBody("")));  // S1F1 and friends have no body
    auto block = BytesFromHex("00 01 86 0B 00 01 00 00 00 01");
    block.resize(254, 0xA5);
    EXPECT_EQ(DumpFindings(*DecodeExact(block)), "non-final@10 0/254");
}

// Every prefix of a message: the findings reach exactly to where the data
// ends, and no cell's bytes or skipped item overlap another's.
TEST(InspectCore, EveryPrefixNamesWhereTheDataEnds) {
    const auto bytes = BytesFromHex(
        "00 01 86 0B 80 01 00 00 00 2A 01 04 B1 04 00 00 00 01 05 01 FF 01 02 41 05 48 65 6C"
        "6C 6F 81 08 40 09 21 FB 54 44 2D 18 B1 06 00 00 00 01 00 02 30");
    for (std::size_t n = 0; n <= bytes.size(); ++n) {
        SCOPED_TRACE("prefix of " + std::to_string(n) + " bytes");
        const auto pMsg = DecodeExact({bytes.begin(), bytes.begin() + static_cast<long>(n)});
        std::uint64_t nEnd = 0;
        for (const SDiagnostic& d : pMsg->m_diagnostics)
            nEnd = std::max(nEnd, DiagnosticRange(d).nEnd);
        EXPECT_EQ(nEnd, n);
        ASSERT_EQ(pMsg->m_cellBytes.size(), pMsg->m_cells.size());
        std::set<std::uint64_t> seen;
        for (std::size_t i = 0; i < pMsg->m_cells.size(); ++i) {
            const SCellBytes& b = pMsg->m_cellBytes[i];
            EXPECT_EQ(pMsg->m_cells[i]->m_nIndex, static_cast<int>(i));
            const bool bList = pMsg->m_cells[i]->m_nFormat == kFormatList;
            const std::uint64_t nStop = DataStart(b) + (bList ? 0 : b.nPresent);
            EXPECT_LE(nStop, n);
            for (std::uint64_t k = b.nOffset; k < nStop; ++k) EXPECT_TRUE(seen.insert(k).second);
        }
    }
}

// L 10-11, U1 12-14, unknown 15-17 (skipped), A 18-20, then past the end.
TEST(InspectCore, CellAtOffset) {
    const auto pMsg = DecodeBody("01 03 A5 01 05 05 01 FF 41 01 78");
    const std::pair<std::uint64_t, int> kCases[] = {{3, -1}, {10, 0}, {11, 0}, {14, 1},
                                                    {16, 0}, {18, 2}, {20, 2}, {21, -1}};
    for (const auto& [nOffset, nCell] : kCases) EXPECT_EQ(CellAtOffset(*pMsg, nOffset), nCell);
}

// The bytes each finding is about: [begin, end) of the file.
TEST(InspectCore, FindingRanges) {
    struct Case {
        const char* name;
        const char* body;
        SByteRange range;  // of the first finding
    };
    const Case kCases[] = {
        {"0x00 and everything after it", "01 01 A5 01 07 00 31 32", {15, 18}},
        {"the cut item", "01 01 41 05 41 42", {12, 16}},
        {"the skipped item", "05 01 FF A5 01 07", {10, 13}},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        const auto pMsg = DecodeBody(c.body);
        const SByteRange r = DiagnosticRange(pMsg->m_diagnostics.at(0));
        EXPECT_EQ(r.nBegin, c.range.nBegin);
        EXPECT_EQ(r.nEnd, c.range.nEnd);
    }
}

TEST(InspectCore, CountsInFindingTexts) {
    const std::pair<std::uint32_t, const char*> kCases[] = {
        {0, "0x00 ends the body; 0 bytes after it ignored"},
        {1, "0x00 ends the body; 1 byte after it ignored"},
        {2, "0x00 ends the body; 2 bytes after it ignored"},
    };
    for (const auto& [nAfter, szText] : kCases) {
        SCOPED_TRACE(szText);
        EXPECT_EQ(DiagnosticText({EDiagnostic::kTerminator, 12, 0, 0, nAfter}), szText);
    }
}

// A big value shows its first whole elements and says how much that is.
TEST(InspectCore, ValuePreview) {
    const std::vector<unsigned char> bytes(70000, 0xAB);
    const std::string strBinary = ExactValuePreview(kFormatBinary, bytes.data(), 70000, 65536);
    const std::string strEnd = " 0xAB\n\nfirst 64 KiB of 68.3 KiB shown";
    EXPECT_EQ(strBinary.size(), 65536 * 5 - 1 + strEnd.size() - 5);
    EXPECT_EQ(strBinary.substr(strBinary.size() - strEnd.size()), strEnd);
    const std::string strU4 = ExactValuePreview(kFormatU4, bytes.data(), 12, 10);
    EXPECT_EQ(strU4, "2880154539 2880154539\n\nfirst 8 bytes of 12 bytes shown");
    EXPECT_EQ(ExactValuePreview(kFormatU4, bytes.data(), 8, 8), "2880154539 2880154539");
}

TEST(InspectCore, CheckLineNamesBothCounts) {
    const auto pMsg = DecodeBody("43 FF FF FF 61 62 63");
    ASSERT_EQ(pMsg->m_diagnostics.size(), 1u);
    EXPECT_EQ(DiagnosticLine("A.BIG", pMsg->m_diagnostics[0]),
              "A.BIG: offset 10 (0xA): data ends inside ASCII item: declares 16777215 data "
              "bytes, 3 present");
}

struct ExactCase {
    const char* name;
    int format;
    const char* data;
    const char* text;
};

const ExactCase kExactCases[] = {
    {"U8 above 2^53", kFormatU8, "FF FF FF FF FF FF FF FF", "18446744073709551615"},
    {"I8 most negative", kFormatI8, "80 00 00 00 00 00 00 00", "-9223372036854775808"},
    {"F4 0.1 shortest", kFormatF4, "3D CC CC CD", "0.1 (0x3DCCCCCD)"},
    {"F8 pi and negative zero", kFormatF8, "40 09 21 FB 54 44 2D 18 80 00 00 00 00 00 00 00",
     "3.141592653589793 (0x400921FB54442D18) -0 (0x8000000000000000)"},
    {"F4 infinity", kFormatF4, "7F 80 00 00", "inf (0x7F800000)"},
    {"U2 with a stray byte", kFormatU2, "01 02 FF", "258 (extra 0xFF)"},
    {"I2 negative", kFormatI2, "FF FE", "-2"},
    {"boolean other than 0 and 1", kFormatBoolean, "00 01 84", "false true true (0x84)"},
    {"binary", kFormatBinary, "00 A5", "0x00 0xA5"},
    {"ASCII with control bytes", kFormatAscii, "41 00 0D 0A 22 5C E9", R"("A\x00\r\n\"\\\xE9")"},
    {"JIS-8 edges", kFormatJis8, "5C 7E A1 DF A0 E0", "\"\u00A5\u203E\uFF61\uFF9F\\xA0\\xE0\""},
    {"list has no value", kFormatList, "", ""},
};

TEST(InspectCore, ExactValues) {
    for (const ExactCase& c : kExactCases) {
        SCOPED_TRACE(c.name);
        const auto data = BytesFromHex(c.data);
        EXPECT_EQ(ExactValueText(c.format, data.data(), data.size()), c.text);
    }
}

TEST(InspectCore, TextReadingsThroughIconv) {
    const auto sjis = BytesFromHex("83 41 5C FF");  // katakana A, backslash, invalid byte
    EXPECT_EQ(ExactValueText(kFormatAscii, sjis.data(), sjis.size(), ETextReading::kShiftJis),
              "\"\u30A2\\\\\\xFF\"");
    const auto gbk = BytesFromHex("C4 E3 BA C3");
    EXPECT_EQ(ExactValueText(kFormatAscii, gbk.data(), gbk.size(), ETextReading::kGbk),
              "\"\u4F60\u597D\"");
    const auto utf8 = BytesFromHex("C3 A9 0A");
    EXPECT_EQ(ExactValueText(kFormatAscii, utf8.data(), utf8.size(), ETextReading::kUtf8),
              "\"\u00E9\\n\"");
}

TEST(InspectCore, ExactValueOfADecodedCell) {
    const auto bytes = MessageBytes(6, 11, "01 01 A1 08 00 00 00 01 2A 05 F2 00");
    const auto pMsg = DecodeExact(bytes);
    ASSERT_EQ(pMsg->m_cells.size(), 2u);
    EXPECT_EQ(CellExactValue(*pMsg, *pMsg->m_cells[1], bytes.data(), bytes.size()), "5000000000");
    EXPECT_EQ(CellExactValue(*pMsg, *pMsg->m_cells[1], bytes.data(), 12), "");
}

TEST(InspectCore, HeaderInBothReadings) {
    const auto bytes = BytesFromHex("80 02 86 0B 00 05 00 00 00 2A 30");
    const SHeaderFields h = ReadHeaderFields(bytes.data(), bytes.size());
    const std::string strText =
        FieldLinesText(HeaderFieldLines(h, DecodeExact(bytes)->m_diagnostics, 11));
    for (const char* szLine :
         {"stream: 6\n", "function: 11\nname: Event Report Send (ERS)\n", "r-bit: 1\n",
          "device id: 2\n", "block number: 5\n", "system bytes: 0x0000002A\n",
          "hsms session id: 0x8002\n", "hsms ptype: 0\n", "hsms stype: 5 (Linktest.req)\n",
          "style byte: 0x30 \"0\" bracket style at offset 10 (0xA)\n"})
        EXPECT_NE(strText.find(szLine), std::string::npos) << szLine;
}

TEST(InspectCore, NamesTableIsSortedUniqueAndWellFormed) {
    int nCount = 0;
    const SMessageName* pNames = AllMessageNames(&nCount);
    EXPECT_GE(nCount, 100);
    for (int i = 0; i < nCount; ++i) {
        const SMessageName& m = pNames[i];
        SCOPED_TRACE("S" + std::to_string(m.nStream) + "F" + std::to_string(m.nFunction));
        EXPECT_NE(std::set<int>({1, 2, 5, 6, 7, 9, 10}).count(m.nStream), 0u);
        EXPECT_GE(m.nFunction, 1);
        EXPECT_LE(m.nFunction, 255);
        EXPECT_NE(*m.szName, '\0');
        for (const char* p = m.szMnemonic; *p; ++p) EXPECT_TRUE(*p >= 'A' && *p <= 'Z');
        if (i > 0) {
            const SMessageName& prev = pNames[i - 1];
            EXPECT_LT(prev.nStream * 256 + prev.nFunction, m.nStream * 256 + m.nFunction);
        }
        EXPECT_EQ(FindMessageName(m.nStream, m.nFunction), &m);
    }
    EXPECT_EQ(FindMessageName(6, 99), nullptr);
    EXPECT_EQ(MessageNameText(1, 13), "Establish Communications Request (CR)");
}

}  // namespace
