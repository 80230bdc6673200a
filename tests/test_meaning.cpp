#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "TestHelpers.h"
#include "io/DictionaryFile.h"
#include "io/SmlReader.h"
#include "model/Dictionary.h"
#include "render/DictionaryLearning.h"
#include "render/DocViews.h"
#include "render/ItemId.h"
#include "render/ItemMeaning.h"
#include "render/MeaningText.h"
#include "render/MessageNames.h"
#include "render/MessageStructures.h"
#include "render/StructureMatch.h"
#include "render/StructureTable.h"

namespace {

// Named messages no source gives a structure for (docs/message-structures.md).
const std::pair<int, int> kMissing[] = {{6, 9}, {6, 25}, {7, 27}, {7, 29}};

// The views point into bytes.
std::vector<SItemView> Views(const std::vector<unsigned char>& bytes) {
    return ItemViewsOfBytes(bytes.data(), bytes.size());
}

// The message file of one SML message; empty when the text does not read.
std::vector<unsigned char> SmlBytes(const char* szSml, int& nStream, int& nFunction) {
    std::vector<SSmlMessage> messages;
    SSmlError error;
    if (!ReadSml(szSml, messages, error) || messages.size() != 1) return {};
    nStream = messages[0].nStream;
    nFunction = messages[0].nFunction;
    return SmlMessageFile(messages[0], 1);
}

// Roles of the items that have one, then the notes: "DATAID CEID | note; note".
std::string Matched(int nStream, int nFunction, const std::vector<unsigned char>& bytes) {
    const std::vector<SItemView> views = Views(bytes);
    const SStructureMatch match = MatchStructure(nStream, nFunction, views);
    std::string str;
    for (const char* szRole : match.roles)
        if (*szRole) str += (str.empty() ? "" : " ") + std::string(szRole);
    for (std::size_t i = 0; i < match.notes.size(); ++i) str += (i ? "; " : " | ") + match.notes[i];
    return str;
}

}  // namespace

TEST(MessageStructures, EveryNamedMessageHasOneOrIsListedMissing) {
    EXPECT_TRUE(CStructureTable::Get().Errors().empty()) << CStructureTable::Get().Errors()[0];
    int nNames = 0;
    const SMessageName* pNames = AllMessageNames(&nNames);
    for (int i = 0; i < nNames; ++i) {
        const std::pair<int, int> sf{pNames[i].nStream, pNames[i].nFunction};
        SCOPED_TRACE("S" + std::to_string(sf.first) + "F" + std::to_string(sf.second));
        const bool bMissing =
            std::find(std::begin(kMissing), std::end(kMissing), sf) != std::end(kMissing);
        EXPECT_NE(CStructureTable::Get().Find(sf.first, sf.second) != nullptr, bMissing);
    }
    int nShapes = 0;
    const SMessageStructure* pShapes = AllMessageStructures(&nShapes);
    for (int i = 0; i < nShapes; ++i)
        EXPECT_TRUE(FindMessageName(pShapes[i].nStream, pShapes[i].nFunction))
            << pShapes[i].szShape;
}

