#include <gtest/gtest.h>

#include <string>

#include "io/HexText.h"

namespace {

// Blocks as upper-case pairs, blocks separated by " | ".
std::string Blocks(const CHexText& text) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string str;
    for (const CHexBlock& block : text.m_blocks) {
        if (!str.empty()) str += " | ";
        for (size_t i = block.m_nBegin; i < block.m_nEnd; ++i) {
            if (i > block.m_nBegin) str += ' ';
            str += kDigits[text.m_bytes[i] >> 4];
            str += kDigits[text.m_bytes[i] & 15];
        }
    }
    return str;
}

struct LayoutCase {
    const char* name;
    const char* text;
    const char* blocks;
};

const LayoutCase kLayouts[] = {
    // Only hex digits and white space: exactly the converter's old rules.
    {"plain pairs over lines", "00 01 81 03\n 80 01\n\n00 00 01 02\n",
     "00 01 81 03 80 01 00 00 01 02"},
    {"plain odd count", "ab c", "AB 0C"},
    {"plain odd word inside", "0 12", "01 02"},
    {"plain form feed scans", "4\f1", "04 01"},
    {"colons", "00:00:00:0a:ff:ff", "00 00 00 0A FF FF"},
    {"dots and dashes", "80.01-ab-CD 12.34", "80 01 AB CD 12 34"},
    {"joined with a label", "raw=0000000aFFFF", "00 00 00 0A FF FF"},
    {"C array", "unsigned char m[] = {0x00, 0x1, 0xAB,\n 0x0c};", "00 01 AB 0C"},
    {"C# array", "new byte[] { 0x80,0x01 }", "80 01"},
    {"0x with several bytes", "0x0000000A 0x8001", "00 00 00 0A 80 01"},
    {"python literal", R"(b'\x00\x01A\n\\\'')", "00 01 41 0A 5C 27"},
    {"xxd",
     "00000000: 0000 000a ffff 0102 0304 0506 0708 090a  ................\n"
     "00000010: 4142                                     AB\n",
     "00 00 00 0A FF FF 01 02 03 04 05 06 07 08 09 0A 41 42"},
    {"hexdump -C",
     "00000000  00 01 02 03 04 05 06 07  08 09 0a 0b 0c 0d 0e 0f  |................|\n"
     "00000010  41 42                                             |AB|\n"
     "00000012\n",
     "00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 41 42"},
    {"od -A x -t x1z",
     "000000 00 01 02 03 04 05 06 07 08 09 0a 0b 0c 0d 0e 0f  >................<\n"
     "000010 41 42                                            >AB<\n000012\n",
     "00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 41 42"},
    {"wireshark",
     "0000   00 01 02 03 04 05 06 07 08 09 0a 0b 0c 0d 0e 0f   ................\n"
     "0010   ab cd                                              ..\n",
     "00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F AB CD"},
    {"tcpdump -X", "\t0x0000:  4500 0034 abcd                      E..4..\n", "45 00 00 34 AB CD"},
    {"not an offset: HSMS length", "0000000A 00 00 86 0B", "00 00 00 0A 00 00 86 0B"},
    {"not an offset: same width", "0000 000A", "00 00 00 0A"},
    {"time stamps and direction",
     "2026-12-07 10:00:00.123 In : 00 00 86 0B\n10:00:01 Out: 01 02\n10:00:01 03",
     "00 00 86 0B | 01 02 03"},
    {"decimals before the last label", "[conn 3] len=12 data=00 01", "00 01"},
    {"header data checksum", "Header ( 00 00 81 01 )\nData ( 01 02 )\nChecksum ( 03 4F )",
     "00 00 81 01 01 02 03 4F"},
    {"bracketed and pipes", "[00 00|92 07|00 00|00 00 00 01]", "00 00 92 07 00 00 00 00 00 01"},
    {"remark lines split messages", "Send S1F1 W\n00 01\nRecv S1F2\n00 02 03\n\n04",
     "00 01 | 00 02 03 | 04"},
    {"remark with numbers", "Recv S1F2 len 12\n00 01\n\nSend S1F3 12 bytes\n02", "00 01 | 02"},
    {"no bytes at all", "hello, world\n", ""},
    // Text before a line's bytes never becomes bytes.
    {"length as key=value", "SEND S1F1 W len=10 00 00 81 01 00 00 00 00 00 07",
     "00 00 81 01 00 00 00 00 00 07"},
    {"tag in square brackets", "[FAB 12] 00 00 81 01 00 00 00 00 00 07",
     "00 00 81 01 00 00 00 00 00 07"},
    {"word like a byte", "EQ AB send 00 00 81 01 00 00 00 00 00 07",
     "00 00 81 01 00 00 00 00 00 07"},
    {"second time stamp", "2026-12-07 10:00:00.100 10:00:00 00 00 81 01 00 00 00 00 00 07",
     "00 00 81 01 00 00 00 00 00 07"},
};

TEST(HexText, Layouts) {
    for (const LayoutCase& c : kLayouts) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Blocks(ReadHexText(c.text)), c.blocks);
    }
}

TEST(HexText, LogsSplitPlainTextAtBlankLines) {
    EXPECT_EQ(Blocks(ReadHexText("00 01\n02\n\n03 04", false)), "00 01 02 | 03 04");
}

TEST(HexText, BlockTimeComesFromItsLineOrTheRemarkBefore) {
    const CHexText text =
        ReadHexText("10:00:00.5 Send S1F1\n00 01\n\n[2026-12-07 10:00:02] Out: 02");
    ASSERT_EQ(text.m_blocks.size(), 2u);
    EXPECT_EQ(text.m_blocks[0].m_strTime, "10:00:00.5");
    EXPECT_EQ(text.m_blocks[0].m_nLine, 2u);
    EXPECT_EQ(text.m_blocks[1].m_strTime, "2026-12-07 10:00:02");
}

}  // namespace
