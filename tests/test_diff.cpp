#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "TestHelpers.h"
#include "cli/DumpOptions.h"
#include "cli/DumpRun.h"
#include "io/AtomicFile.h"
#include "render/MessageDiff.h"
#include "render/SeqAlign.h"
#include "render/SessionDiff.h"

namespace {

// Length of a longest common subsequence by the textbook table.
std::size_t LcsLength(const std::vector<std::uint64_t>& a, const std::vector<std::uint64_t>& b) {
    std::vector<std::size_t> row(b.size() + 1, 0), prev(b.size() + 1, 0);
    for (std::size_t i = 1; i <= a.size(); ++i) {
        for (std::size_t j = 1; j <= b.size(); ++j)
            row[j] = a[i - 1] == b[j - 1] ? prev[j - 1] + 1 : std::max(prev[j], row[j - 1]);
        std::swap(row, prev);
    }
    return prev[b.size()];
}

// Pairs must rise in both positions and join equal keys.
bool ValidPairs(const std::vector<SAlignPair>& pairs, const std::vector<std::uint64_t>& a,
                const std::vector<std::uint64_t>& b) {
    for (std::size_t p = 0; p < pairs.size(); ++p) {
        if (pairs[p].nA >= a.size() || pairs[p].nB >= b.size()) return false;
        if (a[pairs[p].nA] != b[pairs[p].nB]) return false;
        if (p && (pairs[p].nA <= pairs[p - 1].nA || pairs[p].nB <= pairs[p - 1].nB)) return false;
    }
    return true;
}

TEST(AlignKeys, FindsALongestCommonSubsequence) {
    std::mt19937 rng(19);
    for (int nRun = 0; nRun < 400; ++nRun) {
        SCOPED_TRACE(nRun);
        std::uniform_int_distribution<int> len(0, 40), sym(0, nRun % 2 ? 3 : 12);
        std::vector<std::uint64_t> a(static_cast<std::size_t>(len(rng))),
            b(static_cast<std::size_t>(len(rng)));
        for (auto& k : a) k = static_cast<std::uint64_t>(sym(rng));
        for (auto& k : b) k = static_cast<std::uint64_t>(sym(rng));
        const auto pairs = AlignKeys(a, b);
        EXPECT_TRUE(ValidPairs(pairs, a, b));
        EXPECT_EQ(pairs.size(), LcsLength(a, b));
        // Giving up early still leaves a valid, if shorter, alignment.
        EXPECT_TRUE(ValidPairs(AlignKeys(a, b, 2), a, b));
    }
}

// "kind path value|value", a B path in brackets where it differs, "; " between.
std::string DumpDiffs(const SMessageDiff& d) {
    static const char* const kKinds[] = {"value", "format", "onlyA", "onlyB"};
    std::string s;
    for (const SItemDiff& i : d.items) {
        if (!s.empty()) s += "; ";
        s += kKinds[static_cast<int>(i.eKind)];
        s += " " + (i.a.nItem >= 0 ? i.a.strPath : i.b.strPath);
        if (i.a.nItem >= 0 && i.b.nItem >= 0 && i.a.strPath != i.b.strPath)
            s += "(" + i.b.strPath + ")";
        if (i.a.nItem >= 0) s += " " + i.a.strValue;
        if (i.a.nItem >= 0 && i.b.nItem >= 0) s += "|";
        if (i.b.nItem >= 0) s += (i.a.nItem >= 0 ? "" : " ") + i.b.strValue;
    }
    return s;
}

SMessageDiff DiffBodies(const std::string& strA, const std::string& strB) {
    const auto a = MessageBytes(6, 11, strA), b = MessageBytes(6, 11, strB);
    return DiffMessages(DiffMessageOfBytes(a.data(), a.size()),
                        DiffMessageOfBytes(b.data(), b.size()));
}

struct DiffCase {
    const char* name;
    const char* a;
    const char* b;
    const char* diffs;
};

// L = 01 nn, U1 = A5 01 v, U2 = A9 02 .., A = 41 nn text.
const DiffCase kDiffCases[] = {
    {"identical", "01 02 A5 01 05 A5 01 06", "01 02 A5 01 05 A5 01 06", ""},
    {"longer length field, same item", "A5 01 05", "A6 00 01 05", ""},
    {"value change", "01 02 A5 01 05 A5 01 06", "01 02 A5 01 05 A5 01 07", "value /2 6|7"},
    {"one inserted item", "01 03 A5 01 01 A5 01 02 A5 01 03",
     "01 04 A5 01 01 A5 01 09 A5 01 02 A5 01 03", "onlyB /2 9"},
    {"removed report",
     "01 03 01 02 A5 01 01 41 01 61 01 02 A5 01 02 41 01 62 01 02 A5 01 03 41 01 63",
     "01 02 01 02 A5 01 01 41 01 61 01 02 A5 01 03 41 01 63", "onlyA /2 "},
    {"inserted report before a changed one, paired by report id",
     "01 02 01 02 A5 01 01 41 01 61 01 02 A5 01 02 41 01 62",
     "01 03 01 02 A5 01 01 41 01 61 01 02 A5 01 09 41 01 7A 01 02 A5 01 02 41 01 78",
     "onlyB /2 ; value /2/2(/3/2) \"b\"|\"x\""},
    {"U1 to U2", "01 01 A5 01 05", "01 01 A9 02 00 05", "format /1 5|5"},
    {"element count", "A5 02 01 02", "A5 01 01", "format / 1 2|1"},
    {"list against data item", "01 01 A5 01 05", "A5 01 05", "format / |5"},
    {"partner cut inside text", "01 02 41 04 4C 4F 54 31 A5 01 03", "01 02 41 04 4C 4F",
     "format /1 \"LOT1\"|\"LO\"; onlyA /2 3"},
    {"empty body", "", "A5 01 05", "onlyB / 5"},
    {"second top-level item", "A5 01 05", "A5 01 05 A5 01 06", "onlyB #2 6"},
};

TEST(MessageDiff, PairsGiveTheirDifferences) {
    for (const DiffCase& c : kDiffCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DumpDiffs(DiffBodies(c.a, c.b)), c.diffs);
    }
}

