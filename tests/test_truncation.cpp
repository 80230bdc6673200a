#include <gtest/gtest.h>

#include "TestHelpers.h"
#include "render/MsgText.h"

namespace {

// Items cut by the end of the file are decoded from the bytes that are
// there, and the walk ends after them.
const BodyCase kCutCases[] = {
    {"U4 data cut", "B1 08 00 00 00 01 00 00 00", "U4 1"},
    {"ASCII data cut", "41 05 48 65 6C", R"(A "Hel")"},
    {"F8 data cut short of one element", "81 08 3F F0 00", "F8"},
    {"data length byte missing", "41", ""},  // a lone byte: the style byte
    {"data length bytes cut", "B2 00", "U4"},
    {"list length bytes cut to zero", "03 00 00", "L[0]{}"},
    {"list length bytes cut, list left open", "03 00 01", "L[0]{}"},
    {"item cut inside a list completes it", "01 02 A5 01 07 A9 04 00 01", "L[2]{U1 7, U2 1}"},
    {"list cut before its items", "01 03 A5 01 07", "L[1]{U1 7}"},
    {"three-byte length far beyond the end", "23 FF FF FF 01 02 03", "B 1 2 3"},
};

TEST(Truncation, CutItems) { ExpectBodies(kCutCases); }

// Every prefix of every message, each in a heap block of exactly its size:
// AddressSanitizer turns a one-byte overread into a failure.
const char* const kMessages[] = {
    // S6F11 event report: L[3]{U4, U4, L[1]{L[2]{U4, L[2]{A, F8}}}} and a style byte
    "00 01 86 0B 80 01 00 00 00 2A"
    "01 03 B1 04 00 00 00 01 B1 04 00 00 03 E9 01 01 01 02 B1 04 00 00 00 64"
    "01 02 41 05 48 65 6C 6C 6F 81 08 40 09 21 FB 54 44 2D 18 30",
    // one item of every data format, two-byte lengths
    "00 00 01 01 80 00 00 00 00 01"
    "02 00 0E 22 00 02 01 02 26 00 01 01 42 00 02 41 42 46 00 01 41"
    "62 00 08 FF FF FF FF FF FF FF FB 66 00 01 80 6A 00 02 80 00 72 00 04 80 00 00 00"
    "82 00 08 3F F0 00 00 00 00 00 00 92 00 04 3F 80 00 00 A2 00 08 00 00 00 01 2A 05 F2 00"
    "A6 00 01 FF AA 00 02 FF FF B2 00 04 FF FF FF FF",
    // nesting, empty lists, an unknown format and a 0x00 terminator
    "00 01 86 0B 80 01 00 00 00 2A"
    "01 03 01 00 01 02 01 01 01 00 05 01 FF 0B 00 A5 01 07 00 31",
    // top-level items side by side
    "00 01 86 0B 80 01 00 00 00 2A A5 01 07 A5 01 08 01 01 A5 01 09 31",
};

TEST(Truncation, EveryPrefixOfEveryMessage) {
    for (const char* message : kMessages) {
        const auto bytes = BytesFromHex(message);
        const std::size_t nFullCells = DecodeExact(bytes)->m_cells.size();
        for (std::size_t n = 0; n <= bytes.size(); ++n) {
            SCOPED_TRACE("prefix of " + std::to_string(n) + " bytes of " + message);
            int nStyle = 7;
            const auto pMsg =
                DecodeExact({bytes.begin(), bytes.begin() + static_cast<long>(n)}, &nStyle);
            ASSERT_NE(pMsg, nullptr);
            EXPECT_LE(pMsg->m_cells.size(), nFullCells);
            EXPECT_EQ(TreeFault(*pMsg), "");
            // The listing made straight from the document is the cells' listing.
            std::string strFromDoc;
            ListDoc(*pMsg->m_pDoc, 0, 0, strFromDoc);
            EXPECT_EQ(strFromDoc, ListMessage(pMsg.get(), 0, 0));
        }
    }
}

}  // namespace
