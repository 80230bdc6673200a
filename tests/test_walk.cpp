#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "TestHelpers.h"
#include "decode/Decode.h"
#include "io/TechvFile.h"
#include "model/Bytes.h"

namespace {

constexpr int kUnset = 7;  // a style flag no file can store

struct WalkCase {
    const char* name;
    const char* body;
    const char* cells;
    int style;         // the flag after decoding, starting from kUnset
    int currentDepth;  // depth of m_pCurrent; -1 when null
};

const WalkCase kWalkCases[] = {
    {"list of two", "01 02 A5 01 05 41 01 78", R"(L[2]{U1 5, A "x"})", kUnset, 0},
    {"empty list at end", "01 00", "L[0]{}", kUnset, 0},
    {"empty list before a 0x00", "01 00 00 A5 01 07", "L[0]{}", kUnset, 0},
    {"empty list completed by counting", "01 02 01 00 A5 01 07", "L[2]{L[0]{}, U1 7}", kUnset, 0},
    {"unknown format still counts", "01 02 05 01 FF A5 01 07", "L[2]{U1 7}", kUnset, 0},
    {"unknown format without length bytes", "01 02 04 A5 01 07", "L[2]{U1 7}", kUnset, 0},
    {"declared count kept beside fewer children", "01 03 05 01 FF A5 01 07 A5 01 08",
     "L[3]{U1 7, U1 8}", kUnset, 0},
    {"style byte 0 after a list", "01 01 A5 01 07 30", "L[1]{U1 7}", 0, 0},
    {"style byte 1 after top-level items", "A5 01 07 31", "U1 7", 1, -1},
    {"0x00 ends the body before a style byte", "01 01 A5 01 07 00 31", "L[1]{U1 7}", kUnset, 0},
    {"lone trailing format byte is a style byte", "A5 01 07 40", "U1 7", kUnset, -1},
    {"format byte without length bytes inside the body", "40 A5 01 07", R"(A ""; U1 7)", kUnset,
     -1},
    {"two top-level values", "A5 01 07 A5 01 08", "U1 7; U1 8", kUnset, -1},
    {"top-level value then list", "A5 01 07 01 01 A5 01 08", "U1 7; L[1]{U1 8}", kUnset, 0},
    {"items after the outer list join it", "01 01 A5 01 07 A5 01 08", "L[2]{U1 7, U1 8}", kUnset,
     0},
    {"nested lists close by counting", "01 02 01 02 A5 01 01 A5 01 02 A5 01 03",
     "L[2]{L[2]{U1 1, U1 2}, U1 3}", kUnset, 0},
    {"an empty list completes its ancestors", "01 01 01 01 01 00 A5 01 09",
     "L[2]{L[1]{L[0]{}}, U1 9}", kUnset, 0},
    {"lists left open at the end", "01 03 01 02 A5 01 07", "L[1]{L[1]{U1 7}}", kUnset, 1},
    {"two and three length bytes", "02 00 01 A6 00 02 01 02 03 00 00 01 A5 01 07",
     "L[2]{U1 1 2, L[1]{U1 7}}", kUnset, 0},
    {"empty body", "", "", kUnset, -1},
    // An empty list at the end closes nothing around it: the outer list shows
    // the one cell it holds, not the two items it declares.
    {"empty list at the end after an unknown item", "01 02 05 00 01 00", "L[1]{L[0]{}}", kUnset, 0},
};

TEST(ItemStreamWalk, Bodies) {
    for (const WalkCase& c : kWalkCases) {
        SCOPED_TRACE(c.name);
        int nStyle = kUnset;
        const auto pMsg = DecodeBody(c.body, &nStyle);
        EXPECT_EQ(DumpCells(*pMsg), c.cells);
        EXPECT_EQ(nStyle, c.style);
        EXPECT_EQ(Depth(pMsg->m_pCurrent), c.currentDepth);
        EXPECT_EQ(TreeFault(*pMsg), "");
    }
}

// The links themselves are checked by TreeFault in the table above.
TEST(ItemStreamWalk, OnlyListsHaveAPosition) {
    const auto pMsg = DecodeBody("01 02 A5 01 05 41 01 78");
    ASSERT_EQ(pMsg->m_cells.size(), 3u);
    EXPECT_EQ(pMsg->m_cells[0]->m_pos, 0);
    EXPECT_EQ(pMsg->m_cells[1]->m_pos, CMsgCell::kNoPos);
}

TEST(ItemStreamWalk, ReadLengthIsBigEndian) {
    const unsigned char bytes[] = {0x01, 0x02, 0x03, 0xFF};
    EXPECT_EQ(ReadBigEndian(bytes, 1), 0x01u);
    EXPECT_EQ(ReadBigEndian(bytes, 3), 0x010203u);
    EXPECT_EQ(ReadBigEndian(bytes, 4), 0x010203FFu);
}

// Deep and wide bodies: the walk, the tree check and the message's
// destruction must all run without recursion on the nesting depth.
TEST(ItemStreamWalk, HundredThousandNestedLists) {
    constexpr std::size_t kDepth = 100000;
    const auto pMsg = DecodeExact(NestedListMessage(kDepth));
    ASSERT_EQ(pMsg->m_cells.size(), kDepth + 1);
    EXPECT_EQ(TreeFault(*pMsg), "");
    std::size_t nLists = 0;
    const CMsgCell* pCell = pMsg->m_cells.front().get();
    for (; pCell->m_nFormat == 0; pCell = pCell->m_pFirstChild) {
        EXPECT_EQ(pCell->m_nCount, 1);
        ++nLists;
    }
    EXPECT_EQ(nLists, kDepth);
    EXPECT_EQ(pCell->m_nFormat, 51);
    // The value completes every list, so the outermost one is current again.
    EXPECT_EQ(pMsg->m_pCurrent, pMsg->m_cells.front().get());
}

TEST(ItemStreamWalk, HundredThousandNestedListsLeftOpen) {
    constexpr std::size_t kDepth = 100000;
    auto bytes = NestedListMessage(kDepth);
    bytes.resize(bytes.size() - 3);  // without the U1 item inside
    const auto pMsg = DecodeExact(bytes);
    ASSERT_EQ(pMsg->m_cells.size(), kDepth);
    EXPECT_EQ(pMsg->m_pCurrent, pMsg->m_cells.back().get());
    EXPECT_EQ(TreeFault(*pMsg), "");
}

TEST(ItemStreamWalk, MillionSiblings) {
    constexpr std::size_t kCount = 1000000;  // three length bytes
    const auto pMsg = DecodeExact(FlatListMessage(kCount));
    ASSERT_EQ(pMsg->m_cells.size(), kCount + 1);
    const CMsgCell* pList = pMsg->m_cells.front().get();
    EXPECT_EQ(pList->m_nCount, static_cast<int>(kCount));
    EXPECT_EQ(pList->m_pLastChild, pMsg->m_cells.back().get());
    EXPECT_EQ(TreeFault(*pMsg), "");
}

// TECHV.TXT is the front ends' promise (the viewer, brevix-dump's listings):
// decoding itself writes no file, so JSON, SML, benchmarks and fuzz runs
// leave none. Each test works in a folder of its own: other test programs
// run in the shared one at the same time.
class TechvFile : public ::testing::Test {
protected:
    void SetUp() override {
        m_home = std::filesystem::current_path();
        m_strDir = MakeTempDir("brevix-techv");
        std::filesystem::current_path(m_strDir);
    }
    void TearDown() override {
        std::filesystem::current_path(m_home);
        RemoveTree(m_strDir);
    }
    static bool Exists() { return std::filesystem::exists(kName); }
    static constexpr const char* kName = "TECHV.TXT";
    std::filesystem::path m_home;
    std::string m_strDir;
};

TEST_F(TechvFile, NotWrittenByDecoding) {
    DecodeBody("A5 01 07");
    DecodeBody("01 00");
    DecodeExact(MessageBytes(6, 11, "30"));
    EXPECT_FALSE(Exists());
}

TEST_F(TechvFile, FailureToCreateItIsIgnored) {
    std::filesystem::create_directories(kName);  // a folder in its place
    LeaveTechvFile();
    EXPECT_TRUE(std::filesystem::is_directory(kName));
}

}  // namespace
