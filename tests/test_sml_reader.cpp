#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "TestHelpers.h"
#include "decode/Decode.h"
#include "io/SmlReader.h"
#include "render/FormatText.h"
#include "render/SmlWriter.h"

namespace {

std::string Hex(const std::vector<unsigned char>& bytes) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string str;
    for (unsigned char b : bytes) {
        if (!str.empty()) str += ' ';
        str += kDigits[b >> 4];
        str += kDigits[b & 15];
    }
    return str;
}

struct ReadCase {
    const char* name;
    const char* sml;
    const char* file;  // header and body of the first message, hex
};
const ReadCase kReadCases[] = {
    {"standard", "S6F11 W\n<L [2]\n  <U4 [1] 5>\n  <A [2] \"EV\">\n>\n.",
     "00 00 86 0B 80 01 00 00 00 01 01 02 B1 04 00 00 00 05 41 02 45 56"},
    {"no W, no count, no terminator", "S1F2 <L <U1 1 2> <BOOLEAN TRUE F>>",
     "00 00 01 02 80 01 00 00 00 01 01 02 A5 02 01 02 25 02 01 00"},
    {"comments", "/* a */ S1F1 // b\n W <A 'x' /* c */ 0x0A> .",
     "00 00 81 01 80 01 00 00 00 01 41 02 78 0A"},
    {"secs4net", "Name:'S1F2'W\n    <L [1] \n        <Boolean [2] True False>\n    >\n.\n",
     "00 00 81 02 80 01 00 00 00 01 01 01 25 02 01 00"},
    {"go-secs", "S1F1\n<L[2]\n  <I8[1] -9223372036854775808>\n  <B[0]>\n>\n.",
     "00 00 01 01 80 01 00 00 00 01 01 02 61 08 80 00 00 00 00 00 00 00 21 00"},
    {"secsgem", "S1F1 W\n  <L [2]\n    <U8 18446744073709551615 >\n    <F4 -0.0 >\n  > .",
     "00 00 81 01 80 01 00 00 00 01 01 02 A1 08 FF FF FF FF FF FF FF FF 91 04 80 00 00 00"},
    {"floats by name", "S1F1 <F8 +Inf -Infinity> <F4 NaN 1e-45>",
     "00 00 01 01 80 01 00 00 00 01 81 10 7F F0 00 00 00 00 00 00 FF F0 00 00 00 00 00 00 "
     "91 08 7F C0 00 00 00 00 00 01"},
    {"header fields", "S1F1 W system=0x2A device=2 <U1 1>",
     "00 02 81 01 80 01 00 00 00 2A A5 01 01"},
    {"hex and binary integers", "S1F1 <U2 0xFFFF> <I1 -0x80 0b111>",
     "00 00 01 01 80 01 00 00 00 01 A9 02 FF FF 65 02 80 07"},
};

TEST(SmlReader, MessagesToBytes) {
    for (const ReadCase& c : kReadCases) {
        SCOPED_TRACE(c.name);
        std::vector<SSmlMessage> messages;
        SSmlError error;
        ASSERT_TRUE(ReadSml(c.sml, messages, error))
            << error.nLine << ":" << error.nColumn << ": " << error.strText;
        ASSERT_FALSE(messages.empty());
        EXPECT_EQ(Hex(SmlMessageFile(messages[0], 1)), c.file);
    }
}

TEST(SmlReader, SeveralMessagesAndLongItems) {
    std::vector<SSmlMessage> messages;
    SSmlError error;
    const std::string strLong = "S1F1 <A \"" + std::string(256, 'x') + "\"> . S2F2 .";
    ASSERT_TRUE(ReadSml(strLong, messages, error));
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(Hex({messages[0].body.begin(), messages[0].body.begin() + 3}), "42 01 00");
    EXPECT_EQ(messages[1].nStream, 2);
    EXPECT_TRUE(messages[1].body.empty());
}

