#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "TestHelpers.h"
#include "decode/Decode.h"
#include "decode/MsgDocWalk.h"
#include "io/MsgFile.h"
#include "render/SmlWriter.h"

namespace {

std::string ItemSml(const std::string& strItemHex, ESmlDialect eDialect) {
    const std::vector<unsigned char> bytes = MessageBytes(6, 11, strItemHex);
    return ItemToSml(DecodeMsgDoc(bytes), 0, eDialect);
}

std::string FileSml(const std::vector<unsigned char>& bytes, ESmlDialect eDialect) {
    CDecode decoder;
    const auto pMsg = decoder.Decode(bytes.data(), static_cast<unsigned>(bytes.size()), nullptr);
    return MessageToSml(*pMsg->m_pDoc, eDialect);
}

std::string ReadText(const std::string& strPath) {
    std::ifstream in(strPath, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

struct SmlCase {
    const char* name;
    const char* item;
    const char* sml;
};

// Expectations copied from go-secs' own tests (secs2/*_test.go).
const SmlCase kGoSecs[] = {
    {"empty ASCII", "41 00", R"(<A[0] "">)"},
    {"binary", "21 03 01 02 FF", "<B[3] 0x01 0x02 0xFF>"},
    {"boolean", "25 03 00 01 01", "<BOOLEAN[3] False True True>"},
    {"F4 nine digits", "91 0C BF9DF3B6 00000000 40490FD0", "<F4[3] -1.23399997 0 3.14159012>"},
    {"F8 extremes", "81 18 FFEFFFFFFFFFFFFF 0000000000000000 7FEFFFFFFFFFFFFF",
     "<F8[3] -1.7976931348623157E+308 0 1.7976931348623157E+308>"},
    {"F8 subnormal", "81 18 8000000000000001 C000000000000000 FFEFFFFFFFFFFFFF",
     "<F8[3] -4.9406564584124654E-324 -2 -1.7976931348623157E+308>"},
    {"I8 in full", "61 18 8000000000000000 0000000000000000 7FFFFFFFFFFFFFFF",
     "<I8[3] -9223372036854775808 0 9223372036854775807>"},
    {"nested lists", "01 02 01 00 01 01 65 02 64 65",
     "<L[2]\n  <L[0]>\n  <L[1]\n    <I1[2] 100 101>\n  >\n>"},
    {"deeper", "01 02 01 02 69 04 0064 00C8 01 01 41 04 74657874 91 08 42053333 4260851F",
     "<L[2]\n  <L[2]\n    <I2[2] 100 200>\n    <L[1]\n      <A[4] \"text\">\n    >\n  >\n"
     "  <F4[2] 33.2999992 56.1300011>\n>"},
};

// secs4net's tests only round-trip, so these follow its SmlWriter.cs (.NET 8
// target: F4 as "G9", F8 shortest, four blanks a level, "True"/"False").
const SmlCase kSecs4net[] = {
    {"F4 G9", "91 0C 46B4A66D 45114389 C1A10C4A", "    <F4 [3] 23123.2129 2324.22095 -20.1310005>"},
    {"F8 shortest, E from 1E+15", "81 18 4059000000000000 430C6BF526340000 3EE4F8B588E368F1",
     "    <F8 [3] 100 1E+15 1E-05>"},
    {"F8 non-finite", "81 10 7FF0000000000000 FFF0000000000000", "    <F8 [2] Infinity -Infinity>"},
    {"empty items", "01 03 B1 00 41 00 21 00",
     "    <L [3] \n        <U4 [0] >\n        <A [0] ''>\n        <B [0] >\n    >"},
    {"ASCII above 0x7F", "41 03 41 E9 0A", "    <A [3] 'A?\n'>"},
    {"JIS-8 as UTF-8", "45 05 41 C3 A9 FF C3", "    <J [5] 'A\xC3\xA9\xEF\xBF\xBD\xEF\xBF\xBD'>"},
    {"boolean byte values", "25 02 00 FF", "    <Boolean [2] False True>"},
};

// The standard dialect: every byte and bit reads back.
const SmlCase kStandard[] = {
    {"text runs", "41 06 41 22 0A 42 43 7F", R"(<A [6] "A" 0x22 0x0A "BC" 0x7F>)"},
    {"boolean byte values", "25 03 00 01 FF", "<BOOLEAN [3] FALSE TRUE 0xFF>"},
    {"U8 and I8 in full", "A1 08 FFFFFFFFFFFFFFFF", "<U8 [1] 18446744073709551615>"},
    {"F4 shortest", "91 0C 3DCCCCCD 7F800000 00000001", "<F4 [3] 0.1 inf 1e-45>"},
    {"F8 shortest", "81 10 3FB999999999999A 8000000000000000", "<F8 [2] 0.1 -0>"},
    {"NaN payloads in hex", "91 10 7F800001 FFC00001 7FC00000 FFC00000",
     "<F4 [4] nan(0x1) -nan(0x400001) nan -nan>"},
    {"F8 NaN payload", "81 08 7FF0000000000001", "<F8 [1] nan(0x1)>"},
    {"empty list and items", "01 02 01 00 21 00", "<L [2]\n  <L [0]>\n  <B [0]>\n>"},
};

void ExpectItems(std::span<const SmlCase> cases, ESmlDialect eDialect) {
    for (const SmlCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ItemSml(c.item, eDialect), c.sml);
    }
}

TEST(SmlDialects, ItemsAsEachLibraryWritesThem) {
    ExpectItems(kGoSecs, ESmlDialect::kGoSecs);
    ExpectItems(kSecs4net, ESmlDialect::kSecs4net);
    ExpectItems(kStandard, ESmlDialect::kStandard);
}

TEST(SmlDialects, MessageFrames) {
    const auto hi = MessageBytes(1, 1, "41 02 68 69");
    // go-secs sml/encoder_test.go, with the default unquoted header; no W-bit there.
    auto noWait = hi;
    noWait[2] = 0x01;
    EXPECT_EQ(FileSml(noWait, ESmlDialect::kGoSecs), "S1F1\n<A[2] \"hi\">\n.");
    EXPECT_EQ(FileSml(hi, ESmlDialect::kSecs4net), "'S1F1'W\n    <A [2] 'hi'>\n.\n");
    EXPECT_EQ(FileSml(hi, ESmlDialect::kSecsgem), "S1F1 W\n  <A \"hi\"> .");
    EXPECT_EQ(FileSml(hi, ESmlDialect::kStandard),
              "S1F1 W device=1 system=0x00000001\n<A [2] \"hi\">\n.");
    const auto empty = MessageBytes(1, 1, "");
    EXPECT_EQ(FileSml(empty, ESmlDialect::kGoSecs), "S1F1 W\n\n.");
    EXPECT_EQ(FileSml(empty, ESmlDialect::kSecs4net), "'S1F1'W\n.\n");
    EXPECT_EQ(FileSml(empty, ESmlDialect::kSecsgem), "S1F1 W .");
}

TEST(SmlDialects, SecsgemRecordings) {
    const std::string strDir = BREVIX_TEST_DATA_DIR "/sml/";
    std::vector<unsigned char> bytes;
    std::string strError;
    ASSERT_TRUE(ReadMessageFile(strDir + "every_value.BIG", bytes, strError)) << strError;
    EXPECT_EQ(FileSml(bytes, ESmlDialect::kSecsgem) + "\n",
              ReadText(strDir + "every_value.secsgem.sml"));
    // The clean samples, as the recording names them (secsgem cannot decode cut files).
    std::string strAll;
    for (const char* szName :
         {"S1F1", "S1F13", "S1F14", "S1F2", "S1F3", "S1F4", "S2F41", "S5F1", "S6F11", "S7F3"}) {
        ASSERT_TRUE(ReadMessageFile(BREVIX_SAMPLES_DIR "/" + std::string(szName) + ".BIG", bytes,
                                    strError));
        strAll += FileSml(bytes, ESmlDialect::kSecsgem) + "\n";
    }
    EXPECT_EQ(strAll, ReadText(strDir + "samples.secsgem.sml"));
}

struct DamageCase {
    const char* name;
    const char* body;
    const char* sml;
};
const DamageCase kDamage[] = {
    {"list cut", "01 02 A5 01 05",
     "<L [1]\n  <U1 [1] 5>\n>\n.\n// damage at offset 15: data ends inside the list at offset 10 "
     "(0xA): declares 2 items, got 1\n"},
    {"item cut", "A9 04 00 01",
     "<U2 [1] 1>\n.\n// damage at offset 10: data ends inside 2-byte unsigned integer item: "
     "declares 4 data bytes, 2 present\n"},
    {"unknown format", "01 02 05 01 FF A5 01 07",
     "<L [1]\n  <U1 [1] 7>\n>\n.\n// damage at offset 12: item of unknown format byte 0x05 "
     "skipped: declares 1 data byte, 1 present\n"},
    {"zero byte", "A5 01 07 00 31 32",
     "<U1 [1] 7>\n.\n// damage at offset 13: 0x00 ends the body; 2 bytes after it ignored\n"},
};

TEST(SmlDamage, WrittenAsFarAsDecodedThenNamed) {
    for (const DamageCase& c : kDamage) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FileSml(MessageBytes(6, 11, c.body), ESmlDialect::kStandard),
                  std::string("S6F11 W device=1 system=0x00000001\n") + c.sml);
    }
    EXPECT_EQ(FileSml({0x00, 0x01, 0x81}, ESmlDialect::kStandard),
              "S1F0 W device=1 system=0x00000000\n.\n// damage at offset 3: file shorter than the "
              "header: 3 of 10 bytes\n");
}

// Copy as SML of a subtree carries the damage lines --sml writes for the
// bytes under it, and no others.
TEST(SmlDialects, SubtreeCopiesCarryTheirDamage) {
    const auto bytes = MessageBytes(6, 11, "01 02 A5 01 07 01 01 41 05 41 42");
    CDecode decoder;
    const auto pMsg = decoder.Decode(bytes.data(), static_cast<unsigned>(bytes.size()), nullptr);
    const std::string strWhole = MessageToSml(*pMsg->m_pDoc, ESmlDialect::kStandard);
    const std::string strDamage = strWhole.substr(strWhole.find("// damage"));
    EXPECT_EQ(strDamage,
              "// damage at offset 17: data ends inside ASCII item: declares 5 data bytes, 2 "
              "present\n");
    const std::string strInner = TreeNodeToSml(*pMsg, 2);  // L[1] holding the cut item
    EXPECT_NE(strInner.find("\n" + strDamage), std::string::npos) << strInner;
    EXPECT_EQ(TreeNodeToSml(*pMsg, 1).find("// damage"), std::string::npos);  // U1 7
}

}  // namespace
