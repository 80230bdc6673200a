#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/DumpOptions.h"
#include "cli/DumpRun.h"
#include "io/SessionFilter.h"

// brevix-dump on a session that defines its own names (data/meaning/
// session.sml): S1F12 names SVIDs 5 and 6, S2F33 puts them in report 10,
// S2F35 links it to CEID 4001, S5F6 names ALID 7; later S2F33s delete the
// report and define it again with VID 6 alone, and one refused by DRACK 3
// would make it VID 5. names.txt names CEID 4001 and holds two bad lines.

namespace {

struct SDumpRun {
    int nStatus = -1;
    std::string strOut, strErr;
};

SDumpRun Dump(std::vector<std::string> args) {
    CDumpOptions opts;
    std::string strError;
    SDumpRun run;
    if (!ParseDumpOptions(args, opts, strError)) return run;
    std::ostringstream out, err;
    std::istringstream in;
    run.nStatus = RunDump(opts, out, err, in);
    run.strOut = out.str();
    run.strErr = err.str();
    return run;
}

const std::string kDir = BREVIX_TEST_DATA_DIR "/meaning/";
const std::string kSession = kDir + "session.sml";
const std::string kNames = kDir + "names.txt";

// Lines the output must hold, in this order.
struct SOutputCase {
    const char* name;
    std::vector<std::string> args;
    std::vector<std::string> lines;
};

const SOutputCase kOutputCases[] = {
    {"sml: nothing defined yet, then the report's VIDs, then the report redefined",
     {"--sml", kSession},
     {"  <U4 [1] 4001> // CEID", "        <A [4] \"LOT0\"> // V",
      "        <A [4] \"LOT1\"> // VID 5 LotID", "        <F4 [1] 21.5> // VID 6 Temp [degC]",
      "  <U4 [1] 7> // ALID Door open", "        <F4 [1] 22.5> // VID 6 Temp [degC]"}},
    {"sml with a dictionary file: the event's name from before the first message",
     {"--sml", "--dict", kNames, kSession},
     {"  <U4 [1] 4001> // CEID LotStarted", "        <A [4] \"LOT0\"> // V"}},
    {"list: event and alarm names in the name column",
     {"--list", "--dict", kNames, kSession},
     {"1 - - S6F11W S6F11 LotStarted 00000001", "9 - - S5F1W S5F1 Door open 00000007",
      "16 - - S6F11W S6F11 LotStarted 0000000B"}},
    {"json: role, name and units of a report value",
     {"--json", kSession},
     {R"("role":"VID 5","name":"LotID","values":"LOT1")",
      R"("role":"VID 6","name":"Temp","units":"degC","values":[21.5])"}},
};

TEST(MeaningDump, NamesWhereTheSessionDefinedThem) {
    for (const SOutputCase& c : kOutputCases) {
        SCOPED_TRACE(c.name);
        const SDumpRun run = Dump(c.args);
        EXPECT_EQ(run.nStatus, 0);
        std::size_t nAt = 0;
        for (const std::string& strLine : c.lines) {
            const std::size_t nFound = run.strOut.find(strLine, nAt);
            EXPECT_NE(nFound, std::string::npos) << strLine;
            if (nFound != std::string::npos) nAt = nFound + strLine.size();
        }
    }
}

TEST(MeaningDump, DictionaryFileErrors) {
    const SDumpRun bad = Dump({"--sml", "--dict", kNames, kSession});
    EXPECT_EQ(bad.nStatus, 0);
    EXPECT_EQ(bad.strErr, "brevix-dump: " + kNames + ":3: unknown kind \"BOGUS\"\n" +
                              "brevix-dump: " + kNames + ":4: expected kind, id and name\n");
    const SDumpRun missing = Dump({"--json", "--dict", kDir + "absent.txt", kSession});
    EXPECT_EQ(missing.nStatus, 1);
    EXPECT_NE(missing.strOut.find("\"role\":\"CEID\""), std::string::npos);
}

// Items of a role and id, where the message's structure places that role.
TEST(MeaningDump, FilterByRoleAndId) {
    struct SFilterCase {
        const char* name;
        const char* expr;
        std::vector<std::uint32_t> indexes;  // messages kept, from 0
    };
    const SFilterCase kCases[] = {
        {"event: reports and the link", "CEID=4001", {0, 4, 7, 15}},
        {"report: definitions, link and reports", "rptid=10", {0, 2, 4, 7, 9, 11, 13, 15}},
        {"alarm: list and report", "ALID=7", {6, 8}},
        {"status variable", "SVID=5", {1}},
        {"variable in a definition", "VID=5", {2, 13}},
        {"roles widen", "CEID=4001 ALID=7", {0, 4, 6, 7, 8, 15}},
        {"with SxFy they narrow", "CEID=4001 S2F35", {4}},
        {"no such event", "CEID=4002", {}},
    };
    CSession session;
    std::string strError;
    ASSERT_TRUE(OpenSession(kSession, CSessionOptions(), session, strError)) << strError;
    for (const SFilterCase& c : kCases) {
        SCOPED_TRACE(c.name);
        CSessionFilter filter;
        ASSERT_TRUE(filter.Parse(c.expr, SSessionZone(), strError)) << strError;
        EXPECT_EQ(FilterSession(session, filter), c.indexes);
    }
    CSessionFilter filter;
    EXPECT_FALSE(filter.Parse("LOT=1", SSessionZone(), strError));
}

}  // namespace
