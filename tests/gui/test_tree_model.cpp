#include <QTreeView>
#include <string>

#include "GuiFixture.h"
#include "TestHelpers.h"
#include "app/MessageTreeModel.h"

namespace {

std::string Indent(int nLevel) { return std::string(2 * nLevel, ' '); }

}  // namespace

class DeepTreeTest : public CGuiTest {
protected:
    std::unique_ptr<CBrevixDlg> Show(const std::vector<unsigned char>& bytes) {
        auto pDlg = ShowFolder(Dir("deep"), {{"D.BIG", bytes}});
        ClickFile(*pDlg, 0);
        return pDlg;
    }
};

// Levels beyond the display depth are listed flat, in document order, under
// the last node shown as a tree, each marked with its depth; shallower items
// after the deep chain keep their places.
TEST_F(DeepTreeTest, LevelsBeyondTheDisplayDepthAreShownFlatAndMarked) {
    constexpr int kFlat = CMessageTreeModel::kFlatDepth;
    constexpr int kChain = kFlat + 50;
    auto pDlg =
        Show(MessageBytes(6, 11, "01 02" + Repeat(" 01 01", kChain) + " A5 01 07 A5 01 08"));
    const std::vector<std::string> rows = TreeRows(*pDlg);
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(kChain + 4));
    EXPECT_EQ(rows[1], Indent(1) + "LIST  [2] ");
    EXPECT_EQ(rows[kFlat], Indent(kFlat) + "LIST  [1] ");
    EXPECT_EQ(rows[kFlat + 1],
              Indent(kFlat + 1) + "[depth " + std::to_string(kFlat + 1) + "] LIST  [1] ");
    EXPECT_EQ(rows[kChain + 2],
              Indent(kFlat + 1) + "[depth " + std::to_string(kChain + 2) + "] UINT1 [1] 7 ");
    EXPECT_EQ(rows[kChain + 3], Indent(2) + "UINT1 [1] 8 ");
    EXPECT_TRUE(AllExpanded(*pDlg));
}

TEST_F(DeepTreeTest, FiftyThousandNestedListsAreShown) {
    auto pDlg = Show(NestedListMessage(49999));
    EXPECT_TRUE(m_prompter.m_messages.empty());
    const std::vector<std::string> rows = TreeRows(*pDlg);
    ASSERT_EQ(rows.size(), 50001u);
    EXPECT_EQ(rows.back(),
              Indent(CMessageTreeModel::kFlatDepth + 1) + "[depth 50000] UINT1 [1] 7 ");
    EXPECT_TRUE(AllExpanded(*pDlg));
}
