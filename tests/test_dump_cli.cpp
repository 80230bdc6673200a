#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "TestHelpers.h"

// Runs the real brevix-dump binary in a scratch folder holding copies of the
// samples and of the damaged files, and compares its output with the golden
// files in tests/data/golden. BREVIX_UPDATE_GOLDEN=1 rewrites them instead.

namespace fs = std::filesystem;

namespace {

void WriteAll(const fs::path& path, const std::string& str) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << str;
}

struct CRun {
    int nStatus = -1;
    std::string strOut;
    std::string strErr;
};

// fork and exec rather than system(): no shell between the test and the
// arguments, and the child's working directory is the scratch folder.
CRun RunDump(const fs::path& dir, const std::vector<std::string>& args,
             const std::string& strStdin = "", const char* szStdout = nullptr) {
    const fs::path in = dir / ".stdin";
    const fs::path out = szStdout ? fs::path(szStdout) : dir / ".stdout";
    const fs::path err = dir / ".stderr";
    WriteAll(in, strStdin);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(BREVIX_DUMP_PATH));
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        const int fdIn = open(in.c_str(), O_RDONLY);
        const int fdOut = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int fdErr = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fdIn < 0 || fdOut < 0 || fdErr < 0 || chdir(dir.c_str()) != 0) _exit(127);
        dup2(fdIn, 0);
        dup2(fdOut, 1);
        dup2(fdErr, 2);
        execv(BREVIX_DUMP_PATH, argv.data());
        _exit(127);
    }
    CRun run;
    int nWait = 0;
    if (pid > 0 && waitpid(pid, &nWait, 0) == pid && WIFEXITED(nWait))
        run.nStatus = WEXITSTATUS(nWait);
    if (!szStdout) run.strOut = ReadAll(out);
    run.strErr = ReadAll(err);
    return run;
}

class DumpCli : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = MakeTempDir("brevix-dump");
        for (const char* szFrom : {BREVIX_SAMPLES_DIR, BREVIX_TEST_DATA_DIR})
            for (const auto& entry : fs::directory_iterator(szFrom))
                if (entry.path().extension() == ".BIG") fs::copy(entry.path(), m_dir);
    }
    void TearDown() override { RemoveTree(m_dir); }
    fs::path m_dir;
};

void ExpectGolden(const std::string& strActual, const std::string& strGolden) {
    const fs::path golden = fs::path(BREVIX_TEST_DATA_DIR) / "golden" / strGolden;
    if (std::getenv("BREVIX_UPDATE_GOLDEN")) {
        WriteAll(golden, strActual);
        return;
    }
    ASSERT_TRUE(fs::exists(golden)) << golden;
    EXPECT_EQ(strActual, ReadAll(golden)) << "golden file " << golden;
}

const std::vector<std::string> kSamples = {
    "S1F1.BIG",  "S1F2.BIG",  "S1F3.BIG", "S1F4.BIG",  "S1F13.BIG",
    "S1F14.BIG", "S2F41.BIG", "S5F1.BIG", "S6F11.BIG", "S7F3.BIG",
};

// clang-format off
const std::vector<std::string> kDamaged = {
    "empty.BIG", "short_header.BIG", "incomplete_block.BIG", "garbage.BIG",
    "truncated_in_length_bytes.BIG", "truncated_in_data.BIG", "unknown_format_in_list.BIG",
    "list_without_decodable_items.BIG", "top_level_siblings.BIG", "items_after_outer_list.BIG",
    "zero_byte_ends_body.BIG", "lone_format_byte.BIG", "percent_in_text.BIG"};
// clang-format on

std::vector<std::string> With(std::vector<std::string> options,
                              const std::vector<std::string>& files) {
    options.insert(options.end(), files.begin(), files.end());
    return options;
}

