#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>

#include "TestHelpers.h"
#include "model/MsgMgr.h"
#include "render/CellText.h"
#include "render/FormatText.h"
#include "render/NumberText.h"

namespace {

std::string CellText(const CMsgCell& cell, int nStyle) {
    std::string str;
    AppendCellText(str, cell, nStyle);
    return str;
}

// The single item of a one-item script.
const CMsgCell& Only(const std::unique_ptr<CMsgInfo>& pMsg) { return *pMsg->m_cells.front(); }

const ItemTextCase kCellCases[] = {
    {"U4 5", "U4(5)", "<U4[1/1] 5>", "UINT4 ,    1, <5>"},
    {"U4 max", "U4(4294967295)", "<U4[1/1] 4294967295>", "UINT4 ,    1, <4294967295>"},
    {"I1 two values", "I1(-5 7)", "<I1[2/1] -5 7>", "INT1  ,    2, <-5 7>"},
    {"I1 limits", "I1(-128 127)", "<I1[2/1] -128 127>", "INT1  ,    2, <-128 127>"},
    {"I2 limits", "I2(-32768 32767)", "<I2[2/1] -32768 32767>", "INT2  ,    2, <-32768 32767>"},
    {"I4 limits", "I4(-2147483648 2147483647)", "<I4[2/1] -2147483648 2147483647>",
     "INT4  ,    2, <-2147483648 2147483647>"},
    {"I8 small", "I8(-2)", "<I8[1/1] -2>", "INT8  ,    1, <-2>"},
    {"I8 all 64 bits", "I8(-9223372036854775808 9223372036854775807)",
     "<I8[2/1] -9223372036854775808 9223372036854775807>",
     "INT8  ,    2, <-9223372036854775808 9223372036854775807>"},
    {"U1 and U2 unsigned", "U2(65535 0)", "<U2[2/1] 65535 0>", "UINT2 ,    2, <65535 0>"},
    {"U1 255", "U1(255)", "<U1[1/1] 255>", "UINT1 ,    1, <255>"},
    {"F8 negative", "F8(-0.25)", "<F8[1/1] -0.250000>", "FLOAT8,    1, <-0.250000>"},
    {"F4 widened", "F4(1.5)", "<F4[1/1] 1.500000>", "FLOAT4,    1, <1.500000>"},
    {"F8 large keeps every digit", "F8(1e20)", "<F8[1/1] 100000000000000000000.000000>",
     "FLOAT8,    1, <100000000000000000000.000000>"},
    {"U8 small", "U8(7)", "<U8[1/1] 7>", "UINT8 ,    1, <7>"},
    {"U8 three-digit exponent", "U8(123456789)", "<U8[1/1] 1.23457E+008>",
     "UINT8 ,    1, <1.23457E+008>"},
    {"U8 largest", "U8(18446744073709551615)", "<U8[1/1] 1.84467E+019>",
     "UINT8 ,    1, <1.84467E+019>"},
    {"U8 negative exponent", "U8(0.00001)", "<U8[1/1] 1E-005>", "UINT8 ,    1, <1E-005>"},
    {"U8 exponent of three digits already", "U8(1e300)", "<U8[1/1] 1E+300>",
     "UINT8 ,    1, <1E+300>"},
    {"U8 six digits stay plain", "U8(999999)", "<U8[1/1] 999999>", "UINT8 ,    1, <999999>"},
    {"binary", "B(01 02 03)", "<B[3/1] 0x01 0x02 0x03>", "BINARY,    3, <0x01 0x02 0x03>"},
    {"binary upper-case digits", "B(AB FF)", "<B[2/1] 0xAB 0xFF>", "BINARY,    2, <0xAB 0xFF>"},
    {"boolean true", "BOOL(1)", "<BOOL  [1/1] 0x01>", "BOOL  ,    1, <TRUE>"},
    {"boolean false", "BOOL(0)", "<BOOL  [1/1] 0x00>", "BOOL  ,    1, <FALSE>"},
    {"boolean any non-zero is true", "BOOL(255 0)", "<BOOL  [2/1] 0x01 0x00>",
     "BOOL  ,    2, <T F>"},
    {"boolean three", "BOOL(1 0 1)", "<BOOL  [3/1] 0x01 0x00 0x01>", "BOOL  ,    3, <T F T>"},
    {"JIS-8 with control byte", "J(41 0A 42)", "<J[3/1] A\\x00AB>", "J,    3, A\\x00AB"},
    {"JIS-8 DEL and high bytes", "J(7F 80 FF)", "<J[3/1] \\x07F\\x080\\x0FF>",
     "J,    3, \\x07F\\x080\\x0FF"},
    {"JIS-8 trailing blank trimmed", "J(41 20)", "<J[2/1] A>", "J,    2, A"},
    {"JIS-8 blank inside kept", "J(41 20 42)", "<J[3/1] A B>", "J,    3, A B"},
    {"ASCII", "A(EV)", "<A[2/1] 'EV'>", "ASCII ,    2, <EV>"},
    {"ASCII percent signs are data", "A(100% %d %s %n)", "<A[13/1] '100% %d %s %n'>",
     "ASCII ,   13, <100% %d %s %n>"},
    {"ASCII blank padding", "A(AB  )", "<A[4/1] 'AB  '>", "ASCII ,    4, <AB  >"},
    {"ASCII only blanks", "A(   )", "<A[3/1] '   '>", "ASCII ,    3, <   >"},
    {"empty U4", "U4()", "<U4[0/1]>", "UINT4 ,    0, <>"},
    {"empty binary", "B()", "<B[0/1]>", "BINARY,    0, <>"},
    {"empty boolean", "BOOL()", "<BOOL  [0/1]>", "BOOL  ,    0, <>"},
    {"empty ASCII", "A()", "<A[0/1]  \"\">", "ASCII ,    0, <>"},
    {"empty JIS-8", "J()", "<J[0/1]>", "J,    0,"},
};

TEST(CellText, ExamplesInBothStyles) {
    for (const ItemTextCase& c : kCellCases) {
        SCOPED_TRACE(c.name);
        const auto pMsg = BuildMessage(1, 1, false, c.item);
        EXPECT_EQ(CellText(Only(pMsg), 0), c.bracket);
        EXPECT_EQ(CellText(Only(pMsg), 1), c.column);
        // Any non-zero style flag means column style.
        EXPECT_EQ(CellText(Only(pMsg), -7), c.column);
    }
}

// "%f" and "%G" as the C library writes them in the "C" locale, whatever
// locale the process runs in: a Qt application adopts the user's, and a
// listing written with "1,5" would no longer read as the same numbers.
// Expected texts come from Python's "%f" / "%G" (exponents widened to three
// digits, as the listings show them).
struct NumberCase {
    const char* name;
    double value;
    const char* fixed;
    const char* general;
};
const NumberCase kNumberCases[] = {
    {"one and a half", 1.5, "1.500000", "1.5"},
    {"negative quarter", -0.25, "-0.250000", "-0.25"},
    {"large U8", 123456789.0, "123456789.000000", "1.23457E+008"},
    {"rounds half to the binary value", 2.5e-6, "0.000003", "2.5E-006"},
    {"just below half a millionth", 5e-7, "0.000000", "5E-007"},
    {"small exponent", 1e-5, "0.000010", "1E-005"},
    {"rounds up to a new exponent", 999999.5, "999999.500000", "1E+006"},
    {"negative zero", -0.0, "-0.000000", "-0"},
    {"infinity", std::numeric_limits<double>::infinity(), "inf", "INF"},
    {"minus infinity", -std::numeric_limits<double>::infinity(), "-inf", "-INF"},
    {"not a number", std::numeric_limits<double>::quiet_NaN(), "nan", "NAN"},
    {"largest double", std::numeric_limits<double>::max(),
     "17976931348623157081452742373170435679807056752584499659891747680315726078002853876058955"
     "86327668781715404589535143824642343213268894641827684675467035375169860499105765512820762"
     "45490090389328944075868508455133942304583236903222948165808559332123348274797826204144723"
     "168738177180919299881250404026184124858368.000000",
     "1.79769E+308"},
    {"smallest denormal", std::numeric_limits<double>::denorm_min(), "0.000000", "4.94066E-324"},
};

void ExpectNumberTexts() {
    for (const NumberCase& c : kNumberCases) {
        SCOPED_TRACE(c.name);
        std::string strFixed;
        std::string strGeneral;
        AppendFixed6(strFixed, c.value);
        AppendG3(strGeneral, c.value);
        EXPECT_EQ(strFixed, c.fixed);
        EXPECT_EQ(strGeneral, c.general);
        CMsgInfo msg;
        CMsgMgr mgr;
        mgr.AppendF8(&msg, &c.value, 1);
        mgr.AppendU8(&msg, &c.value, 1);
        EXPECT_EQ(CellText(*msg.m_cells[0], 0), std::string("<F8[1/1] ") + c.fixed + ">");
        EXPECT_EQ(CellText(*msg.m_cells[1], 1), std::string("UINT8 ,    1, <") + c.general + ">");
    }
}

TEST(NumberText, AsTheCLibraryWritesThem) { ExpectNumberTexts(); }

TEST(NumberText, SameUnderACommaDecimalLocale) {
    const CCommaLocale locale;
    if (!locale.Ok()) GTEST_SKIP() << "no comma-decimal locale: install locales (localedef)";
    ExpectNumberTexts();
}

TEST(CellText, LengthByteCountFollowsElementCount) {
    struct Case {
        int count;
        const char* head;
    };
    const Case kCases[] = {
        {255, "<U1[255/1] "},
        {256, "<U1[256/2] "},
        {65535, "<U1[65535/2] "},
        {65536, "<U1[65536/3] "},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.count);
        CMsgInfo msg;
        CMsgMgr mgr;
        const std::string values(static_cast<size_t>(c.count), '\x01');
        mgr.AppendU1(&msg, reinterpret_cast<const std::uint8_t*>(values.data()), c.count);
        EXPECT_EQ(CellText(*msg.m_cells[0], 0).substr(0, std::string(c.head).size()), c.head);
    }
    // From the element count, not the byte length: 100 four-byte values.
    const auto pMsg = BuildMessage(1, 1, false, "I4(" + Repeat("0 ", 100) + ")");
    EXPECT_EQ(CellText(Only(pMsg), 0).substr(0, 11), "<I4[100/1] ");
}