struct MatchCase {
    const char* name;
    int nStream, nFunction;
    const char* body;
    const char* matched;
};
// Items start at offset 10, after the header.
const MatchCase kMatchCases[] = {
    {"S6F11 event report", 6, 11,
     "01 03 B104 00000001 B104 00000FA1 0101 0102 B104 00000064 0102 4104 4C4F5431 A902 0005",
     "DATAID CEID RPTID V V"},
    {"S6F11 CEID is a list", 6, 11, "01 03 B104 00000001 0100 0100",
     "DATAID | S6F11: item at offset 18 is L, CEID expects U1/U2/U4/U8/I1/I2/I4/I8/A"},
    {"S6F11 without reports", 6, 11, "01 02 B104 00000001 B104 00000FA1",
     "DATAID CEID | S6F11: list at offset 10 holds 2 items, L[3] expected"},
    {"S6F11 a value may be a list", 6, 11,
     "01 03 A501 01 A501 02 0101 0102 A501 07 0101 0102 A501 01 A501 02", "DATAID CEID RPTID V"},
    {"S6F11 header only", 6, 11, "", " | S6F11: the body is empty, L[3] expected"},
    {"S5F1 alarm", 5, 1, "01 03 2101 86 B104 00000007 4103 486F74", "ALCD ALID ALTX"},
    {"S5F1 ALCD as U1, no text", 5, 1, "01 02 A501 86 B104 00000007",
     "ALCD ALID | S5F1: list at offset 10 holds 2 items, L[3] expected; "
     "S5F1: item at offset 12 is U1, ALCD expects B"},
    {"S5F2 two-byte ACKC5", 5, 2, "2102 0000",
     "ACKC5 | S5F2: item at offset 10 has 2 elements, ACKC5 expects at most 1"},
    {"S5F5 ALID alone", 5, 5, "B104 00000007", "ALID"},
    {"S5F5 ALID in a list", 5, 5, "0101 B104 00000007", "ALID"},
    {"S2F33 define report", 2, 33,
     "0102 B104 00000001 0101 0102 B104 00000064 0102 A902 0005 A902 0006", "DATAID RPTID VID VID"},
    {"S2F33 VID not in a list", 2, 33, "0102 B104 00000001 0101 0102 B104 00000064 B104 00000005",
     "DATAID RPTID | S2F33: item at offset 28 is U4, L expected"},
    {"S1F3 all variables", 1, 3, "0100", ""},
    {"S1F3 two SVIDs", 1, 3, "0102 A902 0001 4102 5356", "SVID SVID"},
    {"S1F3 SVIDs as one vector", 1, 3, "B108 00000001 00000002",
     " | S1F3: item at offset 10 is U4, L expected"},
    {"S1F4 list-valued SV", 1, 4, "0101 0102 A501 01 A501 02", "SV"},
    {"S1F1 with a body", 1, 1, "A501 01", " | S1F1: header only expected, the body has items"},
    {"S1F2 from the host", 1, 2, "0100", ""},
    {"S1F2 from the equipment", 1, 2, "0102 4101 4D 4103 312E30", "MDLN SOFTREV"},
    {"S1F2 one item", 1, 2, "0101 4101 4D",
     "MDLN | S1F2: list at offset 10 holds 1 item, L[2] or L[0] expected"},
    {"S2F41 host command", 2, 41, "0102 4105 5354415254 0101 0102 4103 4C4F54 4102 4C31",
     "RCMD CPNAME CPVAL"},
    {"S2F41 parameter of three", 2, 41,
     "0102 4105 5354415254 0101 0103 4103 4C4F54 4102 4C31 4101 78",
     "RCMD CPNAME CPVAL | S2F41: list at offset 21 holds 3 items, L[2] expected"},
    {"S6F12 twice", 6, 12, "2101 00 2101 00",
     "ACKC6 | S6F12: extra item at offset 13 after the body"},
    {"unknown format is the decoder's", 6, 12, "0501 00", ""},
    {"message without a structure", 99, 1, "0100", ""},
};

TEST(StructureMatch, RolesAndNotes) {
    for (const MatchCase& c : kMatchCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Matched(c.nStream, c.nFunction, MessageBytes(c.nStream, c.nFunction, c.body)),
                  c.matched);
    }
}

