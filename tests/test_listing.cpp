#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "TestHelpers.h"
#include "render/MsgText.h"

namespace {

struct ListingCase {
    const char* name;
    int stream;
    int function;
    bool wait;
    const char* script;
    int tabs;
    const char* bracket;
    const char* column;
};

const ListingCase kListingCases[] = {
    {"worked example 1: empty list", 1, 13, true, "L{}", 0, "<S1F13W\n   <L[0/1]>\n>",
     "S1,F13,W\n   LIST  ,    0\n"},
    {"worked example 2: nested lists", 6, 11, true,
     "L{ U4(1) U4(100) L{ L{ U4(2) L{ A(LOT1) U2(3) } } } }", 0,
     "<S6F11W\n"
     "   <L[3/1]``````\n"
     "      <U4[1/1] 1>\n"
     "      <U4[1/1] 100>\n"
     "      <L[1/1]`````````\n"
     "         <L[2/1]````````````\n"
     "            <U4[1/1] 2>\n"
     "            <L[2/1]```````````````\n"
     "               <A[4/1] 'LOT1'>\n"
     "               <U2[1/1] 3>\n"
     "            >\n"
     "         >\n"
     "      >\n"
     "   >\n"
     ">",
     "S6,F11,W\n"
     "   LIST  ,    3``````\n"
     "      UINT4 ,    1, <1>\n"
     "      UINT4 ,    1, <100>\n"
     "      LIST  ,    1`````````\n"
     "         LIST  ,    2````````````\n"
     "            UINT4 ,    1, <2>\n"
     "            LIST  ,    2```````````````\n"
     "               ASCII ,    4, <LOT1>\n"
     "               UINT2 ,    1, <3>\n"},
    {"no items", 1, 13, true, "", 0, "<S1F13W>", "S1,F13,W\n"},
    {"no wait bit", 1, 14, false, "L{ B(00) }", 0,
     "<S1F14\n   <L[1/1]``````\n      <B[1/1] 0x00>\n   >\n>",
     "S1,F14\n   LIST  ,    1``````\n      BINARY,    1, <0x00>\n"},
    {"top-level value item", 1, 3, true, "U1(7)", 0, "<S1F3W\n   <U1[1/1] 7>\n>",
     "S1,F3,W\n   UINT1 ,    1, <7>\n"},
    {"two top-level value items", 1, 3, true, "U1(7) U1(8)", 0,
     "<S1F3W\n   <U1[1/1] 7>\n   <U1[1/1] 8>\n>",
     "S1,F3,W\n   UINT1 ,    1, <7>\n   UINT1 ,    1, <8>\n"},
    {"top-level value then list", 1, 3, true, "U1(7) L{ U1(8) }", 0,
     "<S1F3W\n   <U1[1/1] 7>\n   <L[1/1]``````\n      <U1[1/1] 8>\n   >\n>",
     "S1,F3,W\n   UINT1 ,    1, <7>\n   LIST  ,    1``````\n      UINT1 ,    1, <8>\n"},
    {"empty list nested and last", 2, 41, true, "L{ A(GO) L{} }", 0,
     "<S2F41W\n   <L[2/1]``````\n      <A[2/1] 'GO'>\n      <L[0/1]>\n   >\n>",
     "S2,F41,W\n   LIST  ,    2``````\n      ASCII ,    2, <GO>\n      LIST  ,    0\n"},
    {"empty list nested first", 2, 41, true, "L{ L{} U1(1) }", 0,
     "<S2F41W\n   <L[2/1]``````\n      <L[0/1]>\n      <U1[1/1] 1>\n   >\n>",
     "S2,F41,W\n   LIST  ,    2``````\n      LIST  ,    0\n      UINT1 ,    1, <1>\n"},
    {"tab prefix on every line", 1, 1, true, "L{ U1(1) }", 2,
     "||<S1F1W\n||   <L[1/1]``````\n||      <U1[1/1] 1>\n||   >\n||>",
     "||S1,F1,W\n||   LIST  ,    1``````\n||      UINT1 ,    1, <1>\n||"},
    {"tab prefix without items", 1, 1, true, "", 2, "||<S1F1W>", "||S1,F1,W\n"},
    {"binary continuation lines carry no prefix", 7, 3, false,
     "L{ B(00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10 11 12 13 14) }", 1,
     "|<S7F3\n"
     "|   <L[1/1]``````\n"
     "|      <B[21/1] 0x00 0x01 0x02 0x03 0x04 0x05 0x06 0x07 0x08 0x09 0x0A 0x0B 0x0C 0x0D "
     "0x0E 0x0F 0x10 0x11 0x12 0x13`\n"
     "      0x14>\n"
     "|   >\n"
     "|>",
     "|S7,F3\n"
     "|   LIST  ,    1``````\n"
     "|      BINARY,   21, <0x00 0x01 0x02 0x03 0x04 0x05 0x06 0x07 0x08 0x09 0x0A 0x0B 0x0C "
     "0x0D 0x0E 0x0F 0x10 0x11 0x12 0x13`\n"
     "      0x14>\n"
     "|"},
    {"percent sign written unchanged", 6, 11, false, "A(100%d%%)", 0,
     "<S6F11\n   <A[7/1] '100%d%%'>\n>", "S6,F11\n   ASCII ,    7, <100%d%%>\n"},
    // Lists that lost entries of an unknown format keep their stored count
    // and are still written once, with their closing line.
    {"fewer children than the count", 6, 11, true, "L3{ U1(1) L2{ U1(2) } }", 0,
     "<S6F11W\n"
     "   <L[3/1]``````\n"
     "      <U1[1/1] 1>\n"
     "      <L[2/1]`````````\n"
     "         <U1[1/1] 2>\n"
     "      >\n"
     "   >\n"
     ">",
     "S6,F11,W\n"
     "   LIST  ,    3``````\n"
     "      UINT1 ,    1, <1>\n"
     "      LIST  ,    2`````````\n"
     "         UINT1 ,    1, <2>\n"},
    {"no children but a count", 6, 11, true, "L2{ L1{} U1(5) }", 0,
     "<S6F11W\n   <L[2/1]``````\n      <L[1/1]`````````\n      >\n      <U1[1/1] 5>\n   >\n>",
     "S6,F11,W\n   LIST  ,    2``````\n      LIST  ,    1`````````\n      UINT1 ,    1, <5>\n"},
    {"top-level list with a count and no children", 6, 11, true, "L4{}", 0,
     "<S6F11W\n   <L[4/1]``````\n   >\n>", "S6,F11,W\n   LIST  ,    4``````\n"},
};

TEST(Listing, ExamplesInBothStyles) {
    for (const ListingCase& c : kListingCases) {
        SCOPED_TRACE(c.name);
        const auto pMsg = BuildMessage(c.stream, c.function, c.wait, c.script);
        const std::string strBracket = ListMessage(pMsg.get(), c.tabs, 0);
        EXPECT_EQ(strBracket, Spell(c.bracket)) << Visible(strBracket);
        const std::string strColumn = ListMessage(pMsg.get(), c.tabs, 1);
        EXPECT_EQ(strColumn, Spell(c.column)) << Visible(strColumn);
    }
}

// Listing twice gives the same text: the walk's scratch counters are reset.
TEST(Listing, RepeatedListingsAgree) {
    const auto pMsg = BuildMessage(6, 11, true, "L3{ U1(1) L{ U1(2) U1(3) } }");
    const std::string strFirst = ListMessage(pMsg.get(), 0, 0);
    EXPECT_EQ(ListMessage(pMsg.get(), 0, 0), strFirst);
    // Scribbled counters from an earlier walk change nothing.
    for (auto& pCell : pMsg->m_cells) pCell->m_nVisit = 99;
    EXPECT_EQ(ListMessage(pMsg.get(), 0, 0), strFirst);
}

TEST(Listing, CommentFollowsTheValue) {
    auto pMsg = BuildMessage(1, 1, false, "L{ U1(1) }");
    pMsg->m_cells[1]->m_strComment = "SVID 50%";
    EXPECT_EQ(ListMessage(pMsg.get(), 0, 0),
              "<S1F1\n   <L[1/1]      \n      <U1[1/1] 1>   /* SVID 50% */\n   >\n>");
}

TEST(Listing, NothingForMissingOrUntouchableMessages) {
    EXPECT_EQ(ListMessage(nullptr, 0, 0), "");
    auto pMsg = BuildMessage(1, 1, false, "U1(1)");
    pMsg->m_nStatus = -1;
    EXPECT_EQ(ListMessage(pMsg.get(), 0, 1), "");
}

TEST(Listing, ListOf256EntriesShowsTwoLengthBytes) {
    const auto pMsg = BuildMessage(1, 1, false, "L{" + Repeat(" U1(0)", 256) + " }");
    EXPECT_NE(ListMessage(pMsg.get(), 0, 0).find("\n   <L[256/2]      \n"), std::string::npos);
    EXPECT_NE(ListMessage(pMsg.get(), 0, 1).find("\n   LIST  ,  256      \n"), std::string::npos);
}

// Deep nesting and long sibling chains: no recursion, every cell once.
TEST(Listing, DeepAndWideMessages) {
    const int kDepth = 2000;
    const std::string strDeep = ListMessage(DeepMessage(kDepth).get(), 0, 0);
    EXPECT_EQ(std::count(strDeep.begin(), strDeep.end(), '\n'), 2 * kDepth + 2);
    EXPECT_NE(strDeep.find("\n" + std::string(3 * (kDepth + 1), ' ') + "<U1[1/1] 1>\n"),
              std::string::npos);

    const int kWidth = 50000;
    const std::string strWide = ListMessage(WideMessage(kWidth).get(), 0, 1);
    EXPECT_EQ(std::count(strWide.begin(), strWide.end(), '\n'), kWidth + 2);
}

}  // namespace
