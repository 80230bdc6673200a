#include <gtest/gtest.h>

#include <QTreeWidget>

#include "TestHelpers.h"
#include "decode/MsgDocWalk.h"
#include "inspect/CompareWindow.h"

namespace {

// A: L{U1 1, U1 2, U1 3, U1 4}; B: L{U1 1, U1 9, U1 2, U1 3, U1 5}. Rows:
// 0 the list, 1 U1 1, 2 (none | U1 9), 3 U1 2, 4 U1 3, 5 (U1 4 | U1 5).
struct StepCase {
    const char* name;
    bool bForward;
    int nRow;
    const char* textB;  // in the B tree's current row
};

const StepCase kSteps[] = {
    {"first difference", true, 2, "9"},   {"next", true, 5, "5"},
    {"wraps to the first", true, 2, "9"}, {"previous wraps to the last", false, 5, "5"},
    {"previous", false, 2, "9"},
};

std::shared_ptr<const CMsgDoc> Doc(const char* szBody) {
    return std::make_shared<const CMsgDoc>(DecodeMsgDoc(MessageBytes(6, 11, szBody)));
}

TEST(CompareWindow, NextDifferenceSelectsItsFirstRowInBothTrees) {
    CCompareWindow window;
    window.Compare(Doc("01 04 A5 01 01 A5 01 02 A5 01 03 A5 01 04"), "a.BIG",
                   Doc("01 05 A5 01 01 A5 01 09 A5 01 02 A5 01 03 A5 01 05"), "b.BIG", 1);
    for (const StepCase& c : kSteps) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(window.GoToDifference(c.bForward));
        EXPECT_EQ(window.CurrentRow(), c.nRow);
        ASSERT_NE(window.m_treeB->currentItem(), nullptr);
        EXPECT_TRUE(window.m_treeB->currentItem()->text(0).contains(QString::fromLatin1(c.textB)));
        // Under the list, which is under the message's root row.
        EXPECT_EQ(window.m_treeB->currentItem()->parent(),
                  window.m_treeB->topLevelItem(0)->child(0));
    }
    // Row 2 has no item of A: its row there is empty.
    EXPECT_TRUE(window.m_treeA->currentItem()->text(0).isEmpty());
}

}  // namespace