TEST(StructureMatch, DeepValueAndBadParentLinks) {
    std::vector<unsigned char> bytes = MessageBytes(1, 4, "0101");
    for (int i = 0; i < 100000; ++i) bytes.insert(bytes.end(), {0x01, 0x01});
    bytes.insert(bytes.end(), {0xA5, 0x01, 0x07});
    EXPECT_EQ(Matched(1, 4, bytes), "SV");
    // A parent that does not point back leaves its child unmatched.
    const std::vector<SItemView> views = {
        {0, 1, -1, 10, {}}, {54, 1, 5, 12, {}}, {54, 1, 1, 18, {}}};
    const SStructureMatch match = MatchStructure(1, 3, views);
    EXPECT_STREQ(match.roles[1], "");
    EXPECT_STREQ(match.roles[2], "");
    // Nor do learning and annotation follow such links.
    const unsigned char kId[] = {0, 0, 0, 10};
    const std::vector<SItemView> reports = {
        {0, 2, -1, 10, {}},  {54, 1, 0, 12, kId}, {0, 1, 0, 18, {}},    {0, 2, -7, 20, {}},
        {54, 1, 9, 22, kId}, {0, 1, 3, 28, {}},   {54, 1, -5, 30, kId}, {54, 1, 5, 36, kId}};
    CDictionary dict;
    for (const int nFunction : {33, 35}) LearnDefinitions(2, nFunction, reports, 0, dict);
    EXPECT_EQ(AnnotateItems(6, 11, reports, 1, dict).size(), reports.size());
}

TEST(Dictionary, LaterDefinitionsApplyAfterTheirMessage) {
    CDictionary dict;
    const auto define = [&](std::int64_t nMessage, const char* szName, bool bRemoved = false) {
        dict.Define({EDefKind::kCeid, "4001", szName, "", "", "", "", {}, bRemoved, nMessage});
    };
    define(9, "Begun");
    define(kBeforeAllMessages, "FromFile");
    define(5, "Started");
    define(9, "Begun2");  // the same message again: replaces
    define(12, "", true);
    const struct {
        std::int64_t nMessage;
        const char* szName;
    } kLookups[] = {{0, "FromFile"}, {5, "FromFile"}, {6, "Started"}, {9, "Started"},
                    {10, "Begun2"},  {12, "Begun2"},  {13, "none"}};
    for (const auto& l : kLookups) {
        SCOPED_TRACE(l.nMessage);
        const SDefinition* p = dict.Find(EDefKind::kCeid, "4001", l.nMessage);
        EXPECT_EQ(p ? p->strName : "none", l.szName);
    }
    EXPECT_FALSE(dict.Find(EDefKind::kRptid, "4001", 10));
}

TEST(DictionaryFile, BadLinesAreReportedAndTheRestLoads) {
    CDictionary dict;
    const SDictionaryLoad load = LoadDictionaryText(
        "# events\nCEID\t4001\tLotStarted\r\nSVID,5,Temperature,degC\n\nVID 7 LotID\n"
        "CEX\t1\tBad\nALID\t3\nECID,1,,s\nRPTID 1 a b c\nALID\t2\t Door Open \n",
        "my.dict", dict);
    EXPECT_EQ(load.nDefined, 4);
    const std::vector<std::string> kErrors = {
        "my.dict:6: unknown kind \"CEX\"", "my.dict:7: expected kind, id and name",
        "my.dict:8: empty name", "my.dict:9: more than kind, id, name and units"};
    EXPECT_EQ(load.errors, kErrors);
    EXPECT_EQ(dict.Find(EDefKind::kCeid, "4001", 0)->strName, "LotStarted");
    EXPECT_EQ(dict.Find(EDefKind::kSvid, "5", 0)->strUnits, "degC");
    EXPECT_EQ(dict.Find(EDefKind::kVid, "7", 0)->strName, "LotID");
    EXPECT_EQ(dict.Find(EDefKind::kAlid, "2", 0)->strName, "Door Open");

    const SDictionaryLoad missing = LoadDictionaryFile("/nonexistent/my.dict", dict);
    ASSERT_EQ(missing.errors.size(), 1u);
    EXPECT_EQ(missing.errors[0].rfind("/nonexistent/my.dict: ", 0), 0u);
}