// Output of whole invocations against golden files. The sample order puts
// S1F3 (style byte "0") early, so "auto" shows the flag carrying over.
TEST_F(DumpCli, GoldenOutputs) {
    struct Case {
        const char* name;
        std::vector<std::string> args;
        const char* golden;
    };
    const Case kCases[] = {
        {"samples, style auto", With({}, kSamples), "samples-auto.txt"},
        {"samples, bracket", With({"--style", "bracket"}, kSamples), "samples-bracket.txt"},
        {"samples, column", With({"--style=column"}, kSamples), "samples-column.txt"},
        {"samples, tree", With({"--tree"}, kSamples), "samples-tree.txt"},
        {"damaged, bracket", With({"--style", "bracket"}, kDamaged), "damaged-bracket.txt"},
        {"damaged, column", With({"--style", "column"}, kDamaged), "damaged-column.txt"},
        {"damaged, tree", With({"--tree"}, kDamaged), "damaged-tree.txt"},
        {"one file is the bare listing", {"--style", "bracket", "S6F11.BIG"}, "S6F11-bracket.txt"},
        {"one file, column style by default", {"S6F11.BIG"}, "S6F11-column.txt"},
        {"one file, tree", {"--tree", "S7F3.BIG"}, "S7F3-tree.txt"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        const CRun run = RunDump(m_dir, c.args);
        EXPECT_EQ(run.nStatus, 0);
        EXPECT_EQ(run.strErr, "");
        ExpectGolden(run.strOut, c.golden);
    }
}

// The checked-in samples are exactly what make-samples.sh makes of their hex
// logs, so editing a hex log without regenerating shows here.
TEST_F(DumpCli, SamplesMatchTheirHexLogs) {
    for (const std::string& strSample : kSamples) {
        SCOPED_TRACE(strSample);
        const std::string strName = strSample.substr(0, strSample.size() - 4);
        const std::string strHex = std::string(BREVIX_SAMPLES_DIR) + "/hex/" + strName + ".hex";
        ASSERT_EQ(RunDump(m_dir, {"--from-hex", strHex, "--output", "made.BIG"}).nStatus, 0);
        EXPECT_EQ(ReadAll(m_dir / "made.BIG"), ReadAll(m_dir / strSample));
    }
}

TEST_F(DumpCli, DecodingLeavesAnEmptyTechvFile) {
    ASSERT_EQ(RunDump(m_dir, {"S1F2.BIG"}).nStatus, 0);
    ASSERT_TRUE(fs::exists(m_dir / "TECHV.TXT"));
    EXPECT_EQ(fs::file_size(m_dir / "TECHV.TXT"), 0u);
}

TEST_F(DumpCli, ErrorsAndExitStatus) {
    fs::create_directory(m_dir / "folder.BIG");
    ASSERT_EQ(mkfifo((m_dir / "F.BIG").c_str(), 0600), 0);  // no writer: reading it would block
    fs::create_symlink("/dev/zero", m_dir / "zero.BIG");
    struct Case {
        const char* name;
        std::vector<std::string> args;
        int status;
        const char* out;  // null: not checked
        const char* errStart;
    };
    // clang-format off
    const Case kCases[] = {
        {"missing file among good ones", {"S1F1.BIG", "nope.BIG", "S1F1.BIG"}, 1,
         "==> S1F1.BIG <==\nS1,F1,W\n\n==> S1F1.BIG <==\nS1,F1,W\n\n",
         "brevix-dump: nope.BIG: No such file or directory\n"},
        {"folder given as file", {"folder.BIG"}, 1, "", "brevix-dump: folder.BIG: Is a directory\n"},
        {"FIFO", {"F.BIG"}, 1, "", "brevix-dump: F.BIG: not a regular file\n"},
        {"endless device", {"zero.BIG"}, 1, "", "brevix-dump: zero.BIG: not a regular file\n"},
        {"no file", {}, 2, "", "brevix-dump: no FILE given\nUsage: brevix-dump"},
        {"unknown option", {"--colour", "S1F1.BIG"}, 2, "",
         "brevix-dump: unknown option '--colour'\nUsage: brevix-dump"},
        {"help", {"--help"}, 0, nullptr, ""},
        {"version", {"--version"}, 0, "brevix-dump " BREVIX_VERSION "\n", ""},
        {"double dash ends options", {"--", "--help"}, 1, "",
         "brevix-dump: --help: No such file or directory\n"},
    };
    // clang-format on
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        const CRun run = RunDump(m_dir, c.args);
        EXPECT_EQ(run.nStatus, c.status);
        if (c.out) {
            EXPECT_EQ(run.strOut, c.out);
        }
        EXPECT_EQ(run.strErr.substr(0, std::string(c.errStart).size()), c.errStart);
    }
    EXPECT_EQ(RunDump(m_dir, {"--help"}).strOut.substr(0, 7), "Usage: ");
}