TEST(MessageDiff, DeepNestingNeedsNoRecursion) {
    const int nDepth = 20000;
    const SMessageDiff d =
        DiffBodies(Repeat("01 01 ", nDepth) + "A5 01 01", Repeat("01 01 ", nDepth) + "A5 01 02");
    ASSERT_EQ(d.items.size(), 1u);
    EXPECT_EQ(d.items[0].a.strPath, Repeat("/1", nDepth));
    EXPECT_EQ(d.rows.size(), static_cast<std::size_t>(nDepth + 1));
}

TEST(MessageDiff, HeaderFieldsAreListedApart) {
    // Device 1, S6F11W, system bytes 1 against device 2, S6F12, system bytes 0x102.
    const auto a = BytesFromHex("00 01 86 0B 80 01 00 00 00 01 A5 01 05");
    const auto b = BytesFromHex("00 02 06 0C 80 01 00 00 01 02 A5 01 05");
    const SMessageDiff d = DiffMessages(DiffMessageOfBytes(a.data(), a.size()),
                                        DiffMessageOfBytes(b.data(), b.size()));
    std::string s;
    for (const SHeaderDiff& h : d.header)
        s +=
            std::string(h.szField) + " " + std::to_string(h.nA) + "|" + std::to_string(h.nB) + "; ";
    EXPECT_EQ(s, "function 11|12; W-bit 1|0; device id 1|2; system bytes 1|258; ");
    EXPECT_TRUE(d.items.empty());
}