TEST(ItemId, ExactForSingleIntegersAndPrintableText) {
    const struct {
        const char* name;
        const char* item;
        const char* id;  // "-": none
    } kIds[] = {
        {"U4", "B104 00000FA1", "4001"},
        {"I1 negative", "6501 FF", "-1"},
        {"I8 lowest", "6108 8000000000000000", "-9223372036854775808"},
        {"U8 highest", "A108 FFFFFFFFFFFFFFFF", "18446744073709551615"},
        {"A", "4104 4C4F5431", "LOT1"},
        {"A with a line feed", "4102 410A", "-"},
        {"two U4 elements", "B108 00000001 00000002", "-"},
        {"U4 cut short", "B104 000001", "-"},
        {"F4", "9104 3F800000", "-"},
    };
    for (const auto& c : kIds) {
        SCOPED_TRACE(c.name);
        const std::vector<unsigned char> bytes = MessageBytes(6, 15, c.item);
        const std::vector<SItemView> views = Views(bytes);
        ASSERT_EQ(views.size(), 1u);
        std::string strId = "-";
        ItemIdText(views[0], strId);
        EXPECT_EQ(strId, c.id);
    }
}

namespace {

// Role texts of the items with an id or a value that could have one, then
// the summary: "CEID 4001 LotStarted, V / S6F11 LotStarted".
std::string Meaning(int nStream, int nFunction, std::span<const SItemView> views,
                    std::int64_t nMessage, const CDictionary& dict,
                    std::span<const SItemView> primary = {}) {
    const std::vector<SItemMeaning> meanings =
        AnnotateItems(nStream, nFunction, views, nMessage, dict, primary);
    std::string str;
    for (const SItemMeaning& m : meanings) {
        const std::string_view strRole = m.szRole;
        if (m.bKeyed || strRole == "V" || strRole == "SV" || strRole == "ECV")
            str += (str.empty() ? "" : ", ") + RoleText(m);
    }
    const std::string strSummary = MessageSummary(nStream, nFunction, views, meanings);
    return strSummary.empty() ? str : str + " / " + strSummary;
}

struct SessionStep {
    const char* name;
    const char* sml;
    int nPrimary;  // step of the request this one answers, or -1
    const char* meaning;
};
// One session; message i is shown with what messages 0 to i - 1 defined.
const SessionStep kSession[] = {
    {"S1F12 names variables",
     R"(S1F12 <L[3] <L[3] <U4 1001> <A "Temperature"> <A "degC">>
        <L[3] <U4 5> <A "LotID "> <A "">> <L[3] <U4 6> <A "WaferCount"> <A "pcs">>>.)",
     -1, "SVID 1001, SVID 5, SVID 6"},
    {"S2F33 defines reports",
     "S2F33 W <L[2] <U4 1> <L[2] <L[2] <U4 10> <L[2] <U4 5> <U4 6>>> "
     "<L[2] <U4 11> <L[1] <U4 1001>>>>>.",
     -1, "RPTID 10, VID 5 LotID, VID 6 WaferCount [pcs], RPTID 11, VID 1001 Temperature [degC]"},
    {"S2F35 links reports", "S2F35 W <L[2] <U4 2> <L[1] <L[2] <U4 4001> <L[2] <U4 10> <U4 11>>>>>.",
     -1, "CEID 4001 LotStarted, RPTID 10, RPTID 11"},
    {"S5F6 names an alarm", R"(S5F6 <L[1] <L[3] <B 0x86> <U4 3> <A "Door open">>>.)", -1, "ALID 3"},
    {"S6F11 uses them",
     R"(S6F11 W <L[3] <U4 7> <U4 4001> <L[2] <L[2] <U4 10> <L[2] <A "LOT1"> <U2 25>>>
        <L[2] <U4 11> <L[1] <F4 23.5>>>>>.)",
     -1,
     "CEID 4001 LotStarted, RPTID 10, VID 5 LotID, VID 6 WaferCount [pcs], RPTID 11, "
     "VID 1001 Temperature [degC] / S6F11 LotStarted"},
    {"S5F1 carries its own text", R"(S5F1 W <L[3] <B 0x86> <U4 3> <A "Door still open">>.)", -1,
     "ALID 3 Door open / S5F1 Door still open"},
    {"S5F1 renamed the alarm", R"(S5F1 W <L[3] <B 0x06> <U4 3> <A "Door closed">>.)", -1,
     "ALID 3 Door still open / S5F1 Door closed"},
    {"S2F33 deletes report 10", "S2F33 W <L[2] <U4 8> <L[1] <L[2] <U4 10> <L[0]>>>>.", -1,
     "RPTID 10"},
    {"S6F11 with a deleted report",
     R"(S6F11 W <L[3] <U4 9> <U4 4001> <L[1] <L[2] <U4 10> <L[2] <A "LOT2"> <U2 24>>>>>.)", -1,
     "CEID 4001 LotStarted, RPTID 10, V, V / S6F11 LotStarted"},
    {"S2F33 defines report 10 anew", "S2F33 W <L[2] <U4 10> <L[1] <L[2] <U4 10> <L[1] <U4 6>>>>>.",
     -1, "RPTID 10, VID 6 WaferCount [pcs]"},
    {"S6F11 with the new report 10",
     "S6F11 W <L[3] <U4 11> <U4 4001> <L[1] <L[2] <U4 10> <L[1] <U2 23>>>>>.", -1,
     "CEID 4001 LotStarted, RPTID 10, VID 6 WaferCount [pcs] / S6F11 LotStarted"},
    {"S2F33 deletes every report", "S2F33 W <L[2] <U4 12> <L[0]>>.", -1, ""},
    {"S6F11 after that", "S6F11 W <L[3] <U4 13> <U4 4001> <L[1] <L[2] <U4 11> <L[1] <F4 20>>>>>.",
     -1, "CEID 4001 LotStarted, RPTID 11, V / S6F11 LotStarted"},
    {"S1F3 asks for two", "S1F3 W <L[2] <U4 1001> <U4 5>>.", -1,
     "SVID 1001 Temperature [degC], SVID 5 LotID"},
    {"S1F4 answers in that order", R"(S1F4 <L[2] <F4 23.5> <A "LOT1">>.)", 13,
     "SVID 1001 Temperature [degC], SVID 5 LotID"},
    {"S1F4 without its request", R"(S1F4 <L[2] <F4 23.5> <A "LOT1">>.)", -1, "SV, SV"},
    {"S1F4 with more values than asked for", "S1F4 <L[3] <F4 23.5> <U1 1> <U1 2>>.", 13,
     "SV, SV, SV"},
    {"S2F30 names a constant",
     R"(S2F30 <L[1] <L[6] <U2 20> <A "MaxTemp"> <F4 0> <F4 400> <F4 250> <A "degC">>>.)", -1,
     "ECID 20"},
    {"S2F13 asks for it", "S2F13 W <L[1] <U2 20>>.", -1, "ECID 20 MaxTemp [degC]"},
    {"S2F14 answers", "S2F14 <L[1] <F4 300>>.", 18, "ECID 20 MaxTemp [degC]"},
    {"S6F11 of an unnamed event", "S6F11 W <L[3] <U4 14> <U4 4002> <L[0]>>.", -1, "CEID 4002"},
    {"S2F33 with a VID that is no id",
     "S2F33 W <L[2] <U4 15> <L[1] <L[2] <U4 12> <L[3] <U4 5> <F4 1.5> <U4 6>>>>>.", -1,
     "RPTID 12, VID 5 LotID, VID 6 WaferCount [pcs]"},
    {"S6F11 keeps the places of its report",
     R"(S6F11 W <L[3] <U4 16> <U4 4001> <L[1] <L[2] <U4 12> <L[3] <A "L3"> <U1 0> <U2 9>>>>>.)", -1,
     "CEID 4001 LotStarted, RPTID 12, VID 5 LotID, V, VID 6 WaferCount [pcs] / S6F11 LotStarted"},
};

}  // namespace