// --check is what a script runs over a folder: silent and 0 when all is well,
// one line per finding and 1 otherwise; --header names the message.
TEST_F(DumpCli, CheckAndHeader) {
    struct Case {
        const char* name;
        std::vector<std::string> args;
        int status;
        const char* out;
    };
    const Case kCases[] = {
        {"clean files", {"--check", "S1F1.BIG", "S6F11.BIG", "lone_format_byte.BIG"}, 0, ""},
        {"cut data among clean files",
         {"--check", "S1F2.BIG", "truncated_in_data.BIG"},
         1,
         "truncated_in_data.BIG: offset 12 (0xC): data ends inside ASCII item: declares 16 "
         "data bytes, 2 present\n"},
        {"unreadable", {"--check", "nope.BIG"}, 1, ""},
        {"empty file",
         {"--check", "empty.BIG"},
         1,
         "empty.BIG: offset 0 (0x0): file shorter than the header: 0 of 10 bytes\n"},
        {"wrong usage", {"--check", "--save", "S1F1.BIG"}, 2, ""},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        const CRun run = RunDump(m_dir, c.args);
        EXPECT_EQ(run.nStatus, c.status);
        EXPECT_EQ(run.strOut, c.out);
    }
    const std::string strHeader = RunDump(m_dir, {"--header", "S6F11.BIG"}).strOut;
    for (const char* szLine : {"stream: 6\nfunction: 11\nname: Event Report Send (ERS)\n",
                               "system bytes: 0x00000106\n", "hsms stype: 1\n"})
        EXPECT_NE(strHeader.find(szLine), std::string::npos) << szLine;
}

TEST_F(DumpCli, StandardInputAndOutput) {
    const std::string strS6F11 = ReadAll(m_dir / "S6F11.BIG");
    const CRun run = RunDump(m_dir, {"-"}, strS6F11);
    EXPECT_EQ(run.nStatus, 0);
    EXPECT_EQ(run.strOut, RunDump(m_dir, {"S6F11.BIG"}).strOut);
    // A listing that cannot be written is a failure, not a success.
    const CRun full = RunDump(m_dir, {"S6F11.BIG"}, "", "/dev/full");
    EXPECT_EQ(full.nStatus, 1);
    EXPECT_EQ(full.strErr, "brevix-dump: standard output: write error\n");
}

TEST_F(DumpCli, SaveWritesListingsBesideTheFiles) {
    fs::copy(m_dir / "S6F11.BIG", m_dir / "a.big");
    fs::copy(m_dir / "S1F4.BIG", m_dir / "a.BIG");
    fs::copy(m_dir / "S1F3.BIG", m_dir / "noext");
    const CRun run = RunDump(m_dir, {"--save", "S6F11.BIG", "a.big", "a.BIG", "noext"});
    EXPECT_EQ(run.nStatus, 0);
    EXPECT_EQ(run.strOut, "");
    EXPECT_EQ(run.strErr, "");
    const std::string strListing = RunDump(m_dir, {"S6F11.BIG"}).strOut;
    EXPECT_EQ(ReadAll(m_dir / "S6F11.TXT"), CrLf(strListing));
    // Names that differ only in letter case keep listings of their own.
    EXPECT_EQ(ReadAll(m_dir / "a.txt"), CrLf(strListing));
    EXPECT_EQ(ReadAll(m_dir / "a.TXT"), CrLf(RunDump(m_dir, {"S1F4.BIG"}).strOut));
    // noext ends in the style byte "0": bracket style, saved as noext.TXT.
    EXPECT_EQ(ReadAll(m_dir / "noext.TXT"),
              CrLf(RunDump(m_dir, {"--style", "bracket", "S1F3.BIG"}).strOut));

    // A folder in the way of the listing: reported, the other file still saved.
    fs::create_directory(m_dir / "S1F2.TXT");
    const CRun blocked = RunDump(m_dir, {"--save", "S1F2.BIG", "S1F4.BIG"});
    EXPECT_EQ(blocked.nStatus, 1);
    EXPECT_EQ(blocked.strErr, "brevix-dump: S1F2.TXT: Is a directory\n");
    EXPECT_TRUE(fs::exists(m_dir / "S1F4.TXT"));
}