// Every prefix of every sample against the whole, each prefix alone in a
// heap block of its size so that AddressSanitizer sees any overread. A
// prefix that ends on an item boundary of the whole leaves only items of B.
TEST(MessageDiff, CutPartnersCompareWhatIsThere) {
    for (const SMessageFile& f : ReadBigFiles({BREVIX_SAMPLES_DIR, BREVIX_FUZZ_CORPUS_DIR})) {
        SCOPED_TRACE(f.strPath);
        const SDiffMessage whole = DiffMessageOfBytes(f.bytes.data(), f.bytes.size());
        EXPECT_TRUE(DiffMessages(whole, whole).items.empty());
        // A lone non-final block holds no items, though its prefixes do.
        const bool bItemsOfB = !whole.items.empty();
        for (std::size_t n = 0; n < f.bytes.size(); ++n) {
            const auto pCut = std::make_unique<unsigned char[]>(n);
            std::copy(f.bytes.begin(), f.bytes.begin() + static_cast<std::ptrdiff_t>(n),
                      pCut.get());
            const SMessageDiff d = DiffMessages(DiffMessageOfBytes(pCut.get(), n), whole);
            for (const SItemDiff& i : d.items)
                EXPECT_TRUE(!bItemsOfB || i.eKind != EDiffKind::kOnlyA);
        }
    }
}

SSessionMessage SessionMsg(int nStream, int nFunction, bool bW, const std::string& strBody) {
    SSessionMessage m;
    m.nStream = nStream;
    m.nFunction = nFunction;
    m.bWBit = bW;
    m.strName = SessionKeyText(m);
    const auto bytes = MessageBytes(nStream, nFunction, strBody);
    m.load = [bytes](std::vector<unsigned char>& out) {
        out = bytes;
        return true;
    };
    return m;
}

std::string DumpSession(const SSessionDiff& d, const std::vector<SSessionMessage>& a,
                        const std::vector<SSessionMessage>& b) {
    static const char* const kMarks[] = {"=", "~", "-", "+"};
    std::string s;
    for (const SSessionPair& p : d.pairs) {
        const SSessionMessage& m =
            p.nA >= 0 ? a[static_cast<std::size_t>(p.nA)] : b[static_cast<std::size_t>(p.nB)];
        s += std::string(kMarks[static_cast<int>(p.eMatch)]) + SessionKeyText(m) + " ";
    }
    return s;
}

TEST(SessionDiff, KnownAlignment) {
    const std::vector<SSessionMessage> a = {
        SessionMsg(1, 1, true, ""),          SessionMsg(1, 2, false, "01 00"),
        SessionMsg(6, 11, true, "A5 01 05"), SessionMsg(6, 12, false, "21 01 00"),
        SessionMsg(2, 41, true, "41 01 61"),
    };
    std::vector<SSessionMessage> b = {
        SessionMsg(1, 1, true, ""),           SessionMsg(6, 11, true, "A5 01 06"),
        SessionMsg(6, 12, false, "21 01 00"), SessionMsg(5, 1, true, "21 01 01"),
        SessionMsg(2, 41, true, "41 01 61"),
    };
    EXPECT_EQ(DumpSession(DiffSessions(a, b), a, b), "=S1F1W -S1F2 ~S6F11W =S6F12 +S5F1W =S2F41W ");
    // Report ids set apart what SxFy alone would pair.
    b[1].roles = {"CEID 7"};
    EXPECT_EQ(DumpSession(DiffSessions(a, b), a, b),
              "=S1F1W -S1F2 -S6F11W +S6F11W =S6F12 +S5F1W =S2F41W ");
    b[1].roles.clear();
    b[1].load = [](std::vector<unsigned char>&) { return false; };
    const SSessionDiff d = DiffSessions(a, b);
    EXPECT_TRUE(d.pairs[2].bUnreadable);
    EXPECT_EQ(d.nCount[static_cast<int>(ESessionMatch::kChanged)], 1u);
}