// Binary values: 20 bytes to a line, continuation lines of six blanks, at
// most 256 bytes and then the truncation mark.
TEST(CellText, BinaryLinesAndTruncation) {
    auto Bytes = [](int n) {
        std::string s;
        for (int i = 0; i < n; ++i) {
            char b[4];
            std::snprintf(b, sizeof b, "%02X ", i & 0xFF);
            s += b;
        }
        return "B(" + s + ")";
    };
    auto Expected = [](int nShown, bool bTruncated) {
        std::string s;
        for (int i = 0; i < nShown; ++i) {
            char b[8];
            std::snprintf(b, sizeof b, "0x%02X ", i & 0xFF);
            s += b;
            if (i % 20 == 19) s += "\n      ";
        }
        if (bTruncated) s += "\n        ......  \n";
        while (!s.empty() && (s.back() == ' ' || s.back() == '\n')) s.pop_back();
        return s + ">";
    };
    struct Case {
        int count;
        const char* head;
        int shown;
        bool truncated;
        int lineFeeds;
    };
    const Case kCases[] = {
        {19, "<B[19/1] ", 19, false, 0},     {20, "<B[20/1] ", 20, false, 0},
        {21, "<B[21/1] ", 21, false, 1},     {40, "<B[40/1] ", 40, false, 1},
        {256, "<B[256/2] ", 256, false, 12}, {257, "<B[257/2] ", 256, true, 13},
        {300, "<B[300/2] ", 256, true, 13},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.count);
        const auto pMsg = BuildMessage(1, 1, false, Bytes(c.count));
        const std::string strText = CellText(Only(pMsg), 0);
        EXPECT_EQ(strText, c.head + Expected(c.shown, c.truncated));
        EXPECT_EQ(std::count(strText.begin(), strText.end(), '\n'), c.lineFeeds);
        if (c.truncated) {
            EXPECT_EQ(strText.substr(strText.size() - 7), "......>");
        }
        // Column style frames the same lines with its own head.
        const std::string strColumn = CellText(Only(pMsg), 1);
        EXPECT_EQ(strColumn.substr(strColumn.find('<')), "<" + Expected(c.shown, c.truncated));
    }
}

