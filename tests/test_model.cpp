#include <gtest/gtest.h>

#include <cstring>

#include "TestHelpers.h"
#include "model/MsgMgr.h"

namespace {

// Builder scripts: 'L' opens a list, ')' closes it, 'u' appends a U1 7.
struct BuildCase {
    const char* name;
    const char* script;
    const char* cells;
    int currentDepth;  // depth of m_pCurrent below the top level; -1 for null
};

const BuildCase kBuildCases[] = {
    {"empty message", "", "", -1},
    {"top-level value keeps no current list", "u", "U1 7", -1},
    {"two top-level values are siblings", "uu", "U1 7; U1 7", -1},
    {"value then list at top level", "uLu", "U1 7; L[1]{U1 7}", 0},
    {"closing the outermost list keeps it current", "LL))", "L[1]{L[0]{}}", 0},
    {"items after the outer list closes still join it", "Lu)u", "L[2]{U1 7, U1 7}", 0},
    {"nested lists", "LuLuu)u)", "L[3]{U1 7, L[2]{U1 7, U1 7}, U1 7}", 0},
};

int Depth(const CMsgCell* pCell) {
    int d = 0;
    for (; pCell && pCell->m_pParent; pCell = pCell->m_pParent) ++d;
    return d;
}

TEST(MsgMgr, BuildScripts) {
    for (const BuildCase& c : kBuildCases) {
        SCOPED_TRACE(c.name);
        CMsgMgr mgr;
        CMsgInfo msg;
        const std::uint8_t seven = 7;
        for (const char* p = c.script; *p; ++p) {
            int nResult = 0;
            if (*p == 'L') nResult = mgr.OpenList(&msg);
            if (*p == ')') nResult = mgr.CloseList(&msg);
            if (*p == 'u') nResult = mgr.AppendU1(&msg, &seven, 1);
            EXPECT_EQ(nResult, 1) << *p;
        }
        EXPECT_EQ(DumpCells(msg), c.cells);
        EXPECT_EQ(msg.m_pCurrent ? Depth(msg.m_pCurrent) : -1, c.currentDepth);
    }
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