// What other libraries write and this reader used to lose: quotes they do
// not escape (secsgem's recording, tests/data/sml/every_value.secsgem.sml
// line 14; go-secs with a count; secs4net), JIS X 0201 characters in UTF-8,
// the header fields and NaN payloads the standard dialect writes.
const ReadCase kWholeCases[] = {
    {"secsgem recording, quote inside", R"(S1F1 <A "A"B" 0xa 0xe9 0x7f " C">)",
     "00 00 01 01 80 01 00 00 00 01 41 08 41 22 42 0A E9 7F 20 43"},
    {"secsgem, quoted word at the end", R"(S1F1 <A "say "hi"">)",
     "00 00 01 01 80 01 00 00 00 01 41 08 73 61 79 20 22 68 69 22"},
    {"secsgem, quote before a blank", R"(S1F1 <A "a" ">)",
     "00 00 01 01 80 01 00 00 00 01 41 03 61 22 20"},
    {"go-secs, the count ends the text", R"(S1F1 <A[4] "a">b">)",
     "00 00 01 01 80 01 00 00 00 01 41 04 61 22 3E 62"},
    {"secs4net, apostrophe", "S1F1 <A [4] 'it's'>",
     "00 00 01 01 80 01 00 00 00 01 41 04 69 74 27 73"},
    {"secsgem recording, JIS X 0201 in UTF-8", "S1F1 <J \"A\u00A5\u203E\uFF71\uFF9F\" 0xa>",
     "00 00 01 01 80 01 00 00 00 01 45 06 41 5C 7E B1 DF 0A"},
    {"UTF-8 outside JIS X 0201 stays bytes", "S1F1 <J \"\u00E9\">",
     "00 00 01 01 80 01 00 00 00 01 45 02 C3 A9"},
    {"header fields", "S6F11 W device=1 system=0x00000106 <L [0]>",
     "00 01 86 0B 80 01 00 00 01 06 01 00"},
    {"F4 NaN payloads", "S1F1 <F4 nan(0x1) -nan(0x400001) NAN(0x7FFFFF)>",
     "00 00 01 01 80 01 00 00 00 01 91 0C 7F 80 00 01 FF C0 00 01 7F FF FF FF"},
    {"F8 NaN payload", "S1F1 <F8 -nan(0x8000000000001)>",
     "00 00 01 01 80 01 00 00 00 01 81 08 FF F8 00 00 00 00 00 01"},
};

TEST(SmlReader, ComesBackWhole) {
    for (const ReadCase& c : kWholeCases) {
        SCOPED_TRACE(c.name);
        std::vector<SSmlMessage> messages;
        SSmlError error;
        ASSERT_TRUE(ReadSml(c.sml, messages, error))
            << error.nLine << ":" << error.nColumn << ": " << error.strText;
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(Hex(SmlMessageFile(messages[0], 1)), c.file);
    }
}

struct ErrorCase {
    const char* name;
    const char* sml;
    int line, column;
    const char* text;
};
const ErrorCase kErrorCases[] = {
    {"unclosed list", "S1F1\n<L\n  <U1 1>\n", 4, 1, "expected \"<\" or \">\""},
    {"unclosed item", "S1F1 <U1 1", 1, 11, "expected \">\""},
    {"unknown format", "S1F1 <X 1>", 1, 8, "expected a format name such as \"L\" or \"U4\""},
    {"U1 range", "S1F1\n<U1 1 256>", 2, 7, "expected an integer from 0 to 255"},
    {"I2 range", "S1F1 <I2 -32769>", 1, 10, "expected an integer from -32768 to 32767"},
    {"bad float", "S1F1 <F4 1.5x>", 1, 10, "expected a number that fits an F4"},
    {"F4 overflow", "S1F1 <F4 1e39>", 1, 10, "expected a number that fits an F4"},
    {"count mismatch", "S1F1 <L [2] <U1 1>>", 1, 9, "expected 2 items, found 1"},
    {"value count mismatch", "S1F1 <U2 [1] 1 2>", 1, 10, "expected 1 values, found 2"},
    {"no header", "<U1 1>", 1, 1, "expected a message header such as \"S1F1\""},
    {"stream too big", "S128F1", 1, 1, "expected a stream from 0 to 127"},
    {"open comment", "S1F1 /* never closed", 1, 21, "expected \"*/\""},
    {"open quote", "S1F1 <A \"abc>", 1, 14, "expected \""},
    {"text in a number", "S1F1 <U1 \"a\">", 1, 10, "expected \">\""},
    {"device too big", "S1F1 W device=32768", 1, 15, "expected a device id from 0 to 32767"},
    {"stray word", "S1F1 <U1 1> junk", 1, 13, "expected \"<\" or \".\""},
    {"NaN payload too wide", "S1F1 <F4 nan(0x800000)>", 1, 10, "expected a number that fits an F4"},
    {"quote ends the text too early", "S1F1 <A \"a\">b\">", 1, 13, "expected \"<\" or \".\""},
};

TEST(SmlReader, ErrorsNameLineAndColumn) {
    for (const ErrorCase& c : kErrorCases) {
        SCOPED_TRACE(c.name);
        std::vector<SSmlMessage> messages;
        SSmlError error;
        EXPECT_FALSE(ReadSml(c.sml, messages, error));
        EXPECT_TRUE(messages.empty());
        EXPECT_EQ(std::to_string(error.nLine) + ":" + std::to_string(error.nColumn) + ": " +
                      error.strText,
                  std::to_string(c.line) + ":" + std::to_string(c.column) + ": " + c.text);
    }
}

// A random body: nested lists and items of every format with random bytes.
class CBodyMaker {
public:
    explicit CBodyMaker(unsigned nSeed) : m_rng(nSeed) {}

    std::vector<unsigned char> Body() {
        std::vector<unsigned char> body;
        Item(body, 0);
        return body;
    }

private:
    int Pick(int n) { return static_cast<int>(m_rng() % static_cast<unsigned>(n)); }

    void Header(std::vector<unsigned char>& out, int nNumber, std::size_t nLength) {
        const int n = nLength > 0xFFFF ? 3 : nLength > 0xFF ? 2 : 1;
        out.push_back(static_cast<unsigned char>(nNumber << 2 | n));
        for (int i = n - 1; i >= 0; --i)
            out.push_back(static_cast<unsigned char>(nLength >> (8 * i)));
    }

