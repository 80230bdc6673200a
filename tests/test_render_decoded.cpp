#include <gtest/gtest.h>

#include <string>

#include "TestHelpers.h"
#include "decode/Decode.h"
#include "render/TreeLabels.h"

// From message bytes through the decoder to listing and tree: the path the
// viewer and brevix-dump take. Header: S6F11 with the W-bit (MessageBytes).

namespace {

struct DecodedCase {
    const char* name;
    const char* body;
    const char* bracket;  // listing, '`' for a trailing blank
    const char* tree;     // labels in document order, depth-prefixed
};

const DecodedCase kDecodedCases[] = {
    {"worked example 2 from bytes",
     "01 03 B1 04 00 00 00 01 B1 04 00 00 00 64 01 01 01 02 B1 04 00 00 00 02 01 02 41 04 4C 4F "
     "54 31 A9 02 00 03",
     "<S6F11W\n   <L[3/1]``````\n      <U4[1/1] 1>\n      <U4[1/1] 100>\n      <L[1/1]`````````\n"
     "         <L[2/1]````````````\n            <U4[1/1] 2>\n            <L[2/1]```````````````\n"
     "               <A[4/1] 'LOT1'>\n               <U2[1/1] 3>\n            >\n         >\n"
     "      >\n   >\n>",
     "0L[3] |1U4[1] 1 |1U4[1] 100 |1L[1] |2L[2] |3U4[1] 2 |3L[2] |4A[4] \"LOT1\" |4U2[1] 3 "},
    {"empty list then value", "01 02 01 00 A5 01 07",
     "<S6F11W\n   <L[2/1]``````\n      <L[0/1]>\n      <U1[1/1] 7>\n   >\n>",
     "0L[2] |1L[0] |1U1[1] 7 "},
    {"I8 keeps 64 bits", "61 08 80 00 00 00 00 00 00 00",
     "<S6F11W\n   <I8[1/1] -9223372036854775808>\n>", "0I8[1] -9223372036854775808 "},
    {"U8 as %G with three exponent digits", "A1 08 00 00 00 00 07 5B CD 15",
     "<S6F11W\n   <U8[1/1] 1.23457E+008>\n>", "0U8[1] 1.23457E+008 "},
    {"boolean bytes", "25 03 01 00 02", "<S6F11W\n   <BOOL  [3/1] 0x01 0x00 0x01>\n>",
     "0BOOL  [3] T F T "},
};

std::string TreeShape(const CLabelTree& tree) {
    std::string str;
    for (const CLabelNode& n : tree.m_nodes) {
        if (!str.empty()) str += "|";
        str += std::to_string(n.m_nDepth) + n.m_strLabel;
    }
    return str;
}

TEST(DecodedRendering, ListingAndTreeFromBytes) {
    CDecode decoder;
    for (const DecodedCase& c : kDecodedCases) {
        SCOPED_TRACE(c.name);
        const auto pMsg = DecodeBody(c.body);
        EXPECT_EQ(decoder.GetMsgText(pMsg.get(), 0, 0), Spell(c.bracket));
        EXPECT_EQ(TreeShape(BuildLabelTree(*pMsg, 0)), c.tree);
        // Every cell appears exactly once in the tree.
        EXPECT_EQ(BuildLabelTree(*pMsg, 0).m_nodes.size(), pMsg->m_cells.size());
    }
}

TEST(DecodedRendering, CellTextThroughTheDecoder) {
    CDecode decoder;
    EXPECT_EQ(decoder.GetCellText(nullptr, 0), "");
    const auto pMsg = DecodeBody("41 05 31 30 30 25 64");
    EXPECT_EQ(decoder.GetCellText(pMsg->m_cells.front().get(), 0), "<A[5/1] '100%d'>");
    EXPECT_EQ(decoder.GetCellText(pMsg->m_cells.front().get(), 1), "ASCII ,    5, <100%d>");
    EXPECT_EQ(decoder.GetMsgText(nullptr, 0, 0), "");
}

// Every prefix of a message lists and draws without fault; run under
// AddressSanitizer this also proves no read past the cells' storage.
TEST(DecodedRendering, EveryPrefixRenders) {
    const auto bytes = MessageBytes(
        6, 11,
        "01 04 21 03 01 02 03 45 02 41 0A 01 02 25 01 01 91 04 3F C0 00 00 A1 08 00 00 00 00 "
        "07 5B CD 15 41 02 25 73");
    CDecode decoder;
    for (size_t n = 0; n <= bytes.size(); ++n) {
        SCOPED_TRACE(n);
        const auto pMsg = DecodeExact(std::vector<unsigned char>(bytes.begin(), bytes.begin() + n));
        const std::string strBracket = decoder.GetMsgText(pMsg.get(), 1, 0);
        const std::string strColumn = decoder.GetMsgText(pMsg.get(), 1, 1);
        EXPECT_EQ(strBracket.back(), '>');
        EXPECT_EQ(strColumn.back(), pMsg->m_cells.empty() ? '\n' : '\t');
        EXPECT_EQ(BuildLabelTree(*pMsg, 1).m_nodes.size(), pMsg->m_cells.size());
    }
}

}  // namespace