// Exit status of brevix-dump run in-process; 2 for wrong usage, as main
// returns it.
int RunDumpStatus(const std::vector<std::string>& args, std::string& strOut) {
    CDumpOptions opts;
    std::string strError;
    if (!ParseDumpOptions(args, opts, strError)) return 2;
    std::ostringstream out, err;
    std::istringstream in;
    const int nStatus = RunDump(opts, out, err, in);
    strOut = out.str();
    return nStatus;
}

struct CliCase {
    const char* name;
    std::vector<std::string> args;  // names below the test's folder
    int nStatus;
    const char* out;  // null: not checked
};

const CliCase kCliCases[] = {
    {"same file", {"--diff", "s1/a.BIG", "s1/a.BIG"}, 0, ""},
    {"other header only",
     {"--diff", "s1/a.BIG", "s2/a.BIG"},
     0,
     "header system bytes: 0x00000001 | 0x00000002\n"},
    {"header ignored", {"--diff", "--ignore-header", "s1/a.BIG", "s2/a.BIG"}, 0, ""},
    {"bodies differ",
     {"--diff", "s1/b.BIG", "s2/b.BIG"},
     1,
     "/ value: U1[1] 5 at 10 (0xA) | U1[1] 6 at 10 (0xA)\n"},
    {"missing file", {"--diff", "s1/a.BIG", "s1/none.BIG"}, 2, nullptr},
    {"file against folder", {"--diff", "s1/a.BIG", "s2"}, 2, nullptr},
    {"same session", {"--diff", "s1", "s1"}, 0, "equal 2, changed 0, only in A 0, only in B 0\n"},
    {"sessions differ",
     {"--diff", "s1", "s2"},
     1,
     "equal 1, changed 1, only in A 0, only in B 1\nchanged S6F11W A 2 - | B 2 -\nonly in B S1F1W "
     "B 3 -\n"},
    // S1F2 missing from B; the first S6F11's DATAID changed; S5F1 new in B; the
    // last S6F11 reports another CEID, so it is another message.
    {"two logs",
     {"--diff", "a.log", "b.log"},
     1,
     "equal 2, changed 1, only in A 2, only in B 2\n"
     "only in A S1F2 A 2 10:00:00.100000\n"
     "changed S6F11W A 3 10:00:01.000000 | B 2 10:00:01.000000\n"
     "only in A S6F11W A 5 10:00:03.000000\n"
     "only in B S5F1W B 4 10:00:02.000000\n"
     "only in B S6F11W B 5 10:00:03.000000\n"},
    {"CEID ignored pairs the last S6F11",
     {"--diff", "--ignore=CEID", "a.log", "b.log"},
     1,
     "equal 3, changed 1, only in A 1, only in B 1\n"
     "only in A S1F2 A 2 10:00:00.100000\n"
     "changed S6F11W A 3 10:00:01.000000 | B 2 10:00:01.000000\n"
     "only in B S5F1W B 4 10:00:02.000000\n"},
    // Select.req and Select.rsp, HSMS framed, before A's S1F1W; B's has other system bytes.
    {"control messages left out",
     {"--diff", "h1.log", "h2.log"},
     0,
     "equal 1, changed 0, only in A 0, only in B 0\n"},
    {"log against itself", {"--diff", "a.log", "a.log"}, 0, nullptr},
    {"log against a message file", {"--diff", "a.log", "s1/a.BIG"}, 2, nullptr},
    // S6F11 is L[3]{DATAID CEID L[n]{...}}; S2F18 is TIME.
    {"DATAID differs", {"--diff", "ev1.BIG", "ev2.BIG"}, 1, nullptr},
    {"DATAID ignored", {"--diff", "--ignore=DATAID", "ev1.BIG", "ev2.BIG"}, 0, ""},
    {"CEID still compared",
     {"--diff", "--ignore=DATAID", "ev1.BIG", "ev3.BIG"},
     1,
     "/2 value: U1[1] 10 at 15 (0xF) | U1[1] 11 at 15 (0xF)\n"},
    {"TIME ignored", {"--diff", "--ignore=CEID", "--ignore=TIME", "t1.BIG", "t2.BIG"}, 0, ""},
    {"no such role", {"--diff", "--ignore=BOGUS", "t1.BIG", "t2.BIG"}, 2, nullptr},
    {"one operand", {"--diff", "s1/a.BIG"}, 2, nullptr},
    {"ignore-header alone", {"--ignore-header", "s1/a.BIG"}, 2, nullptr},
};