    void Item(std::vector<unsigned char>& out, int nDepth) {
        static const int kNumbers[] = {010, 011, 020, 021, 030, 031, 032,
                                       034, 040, 044, 050, 051, 052, 054};
        static const int kWidths[] = {1, 1, 1, 1, 8, 1, 2, 4, 8, 4, 8, 1, 2, 4};
        if (nDepth < 4 && Pick(4) == 0) {
            const int nItems = Pick(5);
            Header(out, 0, static_cast<std::size_t>(nItems));
            for (int i = 0; i < nItems; ++i) Item(out, nDepth + 1);
            return;
        }
        const int k = Pick(14);
        const std::size_t nCount = static_cast<std::size_t>(Pick(4) == 0 ? Pick(300) : Pick(5));
        Header(out, kNumbers[k], nCount * static_cast<std::size_t>(kWidths[k]));
        for (std::size_t i = 0; i < nCount; ++i) Element(out, kNumbers[k], kWidths[k]);
    }

    void Element(std::vector<unsigned char>& out, int nNumber, int nWidth) {
        std::uint64_t bits = (static_cast<std::uint64_t>(m_rng()) << 32) | m_rng();
        // Every fourth float a NaN with a random payload, quiet or not.
        if (nNumber == 040 && Pick(4) == 0) bits |= 0x7FF0000000000001;
        if (nNumber == 044 && Pick(4) == 0) bits |= 0x7F800001;
        for (int i = nWidth - 1; i >= 0; --i)
            out.push_back(static_cast<unsigned char>(bits >> (8 * i)));
    }

    std::mt19937 m_rng;
};

std::vector<unsigned char> RoundTrip(const std::vector<unsigned char>& file) {
    CDecode decoder;
    const auto pMsg = decoder.Decode(file.data(), static_cast<unsigned>(file.size()), nullptr);
    const std::string strSml = MessageToSml(*pMsg->m_pDoc, ESmlDialect::kStandard);
    std::vector<SSmlMessage> messages;
    SSmlError error;
    EXPECT_TRUE(ReadSml(strSml, messages, error))
        << error.nLine << ":" << error.nColumn << ": " << error.strText << "\n"
        << strSml;
    EXPECT_EQ(messages.size(), 1u);
    return messages.empty() ? std::vector<unsigned char>() : SmlMessageFile(messages[0], 1);
}

std::vector<unsigned char> Body(const std::vector<unsigned char>& file, bool bStyleByte) {
    return {file.begin() + 10, file.end() - (bStyleByte ? 1 : 0)};
}

TEST(SmlRoundTrip, GeneratedMessagesOfEveryFormat) {
    for (unsigned nSeed = 1; nSeed <= 300; ++nSeed) {
        SCOPED_TRACE(nSeed);
        const std::vector<unsigned char> body = CBodyMaker(nSeed).Body();
        std::vector<unsigned char> file = MessageBytes(6, 11, "");
        for (int i : {0, 1, 6, 7, 8, 9}) file[i] = static_cast<unsigned char>(nSeed * (i + 7));
        file[0] &= 0x7F;  // the R-bit has no place in SML
        file.insert(file.end(), body.begin(), body.end());
        ASSERT_EQ(Hex(RoundTrip(file)), Hex(file));
    }
}

// Clean files with the fewest length bytes come back byte for byte (header
// and style byte excepted); the others keep their listing; damaged ones
// still read back.
TEST(SmlRoundTrip, SamplesAndCorpus) {
    int nSame = 0;
    for (const SMessageFile& f :
         ReadBigFiles({BREVIX_SAMPLES_DIR, BREVIX_FUZZ_CORPUS_DIR, BREVIX_TEST_DATA_DIR})) {
        SCOPED_TRACE(f.strPath);
        const std::vector<unsigned char>& file = f.bytes;
        const std::vector<unsigned char> back = RoundTrip(file);
        CDecode decoder;
        auto pBefore = decoder.Decode(file.data(), static_cast<unsigned>(file.size()), nullptr);
        if (!IsCleanMessage(*pBefore)) continue;
        const CMsgDoc& doc = *pBefore->m_pDoc;
        bool bFewest = true;
        for (const SItemRow& item : doc.m_rows) {
            bFewest =
                bFewest && item.nLengthBytes == LengthByteCount(static_cast<int>(item.nDeclared));
        }
        if (bFewest) {
            EXPECT_EQ(Hex(Body(back, false)), Hex(Body(file, doc.m_nStyleByte >= 0)));
            ++nSame;
            continue;
        }
        auto pAfter = decoder.Decode(back.data(), static_cast<unsigned>(back.size()), nullptr);
        EXPECT_EQ(decoder.GetMsgText(pAfter.get(), 0, 1), decoder.GetMsgText(pBefore.get(), 0, 1));
    }
    EXPECT_GE(nSame, 10);
}

}  // namespace
