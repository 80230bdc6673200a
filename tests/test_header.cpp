#include <gtest/gtest.h>

#include "TestHelpers.h"
#include "decode/Decode.h"

namespace {

struct HeaderCase {
    const char* name;
    const char* bytes;
    int rBit, deviceId, wBit, stream, function, eBit, block;
    unsigned int systemBytes;
};

const HeaderCase kHeaderCases[] = {
    {"all top bits set", "80 02 86 0B 80 01 00 00 00 2A", 1, 2, 1, 6, 11, 1, 1, 42},
    {"no flags, largest system bytes", "00 00 01 01 00 00 FF FF FF FF", 0, 0, 0, 1, 1, 0, 0,
     4294967295u},
    {"fields beside the top bits at their maximum", "FF FF FF FF FF FF 12 34 56 78", 1, 32767, 1,
     127, 255, 1, 32767, 0x12345678u},
    {"top bits alone", "7F FF 7F 00 7F FF 00 00 00 00", 0, 32767, 0, 127, 0, 0, 32767, 0},
    // Missing header bytes read as zero; nothing past the end is touched.
    {"file of three bytes", "80 05 86", 1, 5, 1, 6, 0, 0, 0, 0},
    {"file of nine bytes", "00 01 81 02 80 03 00 00 01", 0, 1, 1, 1, 2, 1, 3, 0x00000100u},
    {"empty file", "", 0, 0, 0, 0, 0, 0, 0, 0},
};

TEST(Header, FieldsFromBytes) {
    for (const HeaderCase& c : kHeaderCases) {
        SCOPED_TRACE(c.name);
        const auto pMsg = DecodeExact(BytesFromHex(c.bytes));
        ASSERT_NE(pMsg, nullptr);
        EXPECT_EQ(pMsg->m_bRBit, c.rBit);
        EXPECT_EQ(pMsg->m_nDeviceId, c.deviceId);
        EXPECT_EQ(pMsg->m_bWBit, c.wBit);
        EXPECT_EQ(pMsg->m_nStream, c.stream);
        EXPECT_EQ(pMsg->m_nFunction, c.function);
        EXPECT_EQ(pMsg->m_bEBit, c.eBit);
        EXPECT_EQ(pMsg->m_nBlock, c.block);
        EXPECT_EQ(pMsg->m_dwSystemBytes, c.systemBytes);
        EXPECT_TRUE(pMsg->m_cells.empty());
        EXPECT_EQ(pMsg->m_pCurrent, nullptr);
    }
}

TEST(Header, ParseHeaderLeavesAGuardedMessageAlone) {
    CDecode decoder;
    const auto header = BytesFromHex("80 02 86 0B 80 01 00 00 00 2A");
    EXPECT_EQ(decoder.ParseHeader(nullptr, header.data()), 0);
    CMsgInfo msg;
    msg.m_nStatus = -1;
    EXPECT_EQ(decoder.ParseHeader(&msg, header.data()), 0);
    EXPECT_EQ(msg.m_nStream, 0);
    EXPECT_EQ(msg.m_bRBit, 0);
    EXPECT_EQ(msg.m_dwSystemBytes, 0u);
}

// File-level decisions: which files have their body walked, and what the
// style flag (starting at 7, a value no file can store) ends as.
struct FileCase {
    const char* name;
    const char* header;
    int bodySize;      // body bytes: a U1 item "A5 01 07" followed by filler
    const char* tail;  // bytes after the filler
    int incomplete;
    std::size_t cells;
    int style;
};

const FileCase kFileCases[] = {
    {"non-final block of 254 bytes", "00 01 86 0B 00 01 00 00 00 01", 244, "", 1, 0, 7},
    {"non-final block ending in a style byte", "00 01 86 0B 00 01 00 00 00 01", 243, "30", 1, 0, 7},
    {"final block of 254 bytes", "00 01 86 0B 80 01 00 00 00 01", 244, "", 0, 1, 7},
    {"block 0 of 254 bytes", "00 01 86 0B 00 00 00 00 00 01", 244, "", 0, 1, 7},
    {"non-final block of 253 bytes", "00 01 86 0B 00 01 00 00 00 01", 243, "", 0, 1, 7},
    {"non-final block of 255 bytes", "00 01 86 0B 00 01 00 00 00 01", 244, "30", 0, 1, 7},
    {"header only", "00 01 86 0B 80 01 00 00 00 01", -1, "", 0, 0, 7},
    {"header and style byte 0", "00 01 86 0B 80 01 00 00 00 01", -1, "30", 0, 0, 0},
    {"header and style byte 1", "00 01 86 0B 80 01 00 00 00 01", -1, "31", 0, 0, 1},
    {"header and another lone byte", "00 01 86 0B 80 01 00 00 00 01", -1, "58", 0, 0, 7},
    {"body and style byte 1", "00 01 86 0B 80 01 00 00 00 01", 3, "31", 0, 1, 1},
    {"body and a lone X", "00 01 86 0B 80 01 00 00 00 01", 3, "58", 0, 1, 7},
};

std::vector<unsigned char> FileBytes(const FileCase& c) {
    auto bytes = BytesFromHex(c.header);
    if (c.bodySize >= 0) {
        // A U1 item, then zero bytes: the walk stops at the first 0x00.
        const auto item = BytesFromHex("A5 01 07");
        bytes.insert(bytes.end(), item.begin(), item.end());
        bytes.resize(bytes.size() + static_cast<std::size_t>(c.bodySize) - item.size(), 0x00);
    }
    const auto tail = BytesFromHex(c.tail);
    bytes.insert(bytes.end(), tail.begin(), tail.end());
    return bytes;
}

TEST(Header, FileLevelRules) {
    for (const FileCase& c : kFileCases) {
        SCOPED_TRACE(c.name);
        int nStyle = 7;
        const auto pMsg = DecodeExact(FileBytes(c), &nStyle);
        EXPECT_EQ(pMsg->m_bIncomplete, c.incomplete);
        EXPECT_EQ(pMsg->m_cells.size(), c.cells);
        EXPECT_EQ(nStyle, c.style);
    }
}

TEST(Header, NullStyleFlagIsAllowed) {
    const auto pMsg = DecodeBody("A5 01 07 31", nullptr);
    EXPECT_EQ(DumpCells(*pMsg), "U1 7");
}

}  // namespace
