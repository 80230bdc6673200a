#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "TestHelpers.h"
#include "render/TreeLabels.h"

namespace {

const ItemTextCase kLabelCases[] = {
    {"U4 pair", "U4(1 2)", "U4[2] 1 2 ", "UINT4 [2] 1 2 "},
    {"boolean pair", "BOOL(1 0)", "BOOL  [2] T F ", "BOOL  [2] T F "},
    {"boolean single", "BOOL(1)", "BOOL  [1] TRUE  ", "BOOL  [1] TRUE  "},
    {"boolean single false", "BOOL(0)", "BOOL  [1] FALSE  ", "BOOL  [1] FALSE  "},
    {"JIS-8", "J(41 0A)", "J[2] A\\x00A", "J[2] A\\x00A"},
    {"empty JIS-8 trimmed", "J()", "J[0]", "J[0]"},
    {"binary", "B(01 02 03)", "B[3] 0x01 0x02 0x03 ", "BINARY[3] 0x01 0x02 0x03 "},
    {"F4", "F4(1.5)", "F4[1] 1.500000 ", "FLOAT4[1] 1.500000 "},
    {"U8 exponent", "U8(123456789)", "U8[1] 1.23457E+008 ", "UINT8 [1] 1.23457E+008 "},
    {"I8 64-bit", "I8(-9000000000)", "I8[1] -9000000000 ", "INT8  [1] -9000000000 "},
    {"empty list", "L{}", "L[0] ", "LIST  [0] "},
    {"ASCII", "A(EV)", "A[2] \"EV\" ", "ASCII [2] \"EV\" "},
    {"ASCII with percent", "A(5%s)", "A[3] \"5%s\" ", "ASCII [3] \"5%s\" "},
    {"empty ASCII", "A()", "A[0]  \"\"", "ASCII [0]  \"\""},
    {"empty U1", "U1()", "U1[0] ", "UINT1 [0] "},
};

TEST(TreeLabel, ExamplesInBothStyles) {
    for (const ItemTextCase& c : kLabelCases) {
        SCOPED_TRACE(c.name);
        const auto pMsg = BuildMessage(1, 1, false, c.item);
        EXPECT_EQ(GetTreeLabel(*pMsg->m_cells.front(), 0), c.bracket);
        EXPECT_EQ(GetTreeLabel(*pMsg->m_cells.front(), 1), c.column);
    }
}

TEST(TreeLabel, BinaryOf300BytesIsCutWithAMark) {
    const auto pMsg = BuildMessage(1, 1, false, "B(" + Repeat("AA ", 300) + ")");
    const std::string strLabel = GetTreeLabel(*pMsg->m_cells.front(), 0);
    const size_t nMark = strLabel.find("  ......  ");
    ASSERT_NE(nMark, std::string::npos);
    EXPECT_EQ(std::count(strLabel.begin(), strLabel.begin() + nMark, '\n'), 13);
    EXPECT_EQ(strLabel.substr(nMark - 7), "\n        ......  \n");
    EXPECT_EQ(std::count(strLabel.begin(), strLabel.end(), 'x'), 256);
}

TEST(TreeLabel, RootNamesStreamFunctionAndWait) {
    EXPECT_EQ(GetRootLabel(*BuildMessage(6, 11, true, "")), "S6F11W");
    EXPECT_EQ(GetRootLabel(*BuildMessage(127, 255, false, "")), "S127F255");
}

// A compact picture of the tree: each node as depth:row:label, with its
// child count; checks that the links agree with the order.
std::string Shape(const CLabelTree& tree) {
    std::string str = tree.m_strRoot + "/" + std::to_string(tree.m_nTopCount);
    for (const CLabelNode& n : tree.m_nodes) {
        str += " | " + std::to_string(n.m_nDepth) + ":" + std::to_string(n.m_nRow) + ":" +
               n.m_strLabel + "#" + std::to_string(n.m_nChildCount);
    }
    return str;
}

// Parent, first-child and next-sibling links must describe the same tree
// as the depths in document order.
void ExpectConsistentLinks(const CLabelTree& tree) {
    int nTop = 0;
    for (int i = 0; i < static_cast<int>(tree.m_nodes.size()); ++i) {
        const CLabelNode& n = tree.m_nodes[i];
        if (n.m_nParent < 0) {
            ++nTop;
            EXPECT_EQ(n.m_nDepth, 0);
        } else {
            EXPECT_LT(n.m_nParent, i);
            EXPECT_EQ(n.m_nDepth, tree.m_nodes[n.m_nParent].m_nDepth + 1);
        }
        int nChildren = 0;
        for (int c = n.m_nFirstChild; c >= 0; c = tree.m_nodes[c].m_nNext) {
            EXPECT_EQ(tree.m_nodes[c].m_nParent, i);
            EXPECT_EQ(tree.m_nodes[c].m_nRow, nChildren);
            ++nChildren;
        }
        EXPECT_EQ(nChildren, n.m_nChildCount);
        if (n.m_nFirstChild >= 0) {
            EXPECT_EQ(n.m_nFirstChild, i + 1);
        }
    }
    EXPECT_EQ(nTop, tree.m_nTopCount);
}

struct TreeCase {
    const char* name;
    const char* script;
    const char* shape;
};

const TreeCase kTreeCases[] = {
    {"no items", "", "S1F2W/0"},
    {"nested lists", "L{ L{ U1(7) } A(X) }",
     "S1F2W/1 | 0:0:L[2] #2 | 1:0:L[1] #1 | 2:0:U1[1] 7 #0 | 1:1:A[1] \"X\" #0"},
    {"empty list has no children", "L{ L{} U1(1) }",
     "S1F2W/1 | 0:0:L[2] #2 | 1:0:L[0] #0 | 1:1:U1[1] 1 #0"},
    {"top-level siblings", "U1(7) U1(8)", "S1F2W/2 | 0:0:U1[1] 7 #0 | 0:1:U1[1] 8 #0"},
    {"value then list at top level", "U1(7) L{ U1(8) }",
     "S1F2W/2 | 0:0:U1[1] 7 #0 | 0:1:L[1] #1 | 1:0:U1[1] 8 #0"},
    {"stored count differs from children", "L3{ U1(1) L2{} }",
     "S1F2W/1 | 0:0:L[3] #2 | 1:0:U1[1] 1 #0 | 1:1:L[2] #0"},
    {"climb several levels", "L{ L{ L{ U1(1) } } U1(2) }",
     "S1F2W/1 | 0:0:L[2] #2 | 1:0:L[1] #1 | 2:0:L[1] #1 | 3:0:U1[1] 1 #0 | 1:1:U1[1] 2 #0"},
};

TEST(LabelTree, ShapesInDocumentOrder) {
    for (const TreeCase& c : kTreeCases) {
        SCOPED_TRACE(c.name);
        const auto pMsg = BuildMessage(1, 2, true, c.script);
        const CLabelTree tree = BuildLabelTree(*pMsg, 0);
        EXPECT_EQ(Shape(tree), c.shape);
        ExpectConsistentLinks(tree);
    }
}

TEST(LabelTree, StyleChangesOnlyTheNames) {
    const auto pMsg = BuildMessage(1, 2, true, "L{ U4(3) }");
    const CLabelTree tree = BuildLabelTree(*pMsg, 1);
    ASSERT_EQ(tree.m_nodes.size(), 2u);
    EXPECT_EQ(tree.m_nodes[0].m_strLabel, "LIST  [1] ");
    EXPECT_EQ(tree.m_nodes[1].m_strLabel, "UINT4 [1] 3 ");
}

TEST(LabelTree, WideAndDeepWithoutRecursion) {
    const CLabelTree wideTree = BuildLabelTree(*WideMessage(50000), 0);
    ASSERT_EQ(wideTree.m_nodes.size(), 50001u);
    EXPECT_EQ(wideTree.m_nodes[0].m_nChildCount, 50000);
    EXPECT_EQ(wideTree.m_nodes.back().m_nRow, 49999);
    ExpectConsistentLinks(wideTree);

    const int kDepth = 100000;
    const CLabelTree deepTree = BuildLabelTree(*DeepMessage(kDepth), 0);
    ASSERT_EQ(deepTree.m_nodes.size(), static_cast<size_t>(kDepth) + 1);
    EXPECT_EQ(deepTree.m_nodes.back().m_nDepth, kDepth);
    EXPECT_EQ(deepTree.m_nodes.back().m_nParent, kDepth - 1);
    EXPECT_EQ(deepTree.m_nTopCount, 1);
}

}  // namespace
