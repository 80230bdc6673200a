#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestHelpers.h"
#include "io/Importer.h"
#include "io/SessionIndex.h"

namespace {

// Select.req, then S1F1W and S1F2 (system bytes 1), S6F11W (2) and an S1F3W
// cut off by the end of the capture.
const char kSelect[] = "0000000A FFFF0000 00010000 0005";
const char kS1F1[] = "0000000A 00008101 00000000 0001";
const char kS6F11[] = "00000013 0000860B 00000000 0002 0102A501 07410241 42";

std::vector<CTestSegment> Conversation() {
    return {
        {true, 0, "", 0, true},
        {true, 0, std::string(kSelect) + kS1F1, 1000000},  // two messages in one segment
        {false, 0, "0000000C 0000", 1002000},              // S1F2 split in two
        {false, 6, "0102 00000000 0001 0100", 1002500},
        {true, 44, "A5 01 07 41 02 41 42", 1010000},         // S6F11W: its end first,
        {true, 28, "00000013 0000860B", 1011000},            // then its start,
        {true, 28, "00000013 0000860B", 1012000},            // again,
        {true, 32, "0000860B 00000000 0002 0102", 1013000},  // and the overlapping middle
        {true, 51, "0000000C 00008103 00000000 0003 01", 1020000},
    };
}

const char kIndexHead[] =
    "seq\ttime\tsource\tdestination\tmessage\twait\tsystem\treply_to\tlatency_ms\n";
const char kIndexRows[] =
    "1\t1970-01-01 00:00:01.000000\t10.0.0.1:40000\t10.0.0.2:5000\tS1F1W\t1\t00000001\t\t\n"
    "2\t1970-01-01 00:00:01.002500\t10.0.0.2:5000\t10.0.0.1:40000\tS1F2\t0\t00000001\t1\t2.500\n"
    "3\t1970-01-01 00:00:01.013000\t10.0.0.1:40000\t10.0.0.2:5000\tS6F11W\t1\t00000002\t\t\n";
const char kCutOff[] =
    "10.0.0.1:40000 -> 10.0.0.2:5000: capture ends inside a message, 15 bytes of 16";

CSession Import(const std::vector<unsigned char>& bytes, int nPort = -1) {
    CSession session;
    CSessionOptions opts;
    opts.nPort = nPort;
    std::string strError;
    EXPECT_TRUE(SessionFromBytes(bytes, opts, session, strError)) << strError;
    return session;
}

std::vector<std::string> Warnings(const CSession& session) {
    std::vector<std::string> warnings;
    for (const SSessionWarning& w : session.Warnings()) warnings.push_back(w.strText);
    return warnings;
}

// The messages an import writes (control messages left out), with their bytes.
std::vector<std::vector<unsigned char>> Written(const CSession& session) {
    std::vector<std::vector<unsigned char>> msgs;
    std::vector<unsigned char> scratch;
    for (std::size_t i = 0; i < session.Messages().size(); ++i) {
        const SSessionMsg& m = session.Messages()[i];
        if ((m.nFlags & SSessionMsg::kHsms) && m.nSType) continue;
        const auto bytes = session.Bytes(i, scratch);
        msgs.emplace_back(bytes.begin(), bytes.end());
    }
    return msgs;
}

TEST(Import, CapturesReassembledInBothDirections) {
    for (bool bPcapng : {false, true}) {
        SCOPED_TRACE(bPcapng ? "pcapng" : "pcap");
        const CSession session = Import(CaptureBytes(Conversation(), bPcapng));
        EXPECT_EQ(ImportIndex({&session}, false), std::string(kIndexHead) + kIndexRows);
        EXPECT_EQ(Warnings(session), std::vector<std::string>{kCutOff});
        ASSERT_EQ(Written(session).size(), 3u);
        EXPECT_EQ(Written(session)[2], BytesFromHex(std::string(kS6F11).substr(9)));
    }
}

TEST(Import, ControlMessagesOnlyWhenAskedAndPortFilters) {
    const CSession control = Import(CaptureBytes(Conversation(), false));
    ASSERT_EQ(control.Messages().size(), 4u);
    EXPECT_EQ(ImportFileName(1, control.MessageName(0)), "000001_Select.req.BIG");
    EXPECT_EQ(ImportFileName(4, control.MessageName(3)), "000004_S6F11W.BIG");
    EXPECT_EQ(ImportIndex({&control}, true).substr(sizeof kIndexHead - 1, 2), "1\t");
    EXPECT_TRUE(Import(CaptureBytes(Conversation(), false), 5001).Messages().empty());
}

TEST(Import, GapIsReportedAndFramingResumes) {
    const std::vector<CTestSegment> segments = {
        {true, 0, kS1F1, 1000000},
        {true, 14, "00000013 0000860B", 1001000},  // the middle of S6F11W never comes
        {true, 30, "A5 01 07 41 02 41 42", 1002000},
        {true, 37, "0000000A 00008101 00000000 0004", 1003000},
    };
    const CSession session = Import(CaptureBytes(segments, false));
    ASSERT_EQ(Written(session).size(), 2u);
    EXPECT_EQ(Written(session)[1], BytesFromHex("00008101 00000000 0004"));
    EXPECT_EQ(Warnings(session), (std::vector<std::string>{
                                     "10.0.0.1:40000 -> 10.0.0.2:5000: 8 bytes missing at stream "
                                     "offset 22, 8 bytes of a message dropped",
                                     "10.0.0.1:40000 -> 10.0.0.2:5000: framing found again, 7 "
                                     "bytes passed over"}));
}

TEST(Import, CaptureStartingInsideAMessageLocksOnTwoHeaders) {
    const std::vector<CTestSegment> segments = {
        {true, 0, std::string("8101 00000000 0001") + kS1F1 + kS6F11, 1000000},
    };
    const CSession session = Import(CaptureBytes(segments, false));
    ASSERT_EQ(Written(session).size(), 2u);
    EXPECT_EQ(Warnings(session),
              std::vector<std::string>{"10.0.0.1:40000 -> 10.0.0.2:5000: capture starts inside a "
                                       "message, 8 bytes passed over"});
}

TEST(Import, TextLogTimesAndReplies) {
    const std::string strLog =
        "2026-12-07 10:00:00.100 Out: 00 00 81 01 00 00 00 00 00 07\n"
        "2026-12-07 10:00:00.350 In : 00 00 01 02 00 00 00 00 00 07\n"
        "2026-12-07 10:00:01 In : 00 00 01 02 00 00 00 00 00 07\n";
    const std::vector<unsigned char> bytes(strLog.begin(), strLog.end());
    const CSession session = Import(bytes);
    EXPECT_EQ(ImportIndex({&session}, false),
              std::string(kIndexHead) +
                  "1\t2026-12-07 10:00:00.100000\t\t\tS1F1W\t1\t00000007\t\t\n"
                  "2\t2026-12-07 10:00:00.350000\t\t\tS1F2\t0\t00000007\t1\t250.000\n"
                  "3\t2026-12-07 10:00:01.000000\t\t\tS1F2\t0\t00000007\t\t\n");
}

}  // namespace