TEST(Meaning, SessionDefinesNamesThatLaterMessagesShow) {
    // The whole session is learned first, as its index learns it; each
    // message then shows what was defined before it.
    CDictionary dict;
    LoadDictionaryText("CEID\t4001\tLotStarted\n", "events.tsv", dict);
    const std::size_t nSteps = std::size(kSession);
    std::vector<std::vector<unsigned char>> bytes(nSteps);
    std::vector<std::vector<SItemView>> views(nSteps);
    std::vector<std::pair<int, int>> sf(nSteps);
    for (std::size_t i = 0; i < nSteps; ++i) {
        bytes[i] = SmlBytes(kSession[i].sml, sf[i].first, sf[i].second);
        ASSERT_FALSE(bytes[i].empty()) << kSession[i].name;
        views[i] = Views(bytes[i]);
        LearnDefinitions(sf[i].first, sf[i].second, views[i], static_cast<std::int64_t>(i), dict);
    }
    for (std::size_t i = 0; i < nSteps; ++i) {
        const SessionStep& step = kSession[i];
        SCOPED_TRACE(step.name);
        const std::span<const SItemView> primary =
            step.nPrimary < 0 ? std::span<const SItemView>() : views[step.nPrimary];
        EXPECT_EQ(Meaning(sf[i].first, sf[i].second, views[i], static_cast<std::int64_t>(i), dict,
                          primary),
                  step.meaning);
    }
    EXPECT_FALSE(dict.Find(EDefKind::kRptid, "10", 8));  // deleted, not merely empty
    const SDefinition* pLimit = dict.Find(EDefKind::kEcid, "20", 99);
    ASSERT_TRUE(pLimit);
    EXPECT_EQ(pLimit->strMax.substr(0, 4), "400 ");
}

