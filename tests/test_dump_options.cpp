#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/DumpOptions.h"
#include "cli/DumpRun.h"
#include "io/SessionFilter.h"
#include "io/SessionIndex.h"

namespace {

// A compact picture of parsed options: mode, style, operands.
std::string Describe(const CDumpOptions& o) {
    static const char* const kModes[] = {"list",     "tree",  "save",   "from-hex",
                                         "header",   "check", "import", "sml",
                                         "from-sml", "json",  "diff",   "session-list"};
    std::string str = kModes[static_cast<int>(o.m_eMode)];
    str += " style=" + std::to_string(o.m_nStyle);
    if (o.m_eMode == EDumpMode::kFromHex)
        return str + " in=" + o.m_strHexInput + " out=" + o.m_strOutput;
    if (o.m_eMode == EDumpMode::kImport)
        str += " dir=" + o.m_strOutDir + " port=" + std::to_string(o.m_nPort) +
               (o.m_bControl ? " control" : "");
    if (o.m_eMode == EDumpMode::kSml) str += " dialect=" + o.m_strSmlDialect;
    if (o.m_eMode == EDumpMode::kList)
        str += " filter=" + o.m_strFilter + " t3=" + std::to_string(o.m_nT3Micros) +
               (o.m_bJson ? " json" : "");
    for (const std::string& f : o.m_files) str += " " + f;
    return str;
}

struct OptionCase {
    const char* name;
    std::vector<std::string> args;
    const char* parsed;  // null: wrong usage expected
};

const OptionCase kOptionCases[] = {
    {"plain files", {"a.BIG", "b.BIG"}, "list style=-1 a.BIG b.BIG"},
    {"style bracket", {"--style", "bracket", "a"}, "list style=0 a"},
    {"style with equals", {"--style=column", "a"}, "list style=1 a"},
    {"last style wins", {"--style=column", "--style", "auto", "a"}, "list style=-1 a"},
    {"options after files", {"a", "--tree"}, "tree style=-1 a"},
    {"save", {"--save", "a", "b"}, "save style=-1 a b"},
    {"dash is a file", {"-"}, "list style=-1 -"},
    {"double dash", {"--", "--tree", "-x"}, "list style=-1 --tree -x"},
    {"from-hex defaults", {"--from-hex"}, "from-hex style=-1 in=- out=HexToSECS.BIG"},
    {"from-hex file and output",
     {"--from-hex", "log.txt", "--output", "o.BIG"},
     "from-hex style=-1 in=log.txt out=o.BIG"},
    {"import",
     {"--import", "a.pcap", "b.log", "--out=d"},
     "import style=-1 dir=d port=-1 a.pcap b.log"},
    {"import port control",
     {"--import", "a", "--out", "d", "--port", "5000", "--control"},
     "import style=-1 dir=d port=5000 control a"},
    {"import without out", {"--import", "a"}, nullptr},
    {"out without import", {"--out", "d", "a"}, nullptr},
    {"port too large", {"--import", "a", "--out", "d", "--port", "65536"}, nullptr},
    {"highest port",
     {"--import", "a", "--out", "d", "--port", "65535"},
     "import style=-1 dir=d port=65535 a"},
    {"session list",
     {"--list", "a", "--filter", "S6F* unanswered", "--t3=0.5", "--json"},
     "session-list style=-1 filter=S6F* unanswered t3=500000 json a"},
    {"t3 not seconds", {"--list", "a", "--t3", "1e3"}, nullptr},
    {"filter without list", {"--filter", "S1F1", "a"}, nullptr},
    {"import with tree", {"--import", "a", "--out", "d", "--tree"}, nullptr},
    {"sml standard", {"--sml", "a"}, "sml style=-1 dialect= a"},
    {"sml dialect", {"a", "--sml=go-secs"}, "sml style=-1 dialect=go-secs a"},
    {"sml unknown dialect", {"--sml=yaml", "a"}, nullptr},
    {"sml with tree", {"--sml", "--tree", "a"}, nullptr},
    {"from-sml with json", {"--from-sml", "a", "--json"}, nullptr},
    {"json with check", {"--json", "--check", "a"}, nullptr},
    {"no files", {}, nullptr},
    {"only options", {"--tree"}, nullptr},
    {"unknown option", {"-x", "a"}, nullptr},
    {"style missing value", {"a", "--style"}, nullptr},
    {"style unknown", {"--style=pretty", "a"}, nullptr},
    {"tree and save", {"--tree", "--save", "a"}, nullptr},
    {"save from standard input", {"--save", "-"}, nullptr},
    {"from-hex with tree", {"--from-hex", "--tree"}, nullptr},
    {"from-hex with style", {"--from-hex", "--style", "column"}, nullptr},
    {"from-hex two inputs", {"--from-hex", "a", "b"}, nullptr},
    {"output alone", {"--output", "o.BIG", "a"}, nullptr},
    {"output without name", {"--from-hex", "--output"}, nullptr},
    {"output empty name", {"--from-hex", "--output="}, nullptr},
    {"header of files", {"--header", "a", "b"}, "header style=-1 a b"},
    {"check from standard input", {"-", "--check"}, "check style=-1 -"},
    {"check without files", {"--check"}, nullptr},
    {"check and header", {"--check", "--header", "a"}, nullptr},
    {"check with tree", {"--check", "--tree", "a"}, nullptr},
    {"header with style", {"--header", "--style=column", "a"}, nullptr},
    {"check with from-hex", {"--check", "--from-hex", "a"}, nullptr},
};

TEST(DumpOptions, Parse) {
    for (const OptionCase& c : kOptionCases) {
        SCOPED_TRACE(c.name);
        CDumpOptions opts;
        std::string strError;
        const bool bOk = ParseDumpOptions(c.args, opts, strError);
        if (c.parsed) {
            EXPECT_TRUE(bOk) << strError;
            EXPECT_EQ(Describe(opts), c.parsed);
        } else {
            EXPECT_FALSE(bOk);
            EXPECT_FALSE(strError.empty());
        }
    }
}

TEST(DumpOptions, HelpAndVersionWinOverEverythingAfter) {
    CDumpOptions opts;
    std::string strError;
    ASSERT_TRUE(ParseDumpOptions({"--help", "--bogus"}, opts, strError));
    EXPECT_TRUE(opts.m_bHelp);
    ASSERT_TRUE(ParseDumpOptions({"--version"}, opts, strError));
    EXPECT_TRUE(opts.m_bVersion);
    EXPECT_FALSE(opts.m_bHelp);
}

// The style flag of "auto" starts at 1 and follows each file's style byte
// into the files after it; a forced style ignores the byte.
TEST(DumpRun, StyleFlagCarriesOverFromStandardInput) {
    const std::string strS1F1Bracket("\x00\x01\x81\x01\x80\x01\x00\x00\x00\x01\x30", 11);
    CDumpOptions opts;
    opts.m_files = {"-"};
    std::ostringstream err;
    auto Output = [&] {
        std::istringstream in(strS1F1Bracket);
        std::ostringstream out;
        EXPECT_EQ(RunDump(opts, out, err, in), 0);
        return out.str();
    };
    EXPECT_EQ(Output(), "<S1F1W>\n");
    opts.m_nStyle = 1;
    EXPECT_EQ(Output(), "S1,F1,W\n");
    EXPECT_EQ(err.str(), "");
}

TEST(DumpRun, TreeTextEscapesLineFeeds) {
    CLabelTree tree;
    tree.m_strRoot = "S7F3W";
    tree.m_nodes.resize(2);
    tree.m_nodes[0].m_strLabel = "L[1] ";
    tree.m_nodes[1].m_strLabel = "B[21] 0x00\n      0x01 ";
    tree.m_nodes[1].m_nDepth = 1;
    tree.m_nodes[1].m_nParent = 0;
    EXPECT_EQ(TreeText(tree), "S7F3W\n  L[1] \n    B[21] 0x00\\n      0x01 \n");
}

// --filter over a host's log (the session window's filter, times in UTC):
// S1F1W answered at 10:00:00, S1F2, S1F3W unanswered at 10:01:00, S6F11W at
// 10:02:00 with its S6F12.
TEST(ListFilter, PatternsStatusesAndTimes) {
    const std::string strLog =
        "10:00:00 Out: 00 00 81 01 00 00 00 00 00 01\n"
        "10:00:01 In : 00 00 01 02 00 00 00 00 00 01\n"
        "10:01:00 Out: 00 00 81 03 00 00 00 00 00 02\n"
        "10:02:00 Out: 00 00 86 0B 00 00 00 00 00 03\n"
        "10:02:01 In : 00 00 06 0C 00 00 00 00 00 03\n";
    CSession session;
    std::string strError;
    CSessionOptions opts;
    opts.bCheckBodies = false;
    ASSERT_TRUE(SessionFromBytes({strLog.begin(), strLog.end()}, opts, session, strError));
    const struct {
        const char* expr;
        const char* matches;  // numbers of the messages that pass
    } kCases[] = {
        {"", "12345"},
        {"S1F1", "1"},
        {"S1F*", "123"},
        {"S*F2", "2"},
        {"S6", "45"},
        {"S1W", "13"},
        {"S1 S6F12", "1235"},
        {"unanswered", "3"},
        {"S1F* answered,ok", "12"},
        {"10:00:30..10:02:00", "34"},
        {"10:02:00..", "45"},
        {"9:59..10:00:30", "12"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.expr);
        CSessionFilter filter;
        ASSERT_TRUE(filter.Parse(c.expr, SSessionZone(), strError)) << strError;
        std::string strMatches;
        for (const std::uint32_t i : FilterSession(session, filter))
            strMatches += std::to_string(i + 1);
        EXPECT_EQ(strMatches, c.matches);
    }
    CSessionFilter filter;
    EXPECT_FALSE(filter.Parse("S1F1X", SSessionZone(), strError));
    EXPECT_FALSE(filter.Parse("late", SSessionZone(), strError));
}

}  // namespace
