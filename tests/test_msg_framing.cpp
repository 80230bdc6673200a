#include <gtest/gtest.h>

#include <string>

#include "io/HexConvert.h"
#include "io/MsgFraming.h"

namespace {

// Each message as its framing (B bare, H HSMS, S SECS-I), '!' when its note
// warns, then its bytes; messages separated by " | ".
std::string Messages(const std::string& strText) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string str;
    for (const CFramedMsg& msg : MessagesFromHexText(ReadHexText(strText))) {
        if (!str.empty()) str += " | ";
        str += "BHS"[static_cast<int>(msg.m_eFraming)];
        if (msg.m_bWarning) str += '!';
        for (unsigned char c : msg.m_bytes) {
            str += ' ';
            str += kDigits[c >> 4];
            str += kDigits[c & 15];
        }
    }
    return str;
}

struct FramingCase {
    const char* name;
    const char* text;
    const char* messages;
};

const FramingCase kFramingCases[] = {
    {"HSMS data message", "00 00 00 0A 00 01 81 01 00 00 00 00 00 07",
     "H 00 01 81 01 00 00 00 00 00 07"},
    {"HSMS two frames in one block",
     "0000000c 00018101 00000000 0007 0102\n0000000A FFFF0000 00050000 0008",
     "H 00 01 81 01 00 00 00 00 00 07 01 02 | H FF FF 00 00 00 05 00 00 00 08"},
    {"HSMS length one short is no proof", "00 00 00 0B 00 01 81 01 00 00 00 00 00 07",
     "B 00 00 00 0B 00 01 81 01 00 00 00 00 00 07"},
    {"SECS-I sum matches", "0A 00 01 81 01 80 01 00 00 00 07 01 0B",
     "S 00 01 81 01 80 01 00 00 00 07"},
    {"SECS-I wrong sum in plain text stays bare", "0A 00 01 81 01 80 01 00 00 00 07 01 0C",
     "B 0A 00 01 81 01 80 01 00 00 00 07 01 0C"},
    {"SECS-I wrong sum in a log warns", "Out: 0A 00 01 81 01 80 01 00 00 00 07 01 0C",
     "S! 00 01 81 01 80 01 00 00 00 07"},
    {"SECS-I blocks joined across lines",
     "Length ( 0C )\nblock 1: 00 01 86 0B 00 01 00 00 00 09 01 02 00 9F\n\n"
     "block 2: 0D 00 01 86 0B 80 02 00 00 00 09 A5 01 05 01 C8",
     "S 00 01 86 0B 80 01 00 00 00 09 01 02 A5 01 05"},
    {"SECS-I without the last block", "0C 00 01 86 0B 00 01 00 00 00 09 01 02 00 9F",
     "S! 00 01 86 0B 00 01 00 00 00 09 01 02"},
    {"HSMS control type with a body is no frame", "00 00 00 0C FF FF 00 00 00 05 00 00 00 01 01 00",
     "B 00 00 00 0C FF FF 00 00 00 05 00 00 00 01 01 00"},
    {"SECS-I blocks of other system bytes stay apart",
     "0C 00 01 86 0B 00 01 00 00 00 09 01 02 00 9F\n\n"
     "0D 00 01 86 0B 80 02 00 00 00 0A A5 01 05 01 C9",
     "S! 00 01 86 0B 00 01 00 00 00 09 01 02 | S 00 01 86 0B 80 02 00 00 00 0A A5 01 05"},
    {"bare messages split by a remark", "Send S1F1\n00 01 81 01 80 01 00 00 00 07\nRecv\n01 02",
     "B 00 01 81 01 80 01 00 00 00 07 | B! 01 02"},
};

TEST(MsgFraming, StripsOnlyProvenFraming) {
    for (const FramingCase& c : kFramingCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Messages(c.text), c.messages);
    }
}

TEST(MsgFraming, NotesNameWhatWasStripped) {
    const auto msgs = MessagesFromHexText(ReadHexText("00 00 00 0A FF FF 00 00 00 01 00 00 00 01"));
    ASSERT_EQ(msgs.size(), 1u);
    EXPECT_EQ(msgs[0].m_nSType, 1);
    EXPECT_EQ(msgs[0].m_strNote, "HSMS length 10 stripped; HSMS control Select.req");
}

TEST(MsgFraming, NumberedPathsKeepFoldersAndExtension) {
    EXPECT_EQ(NumberedPath("HexToSECS.BIG", 1), "HexToSECS.BIG");
    EXPECT_EQ(NumberedPath("HexToSECS.BIG", 2), "HexToSECS-2.BIG");
    EXPECT_EQ(NumberedPath("out.d/M", 12), "out.d/M-12");
    // A leading dot starts a hidden name, not an extension.
    EXPECT_EQ(NumberedPath(".x", 2), ".x-2");
    EXPECT_EQ(NumberedPath("d/.x", 3), "d/.x-3");
}

}  // namespace