TEST(DictionaryFile, SmlRepliesAsManualsPrintThem) {
    const std::string strSml = R"(// the equipment's variables, alarms and reports
S1F12
<L[2]
  <L[3] <U4 5> <A "LotID"> <A "">>
  <L[3] <U4 6> <A "WaferCount"> <A "pcs">>
>.
S5F6
<L[1] <L[3] <B 0x86> <U4 3> <A "Door open">>>
.
S2F33 W
<L[2] <U4 1> <L[1] <L[2] <U4 10> <L[2] <U4 5> <U4 6>>>>>.
S2F35 W
<L[2] <U4 2> <L[1] <X 4001>>>.
S7F20 <L[2] <A "RECIPE1"> <A "RECIPE2">>.
S1F24 <L[1] <L[3] <U4 4001> <A "LotStarted"> <L[1] <U4 5>>>>.
)";
    for (const char* szFile : {"manual.sml", "manual.txt"}) {
        SCOPED_TRACE(szFile);
        CDictionary dict;
        const SDictionaryLoad load = LoadDictionaryText(strSml, szFile, dict);
        EXPECT_EQ(load.nDefined, 7);
        ASSERT_EQ(load.errors.size(), 1u);
        EXPECT_EQ(load.errors[0].rfind(szFile + std::string(":13: "), 0), 0u) << load.errors[0];
        ASSERT_TRUE(dict.Find(EDefKind::kAlid, "3", 0));
        EXPECT_EQ(dict.Find(EDefKind::kAlid, "3", 0)->strName, "Door open");
        EXPECT_TRUE(dict.Find(EDefKind::kPpid, "RECIPE2", 0));

        int nStream = 0, nFunction = 0;
        const std::vector<unsigned char> bytes = SmlBytes(
            R"(S6F11 W <L[3] <U4 7> <U4 4001> <L[1] <L[2] <U4 10> <L[2] <A "L1"> <U2 25>>>>>.)",
            nStream, nFunction);
        const std::vector<SItemView> views = Views(bytes);
        const std::vector<SItemMeaning> meanings =
            AnnotateItems(nStream, nFunction, views, 0, dict);
        std::string strComments;
        for (const SItemMeaning& m : meanings)
            if (!SmlRoleComment(m).empty()) strComments += SmlRoleComment(m) + "|";
        EXPECT_EQ(
            strComments,
            "// DATAID|// CEID LotStarted|// RPTID|// VID 5 LotID|// VID 6 WaferCount [pcs]|");
        const SJsonMeaning json = JsonMeaning(meanings.back());
        EXPECT_EQ(json.strRole + "," + json.strName + "," + json.strUnits, "VID 6,WaferCount,pcs");
    }
}
