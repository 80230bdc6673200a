#include <gtest/gtest.h>

#include <cstring>

#include "TestHelpers.h"
#include "model/MsgMgr.h"

namespace {

// Builder scripts: 'L' opens a list, ')' closes it, 'u' appends a U1 7.
// Bounded lists: the decoder never builds them, but the builder enforces
// them. 'b' opens a list bounded to two items, 'z' one bounded to none.
struct BuildCase {
    const char* name;
    const char* script;
    const char* results;  // what each step returned
    const char* cells;
    int currentDepth;  // depth of m_pCurrent below the top level; -1 for null
};

const BuildCase kBuildCases[] = {
    {"empty message", "", "", "", -1},
    {"top-level value keeps no current list", "u", "1", "U1 7", -1},
    {"two top-level values are siblings", "uu", "11", "U1 7; U1 7", -1},
    {"value then list at top level", "uLu", "111", "U1 7; L[1]{U1 7}", 0},
    {"closing the outermost list keeps it current", "LL))", "1111", "L[1]{L[0]{}}", 0},
    {"items after the outer list closes still join it", "Lu)u", "1111", "L[2]{U1 7, U1 7}", 0},
    {"nested lists", "LuLuu)u)", "11111111", "L[3]{U1 7, L[2]{U1 7, U1 7}, U1 7}", 0},
    {"a full bounded list closes itself", "Lbuuu", "11111", "L[2]{L[2]{U1 7, U1 7}, U1 7}", 0},
    {"closing climbs out of full bounded ancestors", "Lbubuuu", "1111111",
     "L[2]{L[2]{U1 7, L[2]{U1 7, U1 7}}, U1 7}", 0},
    {"a full bounded list refuses a value", "Lzu", "110", "L[1]{L[0]{}}", 1},
    {"a top-level bounded list stays current when full", "buuu", "1110", "L[2]{U1 7, U1 7}", 0},
};

TEST(MsgMgr, BuildScripts) {
    for (const BuildCase& c : kBuildCases) {
        SCOPED_TRACE(c.name);
        CMsgMgr mgr;
        CMsgInfo msg;
        const std::uint8_t seven = 7;
        std::string results;
        for (const char* p = c.script; *p; ++p) {
            int nResult = 0;
            if (*p == 'L' || *p == 'b' || *p == 'z') nResult = mgr.OpenList(&msg);
            if (*p == 'b' || *p == 'z') {
                msg.m_pCurrent->m_bBounded = 1;
                msg.m_pCurrent->m_nCapacity = *p == 'b' ? 2 : 0;
            }
            if (*p == ')') nResult = mgr.CloseList(&msg);
            if (*p == 'u') nResult = mgr.AppendU1(&msg, &seven, 1);
            results += static_cast<char>('0' + nResult);
        }
        EXPECT_EQ(results, c.results);
        EXPECT_EQ(DumpCells(msg), c.cells);
        EXPECT_EQ(Depth(msg.m_pCurrent), c.currentDepth);
        EXPECT_EQ(TreeFault(msg), "");
    }
}

// Wide elements are copied whole, in native order, with the zero byte after.
TEST(MsgMgr, TypedAppendersCopyEveryElement) {
    CMsgMgr mgr;
    CMsgInfo msg;
    ASSERT_EQ(mgr.OpenList(&msg), 1);
    const std::uint16_t u2[] = {1, 65535, 258};
    const std::int64_t i8[] = {-5, 5000000000};
    ASSERT_EQ(mgr.AppendU2(&msg, u2, 3), 1);
    ASSERT_EQ(mgr.AppendI8(&msg, i8, 2), 1);
    ASSERT_EQ(mgr.AppendAscii(&msg, "", 0), 1);
    EXPECT_EQ(DumpCells(msg), R"(L[3]{U2 1 65535 258, I8 -5 5000000000, A ""})");
    EXPECT_EQ(static_cast<const char*>(msg.m_cells[1]->m_pValues)[6], 0);
    EXPECT_EQ(static_cast<const char*>(msg.m_cells[2]->m_pValues)[16], 0);
    EXPECT_EQ(static_cast<const char*>(msg.m_cells[3]->m_pValues)[0], 0);
    EXPECT_EQ(msg.m_cells[1]->m_pParent, msg.m_cells[0].get());
}

TEST(MsgMgr, AsciiIsPaddedToItsCountAfterANul) {
    CMsgMgr mgr;
    CMsgInfo msg;
    ASSERT_EQ(mgr.AppendAscii(&msg, "AB\0C", 4), 1);
    const CMsgCell& cell = *msg.m_cells.front();
    EXPECT_EQ(cell.m_nCount, 4);
    EXPECT_EQ(std::memcmp(cell.m_pValues, "AB  \0", 5), 0);
}

TEST(MsgMgr, NullMessageIsRefused) {
    CMsgMgr mgr;
    const std::uint8_t one = 1;
    EXPECT_EQ(mgr.OpenList(nullptr), 0);
    EXPECT_EQ(mgr.CloseList(nullptr), 0);
    EXPECT_EQ(mgr.AppendU1(nullptr, &one, 1), 0);
    EXPECT_EQ(mgr.FirstCell(nullptr), nullptr);
    CMsgInfo msg;
    EXPECT_EQ(mgr.CloseList(&msg), 0);
    EXPECT_EQ(mgr.FirstCell(&msg), nullptr);
}

}  // namespace