TEST(CellText, ItemsOutsideTheFormatTable) {
    CMsgCell cell;
    cell.m_nFormat = 33;
    cell.m_nCount = 1;
    EXPECT_EQ(CellText(cell, 0), "<[1/1]>");
    EXPECT_EQ(CellText(cell, 1), ",    1,");
    // Storage missing although a count is set: no values, no crash.
    cell.m_nFormat = 54;
    cell.m_nCount = 3;
    EXPECT_EQ(CellText(cell, 0), "<U4[3/1]>");
    cell.m_nFormat = 20;
    EXPECT_EQ(CellText(cell, 1), "ASCII ,    3,");
}

// The quirks of the names: blanks kept, JIS-8 short in both styles, and
// nothing at all for codes outside the table.
TEST(FormatText, NamesAndUnits) {
    struct Case {
        int code;
        const char* shortName;
        const char* longName;
    };
    const Case kCases[] = {
        {0, "L", "LIST  "}, {11, "BOOL  ", "BOOL  "}, {21, "J", "J"}, {1, "", ""}, {-1, "", ""},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(GetFormatName(c.code, 0), c.shortName);
        EXPECT_EQ(GetFormatName(c.code, 5), c.longName);
    }
    EXPECT_EQ(MakeIndent(2), "      ");
    EXPECT_EQ(MakeTabs(3), "\t\t\t");
}

}  // namespace