TEST(DumpDiff, ExitStatusesAndLines) {
    const std::string strDir = MakeTempDir("brevix-diff");
    std::vector<unsigned char> a = MessageBytes(1, 13, "01 00");
    const auto write = [&](const std::string& strName, const std::vector<unsigned char>& bytes) {
        std::string strError;
        EXPECT_TRUE(WriteWholeFile(strDir + "/" + strName, bytes.data(), bytes.size(), strError));
    };
    std::filesystem::create_directories(strDir + "/s1");
    std::filesystem::create_directories(strDir + "/s2");
    write("s1/a.BIG", a);
    a[9] = 2;  // system bytes
    write("s2/a.BIG", a);
    write("s1/b.BIG", MessageBytes(6, 11, "A5 01 05"));
    write("s2/b.BIG", MessageBytes(6, 11, "A5 01 06"));
    write("s2/c.BIG", MessageBytes(1, 1, ""));
    write("ev1.BIG", MessageBytes(6, 11, "01 03 A5 01 01 A5 01 0A 01 00"));
    write("ev2.BIG", MessageBytes(6, 11, "01 03 A5 01 02 A5 01 0A 01 00"));
    write("ev3.BIG", MessageBytes(6, 11, "01 03 A5 01 01 A5 01 0B 01 00"));
    write("t1.BIG", MessageBytes(2, 18, "41 02 31 32"));
    write("t2.BIG", MessageBytes(2, 18, "41 02 31 33"));
    const auto text = [](const std::string& str) {
        return std::vector<unsigned char>(str.begin(), str.end());
    };
    write("h1.log", text("10:00:00.000 Out: 00 00 00 0A FF FF 00 00 00 01 00 00 00 01\n"
                         "10:00:00.100 In : 00 00 00 0A FF FF 00 00 00 02 00 00 00 01\n"
                         "10:00:01.000 Out: 00 00 00 0A 00 00 81 01 00 00 00 00 00 02\n"));
    write("h2.log", text("11:00:01.000 Out: 00 00 00 0A 00 00 81 01 00 00 00 00 00 07\n"));
    const auto event = [](const char* szTime, const char* szDataId, const char* szCeid) {
        return std::string(szTime) + " SEND S6F11 W\n<L [3]\n  <U4 " + szDataId + ">\n  <U4 " +
               szCeid + ">\n  <L [0]>\n>\n.\n";
    };
    write("a.log",
          text("10:00:00.000 SEND S1F1 W\n.\n10:00:00.100 RECV S1F2\n<L [0]>\n.\n" +
               event("10:00:01.000", "1", "10") + "10:00:01.200 RECV S6F12\n<B 0x00>\n.\n" +
               event("10:00:03.000", "3", "20")));
    write("b.log", text("10:00:00.000 SEND S1F1 W\n.\n" + event("10:00:01.000", "2", "10") +
                        "10:00:01.200 RECV S6F12\n<B 0x00>\n.\n"
                        "10:00:02.000 SEND S5F1 W\n<B 0x01>\n.\n" +
                        event("10:00:03.000", "3", "30")));
    for (const CliCase& c : kCliCases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> args;
        for (const std::string& s : c.args) args.push_back(s[0] == '-' ? s : strDir + "/" + s);
        std::string strOut;
        EXPECT_EQ(RunDumpStatus(args, strOut), c.nStatus);
        if (c.out) {
            EXPECT_EQ(strOut, c.out);
        }
    }
    RemoveTree(strDir);
}

}  // namespace