TEST_F(DumpCli, FromHex) {
    const std::string strHex = ReadAll(fs::path(BREVIX_SAMPLES_DIR) / "hex" / "S6F11.hex");
    struct Case {
        const char* name;
        std::vector<std::string> args;
        std::string stdinText;
        int status;
        const char* written;  // file expected to hold the S6F11 bytes, or null
        const char* err;
    };
    WriteAll(m_dir / "log.txt", "  80 01 86 0b\r\n\t80 01 00 00 00 2a  \n");
    // clang-format off
    const Case kCases[] = {
        {"standard input to the default name", {"--from-hex"}, strHex, 0, "HexToSECS.BIG", ""},
        {"dash is standard input", {"--from-hex", "-", "--output", "a.BIG"}, strHex, 0, "a.BIG", ""},
        {"hex file", {"--from-hex", BREVIX_SAMPLES_DIR "/hex/S6F11.hex", "--output=b.BIG"}, "", 0,
         "b.BIG", ""},
        {"empty after cleaning", {"--from-hex", "--output", "S6F11.BIG"}, " \r\n\t ", 1, nullptr,
         "HEX LOG is empty !!!\n"},
        {"missing hex file", {"--from-hex", "nope.hex"}, "", 1, nullptr,
         "brevix-dump: nope.hex: No such file or directory\n"},
        {"output in a missing folder", {"--from-hex", "--output", "no/x.BIG"}, "01", 1, nullptr,
         "brevix-dump: no/x.BIG: No such file or directory\n"},
        {"output on a full disk", {"--from-hex", "--output", "/dev/full"}, "01", 1, nullptr,
         "brevix-dump: /dev/full: No space left on device\n"},
    };
    // clang-format on
    const std::string strBytes = ReadAll(m_dir / "S6F11.BIG");
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        const CRun run = RunDump(m_dir, c.args, c.stdinText);
        EXPECT_EQ(run.nStatus, c.status);
        EXPECT_EQ(run.strOut, "");
        EXPECT_EQ(run.strErr, c.err);
        if (c.written) {
            EXPECT_EQ(ReadAll(m_dir / c.written), strBytes);
        }
    }
    // The empty log left the existing file alone.
    EXPECT_EQ(ReadAll(m_dir / "S6F11.BIG"), strBytes);
    // A log spread over lines with tabs gives the 10 header bytes.
    ASSERT_EQ(RunDump(m_dir, {"--from-hex", "log.txt", "--output", "h.BIG"}).nStatus, 0);
    EXPECT_EQ(ReadAll(m_dir / "h.BIG"), std::string("\x80\x01\x86\x0B\x80\x01\0\0\0\x2A", 10));
    EXPECT_EQ(RunDump(m_dir, {"h.BIG"}).strOut, "S6,F11,W\n");
}

TEST_F(DumpCli, FromHexWritesOneFilePerMessage) {
    const std::string strLog =
        "10:00:00 Out: 00 00 00 0A 00 01 81 01 00 00 00 00 00 07\n"
        "10:00:01 In : 00 00 00 0A 00 01 01 02 00 00 00 00 00 07\n";
    const CRun run = RunDump(m_dir, {"--from-hex", "--output", "m.BIG"}, strLog);
    EXPECT_EQ(run.nStatus, 0);
    EXPECT_EQ(run.strErr,
              "brevix-dump: m.BIG: HSMS length 10 stripped\n"
              "brevix-dump: m-2.BIG: HSMS length 10 stripped\n");
    EXPECT_EQ(ReadAll(m_dir / "m.BIG"), std::string("\0\x01\x81\x01\0\0\0\0\0\x07", 10));
    EXPECT_EQ(ReadAll(m_dir / "m-2.BIG"), std::string("\0\x01\x01\x02\0\0\0\0\0\x07", 10));
}

TEST_F(DumpCli, ImportWritesNewFilesAndAnIndexOnly) {
    const std::vector<unsigned char> capture =
        CaptureBytes({{true, 0, "0000000A 00008101 00000000 0001", 1000000},
                      {false, 0, "0000000A 00000102 00000000 0001", 1500000}},
                     true);
    WriteAll(m_dir / "cap.pcapng", std::string(capture.begin(), capture.end()));
    WriteAll(m_dir / "log.txt", "Out: 00 00 81 03 00 00 00 00 00 09\n");
    const std::vector<std::string> args = {"--import", "cap.pcapng", "log.txt", "--out", "out"};
    CRun run = RunDump(m_dir, args);
    EXPECT_EQ(run.nStatus, 0);
    EXPECT_EQ(run.strErr, "brevix-dump: 3 messages found, 3 files written, 0 warnings\n");
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(m_dir / "out"))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"000001_S1F1W.BIG", "000002_S1F2.BIG",
                                               "000003_S1F3W.BIG", "INDEX.tsv"}));
    // A second run into the same folder replaces nothing.
    WriteAll(m_dir / "out" / "000002_S1F2.BIG", "mine");
    run = RunDump(m_dir, args);
    EXPECT_EQ(run.nStatus, 1);
    EXPECT_NE(run.strErr.find("out/000002_S1F2.BIG: File exists\n"), std::string::npos);
    EXPECT_EQ(ReadAll(m_dir / "out" / "000002_S1F2.BIG"), "mine");
}

