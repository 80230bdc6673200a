#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "TestHelpers.h"
#include "io/SessionFilter.h"
#include "io/SessionIndex.h"

namespace {

using Bytes = std::vector<unsigned char>;

CSession Open(const Bytes& bytes, std::int64_t nT3Micros = 45'000'000) {
    CSession session;
    CSessionOptions opts;
    opts.nT3Micros = nT3Micros;
    std::string strError;
    EXPECT_TRUE(SessionFromBytes(bytes, opts, session, strError)) << strError;
    return session;
}

// "S1F1W answered, S1F2 ok<-1": name, status, and what a reply answers.
std::string Summary(const CSession& session) {
    std::string str;
    for (std::size_t i = 0; i < session.Messages().size(); ++i) {
        const SSessionMsg& m = session.Messages()[i];
        if (!str.empty()) str += ", ";
        str += session.MessageName(i) + " " + MsgStatusWord(m.eStatus);
        if (m.nReplyTo) str += "<-" + std::to_string(m.nReplyTo);
    }
    return str;
}

const char kS1F1[] = "0000000A 00008101 00000000 0001";
const char kS1F2[] = "0000000A 00000102 00000000 0001";

// Ethernet/IPv4 frames rewritten into the other link and IP layouts.
struct LinkCase {
    const char* name;
    int nLink;
    std::function<void(Bytes&)> rewrite;
};

void SetBe16(Bytes& f, std::size_t i, unsigned int v) {
    f[i] = static_cast<unsigned char>(v >> 8);
    f[i + 1] = static_cast<unsigned char>(v);
}

void ToIpv6(Bytes& f) {
    const Bytes tcp(f.begin() + 34, f.end());
    Bytes ip = BytesFromHex("60000000 0000 06 40");
    SetBe16(ip, 4, static_cast<unsigned int>(tcp.size()));
    for (unsigned char nEnd : {f[29], f[33]}) {  // fe80::1 and fe80::2 as the IPv4 ends were
        const Bytes addr = BytesFromHex("FE800000 00000000 00000000 000000");
        ip.insert(ip.end(), addr.begin(), addr.end());
        ip.push_back(nEnd);
    }
    f.resize(12);
    f.insert(f.end(), {0x86, 0xDD});
    f.insert(f.end(), ip.begin(), ip.end());
    f.insert(f.end(), tcp.begin(), tcp.end());
}

const LinkCase kLinkCases[] = {
    {"Ethernet", 1, [](Bytes&) {}},
    {"VLAN tag", 1,
     [](Bytes& f) {
         f.insert(f.begin() + 12, {0x81, 0x00, 0x00, 0x05});
     }},
    {"IPv6", 1, ToIpv6},
    {"IPv4 options: header length from the IHL field", 1,
     [](Bytes& f) {
         f[14] = 0x46;
         SetBe16(f, 16, static_cast<unsigned int>(f.size() - 14 + 4));
         f.insert(f.begin() + 34, {0x01, 0x01, 0x01, 0x00});
     }},
    {"offload: total length 0", 1, [](Bytes& f) { SetBe16(f, 16, 0); }},
    {"raw IP", 101, [](Bytes& f) { f.erase(f.begin(), f.begin() + 14); }},
    {"Linux cooked v1", 113,
     [](Bytes& f) {
         const Bytes head = BytesFromHex("0000 0001 0006 020202020202 0000 0800");
         f.erase(f.begin(), f.begin() + 14);
         f.insert(f.begin(), head.begin(), head.end());
     }},
    {"Linux cooked v2", 276,
     [](Bytes& f) {
         const Bytes head = BytesFromHex("0800 0000 00000002 0001 00 06 0202020202020000");
         f.erase(f.begin(), f.begin() + 14);
         f.insert(f.begin(), head.begin(), head.end());
     }},
};

TEST(SessionCapture, EveryLinkAndIpLayoutGivesTheConversation) {
    for (const LinkCase& c : kLinkCases) {
        SCOPED_TRACE(c.name);
        std::vector<Bytes> frames;
        for (const CTestSegment& seg : std::vector<CTestSegment>{
                 {true, 0, "", 0, true}, {true, 0, kS1F1, 0}, {false, 0, kS1F2, 0}}) {
            frames.push_back(EthernetFrame(seg));
            c.rewrite(frames.back());
        }
        const CSession session = Open(PcapOfFrames(c.nLink, frames));
        EXPECT_EQ(Summary(session), "S1F1W answered, S1F2 ok<-1");
        EXPECT_TRUE(session.Warnings().empty());
        std::vector<unsigned char> scratch;
        const auto bytes = session.Bytes(1, scratch);
        const Bytes s1f2 = BytesFromHex(kS1F2);
        EXPECT_EQ(Bytes(bytes.begin(), bytes.end()), Bytes(s1f2.begin() + 4, s1f2.end()));
    }
}

struct StreamCase {
    const char* name;
    std::vector<CTestSegment> segments;
    const char* summary;
    const char* warning;  // the one warning expected
};

const std::string kS6F11 = "00000013 0000860B 00000000 0002 0102A501 07410241 42";
// The last 180,000 bytes of a recipe, as four segments.
const std::string kRecipePart = Repeat("5A", 45000);

const StreamCase kStreamCases[] = {
    {"connection reused on the same ports",
     {{true, 0, "", 0, true},
      {true, 0, "0000000A 0000", 1},
      {true, 0, "", 2, true},
      {true, 0, kS1F1, 3}},
     "S1F1W open",
     "10.0.0.1:40000 -> 10.0.0.2:5000: connection ends inside a message, 6 bytes dropped"},
    {"capture starts inside a large message",
     {{true, 0, kRecipePart, 1},
      {true, 45000, kRecipePart, 1},
      {true, 90000, kRecipePart, 1},
      {true, 135000, kRecipePart, 1},
      {true, 180000, kS6F11 + kS1F1, 2},
      {false, 0, kS1F2, 3}},
     "S6F11W open, S1F1W answered, S1F2 ok<-2",
     "10.0.0.1:40000 -> 10.0.0.2:5000: capture starts inside a message, 180000 bytes passed "
     "over"},
};

TEST(SessionCapture, StreamsPickedUpAtMessageBoundaries) {
    for (const StreamCase& c : kStreamCases) {
        SCOPED_TRACE(c.name);
        const CSession session = Open(CaptureBytes(c.segments, false));
        EXPECT_EQ(Summary(session), c.summary);
        ASSERT_EQ(session.Warnings().size(), 1u);
        EXPECT_EQ(session.Warnings()[0].strText, c.warning);
    }
}

// A host's log: S5F1 goes without the W-bit and is still answered; S1F3W
// gets no reply within T3; S1F1W's body is cut off.
const char kStatusLog[] =
    "10:00:00.000 Out: 00 00 81 01 00 00 00 00 00 01\n"
    "10:00:00.500 In : 00 00 01 02 00 00 00 00 00 01\n"
    "10:00:01.000 Out: 00 00 05 01 00 00 00 00 00 02\n"
    "10:00:01.200 In : 00 00 05 02 00 00 00 00 00 02\n"
    "10:00:02.000 Out: 00 00 81 03 00 00 00 00 00 03\n"
    "10:00:03.000 In : 00 00 09 07 00 00 00 00 00 04\n"
    "10:00:04.000 In : 00 00 01 04 00 00 00 00 00 09\n"
    "10:01:00.000 Out: 00 00 81 01 00 00 00 00 00 05 41 05 41 42\n";

TEST(SessionStatus, RepliesTimeoutsAndErrors) {
    const std::string strLog = kStatusLog;
    const Bytes log(strLog.begin(), strLog.end());
    const std::string strRest = ", S9F7 s9, S1F4 orphan, S1F1W damaged";
    EXPECT_EQ(
        Summary(Open(log)),
        "S1F1W answered, S1F2 ok<-1, S5F1 answered, S5F2 no-wait<-3, S1F3W unanswered" + strRest);
    EXPECT_EQ(Summary(Open(log, 100'000'000)),
              "S1F1W answered, S1F2 ok<-1, S5F1 answered, S5F2 no-wait<-3, S1F3W open" + strRest);
}

// Each message's direction as the log says it: out, in, or the endpoints.
std::string Directions(const CSession& session) {
    std::string str;
    for (const SSessionMsg& m : session.Messages()) {
        const SSessionFlow& flow = session.Flows()[m.nFlow];
        if (!str.empty()) str += ' ';
        str += !flow.strFrom.empty()                    ? flow.strFrom + ">" + flow.strTo
               : flow.eDirection == EMsgDirection::kOut ? "out"
               : flow.eDirection == EMsgDirection::kIn  ? "in"
                                                        : "?";
    }
    return str;
}

struct TextCase {
    const char* name;
    std::string text;
    const char* summary;
    const char* directions;
};

// SML logs in the layouts of secsgem's communication log (a record line,
// then the SML), secs4net's logger samples and an equipment log without
// system bytes; a message that does not read is left out, never guessed.
// Packet dumps as tcpdump and tshark print them.
const TextCase kTextCases[] = {
    {"secsgem",
     "2026-12-07 10:00:00,100 INFO > HsmsMessage({'header': HsmsHeader({session_id:0x0000, "
     "stream:01, function:01, p_type:0x00, s_type:0x00, system:0x00000011, "
     "require_response:True}), 'data': ''})\nS1F1 W .\n"
     "2026-12-07 10:00:00,350 INFO < HsmsMessage({'header': HsmsHeader({session_id:0x0000, "
     "stream:01, function:02, p_type:0x00, s_type:0x00, system:0x00000011, "
     "require_response:False}), 'data': ''})\nS1F2\n<L [2]\n  <A \"MDLN\">\n  <A \"1.0\">\n> .\n",
     "S1F1W answered, S1F2 ok<-1", "out in"},
    {"secs4net",
     "2026-12-07 10:00:00<-- [0x0000002A] 'S1F1' W\n.\n"
     "2026-12-07 10:00:01--> [0x0000002A] 'S1F2'\n<L [2]\n    <A 'MDLN'>\n    <A '1.0'>\n>\n.\n",
     "S1F1W answered, S1F2 ok<-1", "in out"},
    {"equipment log without system bytes",
     "10:00:00.000 SEND S6F11 W\n<L [2]\n  <U4 1>\n  <U4 100>\n>\n.\n"
     "10:00:00.200 RECV S6F12\n<B 0x00>\n.\n",
     "S6F11W answered, S6F12 ok<-1", "out in"},
    {"a message that does not read", "S1F1 W\n<U1 300>\n.\nS1F2\n<B 0x00>\n.\n", "S1F2 orphan",
     "?"},
    {"tcpdump -X", ReadAll(std::string(BREVIX_TEST_DATA_DIR) + "/packet-dumps/tcpdump-X.txt"),
     "S1F1W answered, S1F2 ok<-1", "10.0.0.1:40000>10.0.0.2:5000 10.0.0.2:5000>10.0.0.1:40000"},
    {"tcpdump -XX", ReadAll(std::string(BREVIX_TEST_DATA_DIR) + "/packet-dumps/tcpdump-XX.txt"),
     "S1F1W answered, S1F2 ok<-1", "10.0.0.1:40000>10.0.0.2:5000 10.0.0.2:5000>10.0.0.1:40000"},
    {"tshark -x", ReadAll(std::string(BREVIX_TEST_DATA_DIR) + "/packet-dumps/tshark-x.txt"),
     "S1F1W answered, S1F2 ok<-1", "10.0.0.1:40000>10.0.0.2:5000 10.0.0.2:5000>10.0.0.1:40000"},
};

TEST(SessionText, SmlLogsAndPacketDumps) {
    for (const TextCase& c : kTextCases) {
        SCOPED_TRACE(c.name);
        const CSession session = Open(Bytes(c.text.begin(), c.text.end()));
        EXPECT_EQ(Summary(session), c.summary);
        EXPECT_EQ(Directions(session), c.directions);
    }
}

// secsgem's record line gives the session id (its HsmsHeader text, as its
// header.py writes it); the message's first two bytes carry it.
TEST(SessionText, SecsgemSessionIdIsTheDevice) {
    const std::string strLog =
        "2026-12-07 10:00:00,100 INFO > HsmsMessage({'header': HsmsHeader({session_id:0x0064, "
        "stream:01, function:01, p_type:0x00, s_type:0x00, system:0x00000011, "
        "require_response:True}), 'data': ''})\nS1F1 W .\n";
    const CSession session = Open(Bytes(strLog.begin(), strLog.end()));
    ASSERT_EQ(session.Messages().size(), 1u);
    EXPECT_EQ(session.Messages()[0].nDevice, 0x64);
    EXPECT_EQ(session.Messages()[0].dwSystem, 0x11u);
}

// Text logs say how far they are while they are read, so that a window's
// progress bar moves, and a cancel stops them.
TEST(SessionText, ProgressWhileReading) {
    std::string strHex = "00 00 81 01 00 00 00 00 00 01 21 FF";  // a B item of 255 bytes
    for (int i = 0; i < 255; ++i) strHex += " 00";
    const std::string strSml = "S1F1 W\n<A \"" + std::string(1000, 'x') + "\">\n.\n";
    for (const std::string& strLine : {strHex + "\n", strSml}) {
        SCOPED_TRACE(strLine.substr(0, 6));
        std::string strLog;
        while (strLog.size() < (9u << 20)) strLog += strLine;
        std::vector<std::uint64_t> done;
        const auto Progress = [&](std::uint64_t nDone, std::uint64_t nTotal) {
            done.push_back(nDone);
            return nDone < nTotal;
        };
        CSession session;
        std::string strError;
        EXPECT_FALSE(
            SessionFromBytes(Bytes(strLog.begin(), strLog.end()), {}, session, strError, Progress));
        EXPECT_EQ(strError, "cancelled");
        ASSERT_GE(done.size(), 3u);
        EXPECT_GT(done[0], 0u);
        EXPECT_LT(done[1], strLog.size());
    }
}

struct ReadingCase {
    const char* name;
    const char* text;
    const char* summary;
};

// A hex log's lines read again where the first reading does not decode:
// the reading that decodes cleanly is taken; a clean message is never read
// again, and one that no reading mends stays as it was, damaged.
const ReadingCase kReadingCases[] = {
    {"offset column not starting at 0", "0100 00 00 01 02 00 00 00 00 00 01 01 00\n",
     "S1F2 orphan"},
    {"bare message that frames as HSMS", "00 00 00 0E 80 01 00 00 00 00 01 02 41 01 58 41 01 59\n",
     "S0F14 orphan"},
    {"device id that looks like an offset", "0000 81 01 00 00 00 00 00 01\n", "S1F1W open"},
    {"clean HSMS message stays framed", "00 00 00 0C 00 00 81 01 00 00 00 00 00 01 01 00\n",
     "S1F1W open"},
    {"no reading decodes", "00 00 81 01 00 00 00 00 00 01 01 05 41\n", "S1F1W damaged"},
};

TEST(SessionText, OtherReadingsOfDamagedLines) {
    for (const ReadingCase& c : kReadingCases) {
        SCOPED_TRACE(c.name);
        const std::string str = c.text;
        EXPECT_EQ(Summary(Open(Bytes(str.begin(), str.end()))), c.summary);
    }
}

// tcpdump's times give the latency; tshark -x has none to give.
TEST(SessionText, PacketDumpTimes) {
    const std::string strDump =
        ReadAll(std::string(BREVIX_TEST_DATA_DIR) + "/packet-dumps/tcpdump-X.txt");
    EXPECT_EQ(Open(Bytes(strDump.begin(), strDump.end())).LatencyMicros(1), 499000);
    const std::string strShark =
        ReadAll(std::string(BREVIX_TEST_DATA_DIR) + "/packet-dumps/tshark-x.txt");
    EXPECT_EQ(Open(Bytes(strShark.begin(), strShark.end())).LatencyMicros(1), -1);
}

// Text terms: "LOT1" of the first S6F11 is cut between two TCP segments (a
// frame's headers lie between its halves); the second's "LOT2" is whole.
// The same bytes as a hex log, whose bytes are the session's own.
TEST(SessionFilterText, FoundAcrossSegmentsAndInEveryStore) {
    const std::vector<CTestSegment> segments = {
        {true, 0, "00000010 0000860B 0000 00000001 4104 4C4F", 1000},
        {true, 18, "5431", 2000},
        {true, 20, "00000010 0000860B 0000 00000002 4104 4C4F 5432", 3000},
    };
    const std::string strLog =
        "10:00:00 Out: 00 00 86 0B 00 00 00 00 00 01 41 04 4C 4F 54 31\n"
        "10:00:01 Out: 00 00 86 0B 00 00 00 00 00 02 41 04 4C 4F 54 32\n";
    const CSession sessions[] = {Open(CaptureBytes(segments, false)),
                                 Open(Bytes(strLog.begin(), strLog.end()))};
    const struct {
        const char* expr;
        const char* matches;  // numbers of the messages that pass
    } kCases[] = {
        {"\"LOT1\"", "1"}, {"\"T1\"", "1"},          {"\"LOT\"", "12"},
        {"\"OT2\"", "2"},  {"\"LOT3\" \"T2\"", "2"}, {"\"LOT1\" S1F1", ""},
    };
    for (const CSession& session : sessions) {
        ASSERT_EQ(session.Messages().size(), 2u);
        for (const auto& c : kCases) {
            SCOPED_TRACE(c.expr);
            CSessionFilter filter;
            std::string strError;
            ASSERT_TRUE(filter.Parse(c.expr, SSessionZone(), strError)) << strError;
            std::string strMatches;
            for (const std::uint32_t i : FilterSession(session, filter))
                strMatches += std::to_string(i + 1);
            EXPECT_EQ(strMatches, c.matches);
        }
    }
}

// What a record says of its message, leaving out what only the whole
// source can tell: replies, statuses, the body check.
std::string Described(const SSessionMsg& m) {
    const int nFlags = m.nFlags & ~(SSessionMsg::kChecked | SSessionMsg::kBadBody);
    return std::to_string(m.nMicros) + " " + std::to_string(m.nFlow) + " S" +
           std::to_string(m.nStream) + "F" + std::to_string(m.nFunction) + " " +
           std::to_string(nFlags) + " " + std::to_string(m.nSType) + " " +
           std::to_string(m.dwSystem) + " " + std::to_string(m.nSize) + " " +
           std::to_string(m.nWhere) + " " + std::to_string(m.nNote) + " " +
           std::to_string(m.nLine) + " " + std::to_string(m.nDevice);
}

// Records handed over while a source is read are the finished index's
// records (a capture's in time order) and claim no reply or status yet.
TEST(SessionFound, RecordsHandedOverAreFinalButForStatus) {
    const std::vector<CTestSegment> segments = {
        {true, 0, kS1F1, 2000},
        {false, 0, kS1F2, 3000},
        {true, 14, "0000000A 00008101 00000000 0002", 1000},  // found late, sent first
    };
    const Bytes sources[] = {Bytes(std::begin(kStatusLog), std::end(kStatusLog) - 1),
                             CaptureBytes(segments, false)};
    for (const Bytes& source : sources) {
        std::vector<SSessionMsg> found;
        std::size_t nFlows = 0;
        CSessionOptions opts;
        opts.fnFound = [&](SSessionFound batch) {
            found.insert(found.end(), batch.msgs.begin(), batch.msgs.end());
            nFlows += batch.flows.size();
            for (const SSessionMsg& m : batch.msgs) EXPECT_LT(m.nFlow, nFlows);
        };
        CSession session;
        std::string strError;
        ASSERT_TRUE(SessionFromBytes(source, opts, session, strError)) << strError;
        ASSERT_EQ(found.size(), session.Messages().size());
        std::stable_sort(
            found.begin(), found.end(),
            [](const SSessionMsg& a, const SSessionMsg& b) { return a.nMicros < b.nMicros; });
        for (std::size_t i = 0; i < found.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(Described(found[i]), Described(session.Messages()[i]));
            EXPECT_EQ(found[i].eStatus, EMsgStatus::kNone);
            EXPECT_EQ(found[i].nReplyTo + found[i].nReplyBy, 0u);
        }
    }
}

}  // namespace
