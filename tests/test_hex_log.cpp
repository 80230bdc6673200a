#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "TestHelpers.h"
#include "io/HexLog.h"

namespace {

struct HexCase {
    const char* name;
    const char* text;
    const char* cleaned;
    const char* bytes;
};

const HexCase kHexCases[] = {
    {"header over two lines", " 80 01 01 01\t00\r\n 00 00 00 00 01 \n", "80010101000000000001",
     "80 01 01 01 00 00 00 00 00 01"},
    {"lower case", "0a1b", "0A1B", "0A 1B"},
    {"odd digit count", "ABC", "ABC", "AB 0C"},
    {"digit then other", "8:", "8:", "08"},
    {"sign belongs to the number", "-1+F", "-1+F", "FF 0F"},
    {"unreadable pair repeats previous", "01ZZ", "01ZZ", "01 01"},
    {"first pair unreadable", "ZZ01", "ZZ01", "00 01"},
    {"hex prefix", "0X0x4A", "0X0X4A", "00 00 4A"},
    {"offset column stays", "0000: 41", "0000:41", "00 00 00 01"},
    {"form feed inside is skipped by the scan", "4\f1", "4\f1", "04 01"},
    {"vertical tab pair unreadable", "41\v\v42", "41\v\v42", "41 41 42"},
    {"comma separated", "01,02", "01,02", "01 01 02"},
    {"only white space", " \r\n\t \v\f ", "", ""},
};

TEST(HexLog, CleanAndConvert) {
    for (const HexCase& c : kHexCases) {
        SCOPED_TRACE(c.name);
        const std::string strCleaned = CleanHexLog(c.text);
        EXPECT_EQ(strCleaned, c.cleaned);
        EXPECT_EQ(HexTextToBytes(strCleaned), BytesFromHex(c.bytes));
        EXPECT_EQ(HexTextToBytes(strCleaned).size(), (strCleaned.size() + 1) / 2);
    }
}

// The conversion must agree with the C library's "%2X" scan on every pair,
// except for the one case decided otherwise: a bare "0X" gives 0.
int ScanLikeTheConverter(const std::string& strPair, int v) {
    unsigned int u = static_cast<unsigned int>(v);
    if (std::sscanf(strPair.c_str(), "%2X", &u) == 1) return static_cast<int>(u);
    return v;
}

void ExpectSameAsScan(const std::string& strPair, int nPrevious) {
    // A leading pair fixes the previous value, so that "no value" shows.
    std::string strText;
    char prefix[3];
    std::snprintf(prefix, sizeof prefix, "%02X", nPrevious);
    strText = std::string(prefix) + strPair;
    const std::vector<unsigned char> bytes = HexTextToBytes(strText);
    ASSERT_EQ(bytes.size(), 2u);
    int nWant = ScanLikeTheConverter(strPair, nPrevious) & 0xFF;
    if (strPair == "0X" || strPair == "0x") nWant = 0;
    EXPECT_EQ(bytes[1], nWant) << "pair " << testing::PrintToString(strPair);
}

TEST(HexLog, AgreesWithScanOnEveryPair) {
    for (int a = 0; a < 256; ++a) {
        ExpectSameAsScan(std::string(1, static_cast<char>(a)), 0x5A);
        for (int b = 0; b < 256; ++b) {
            std::string strPair = {static_cast<char>(a), static_cast<char>(b)};
            ExpectSameAsScan(strPair, 0x5A);
            if (HasFailure()) return;
        }
    }
}

TEST(HexLog, AgreesWithScanOnRandomTexts) {
    const char kAlphabet[] = "0123456789ABCDEFabcdefXx+-: \t\v\f\r\nZG\x80";
    std::mt19937 rng(20261207);
    std::uniform_int_distribution<int> pick(0, sizeof kAlphabet - 2);
    std::uniform_int_distribution<int> length(0, 40);
    for (int n = 0; n < 20000; ++n) {
        std::string strText;
        for (int i = length(rng); i > 0; --i) strText += kAlphabet[pick(rng)];
        int v = 0;
        std::vector<unsigned char> want;
        for (size_t i = 0; i < strText.size(); i += 2) {
            const std::string strPair = strText.substr(i, 2);
            v = ScanLikeTheConverter(strPair, v);
            if (strPair == "0X" || strPair == "0x") v = 0;
            want.push_back(static_cast<unsigned char>(v & 0xFF));
        }
        ASSERT_EQ(HexTextToBytes(strText), want) << strText;
    }
}

}  // namespace