// A failed write leaves no INDEX.tsv, so the folder never passes for a
// finished import; --out makes the folders it needs.
TEST_F(DumpCli, ImportIndexOnlyWhenEveryMessageWasWritten) {
    const std::vector<unsigned char> capture =
        CaptureBytes({{true, 0, "0000000A 00008101 00000000 0001", 1000000},
                      {false, 0, "0000000A 00000102 00000000 0001", 1500000}},
                     false);
    WriteAll(m_dir / "cap.pcap", std::string(capture.begin(), capture.end()));
    fs::create_directory(m_dir / "part");
    WriteAll(m_dir / "part" / "000002_S1F2.BIG", "mine");
    EXPECT_EQ(RunDump(m_dir, {"--import", "cap.pcap", "--out", "part"}).nStatus, 1);
    EXPECT_TRUE(fs::exists(m_dir / "part" / "000001_S1F1W.BIG"));
    EXPECT_FALSE(fs::exists(m_dir / "part" / "INDEX.tsv"));
    EXPECT_EQ(RunDump(m_dir, {"--import", "cap.pcap", "--out", "new/deep/out"}).nStatus, 0);
    EXPECT_TRUE(fs::exists(m_dir / "new" / "deep" / "out" / "INDEX.tsv"));

    // One line per message; S1F2 answers message 1 after 0.5 s.
    const CRun list = RunDump(m_dir, {"--list", "cap.pcap"});
    EXPECT_EQ(list.strOut,
              "1 1970-01-01T00:00:01.000000Z 10.0.0.1:40000 -> 10.0.0.2:5000 S1F1W Are You There "
              "Request 00000001 10 - - answered\n"
              "2 1970-01-01T00:00:01.500000Z 10.0.0.2:5000 -> 10.0.0.1:40000 S1F2 On Line Data "
              "00000001 10 1 0.500000 ok\n");
    EXPECT_EQ(RunDump(m_dir, {"--list", "cap.pcap", "--filter", "S1F2"}).strOut,
              list.strOut.substr(list.strOut.find("\n2 ") + 1));
}

// SML out of every sample and back in: several messages become OUT.BIG,
// OUT-2.BIG, ...; a mistake anywhere writes nothing and names its place.
TEST_F(DumpCli, SmlOutAndIn) {
    const CRun sml = RunDump(m_dir, {"--sml", "S1F2.BIG", "S6F11.BIG"});
    ASSERT_EQ(sml.nStatus, 0);
    WriteAll(m_dir / "two.sml", sml.strOut);
    ASSERT_EQ(RunDump(m_dir, {"--from-sml", "two.sml", "--output", "out.BIG"}).nStatus, 0);
    for (const auto& [szMade, szSample] :
         {std::pair{"out.BIG", "S1F2.BIG"}, std::pair{"out-2.BIG", "S6F11.BIG"}}) {
        SCOPED_TRACE(szMade);
        EXPECT_EQ(RunDump(m_dir, {szMade}).strOut, RunDump(m_dir, {szSample}).strOut);
    }
    EXPECT_EQ(ReadAll(m_dir / "out-2.BIG").substr(0, 10),
              std::string("\0\0\x86\x0B\x80\x01\0\0\0\x02", 10));
    ASSERT_EQ(RunDump(m_dir, {"--from-sml", "-"}, "S1F1 W .").nStatus, 0);
    EXPECT_TRUE(fs::exists(m_dir / "FromSML.BIG"));

    WriteAll(m_dir / "bad.sml", "S1F1 <U1 1> .\nS1F2\n<L\n  <U1 300>\n>\n");
    const CRun bad = RunDump(m_dir, {"--from-sml", "bad.sml"});
    EXPECT_EQ(bad.nStatus, 1);
    EXPECT_EQ(bad.strErr, "brevix-dump: bad.sml:4:7: expected an integer from 0 to 255\n");
    EXPECT_FALSE(fs::exists(m_dir / "bad.BIG"));
}

}  // namespace
