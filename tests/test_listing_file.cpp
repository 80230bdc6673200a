#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <iterator>
#include <string>

#include "TestHelpers.h"
#include "decode/Decode.h"
#include "io/ListingFile.h"

namespace {

namespace fs = std::filesystem;

TEST(ListingFile, PathBesideTheMessage) {
    struct Case {
        const char* path;
        const char* listing;
    };
    const Case kCases[] = {
        {"0001.BIG", "0001.TXT"},
        {"/logs/0001.BIG", "/logs/0001.TXT"},
        {"/logs/a.big", "/logs/a.txt"},
        {"/logs/a.bIg", "/logs/a.TXT"},
        {"/logs/a.Big", "/logs/a.TXT"},
        {"/logs.BIG/0001.BIG", "/logs.BIG/0001.TXT"},
        {"/logs.BIG/0001", "/logs.BIG/0001.TXT"},
        {"a.BIG.bak", "a.BIG.bak.TXT"},
        {"HexToSECS.BIG", "HexToSECS.TXT"},
        {"BIG", "BIG.TXT"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(ListingPathFor(c.path), c.listing);
    }
}

class ListingFileWrite : public ::testing::Test {
protected:
    void SetUp() override { m_strDir = MakeTempDir("brevix-listing"); }
    void TearDown() override { RemoveTree(m_strDir); }
    std::string m_strDir;
};

TEST_F(ListingFileWrite, LineFeedsBecomeCrLfAndNothingElse) {
    struct Case {
        const char* name;
        std::string listing;
        std::string file;
    };
    const Case kCases[] = {
        {"column ends with a line feed", "S1,F1,W\n", "S1,F1,W\r\n"},
        {"bracket ends with >", "<S1F1W\n   <L[0/1]>\n>", "<S1F1W\r\n   <L[0/1]>\r\n>"},
        {"percent and NUL kept", std::string("100%\0x", 6), std::string("100%\0x", 6)},
        {"existing CR doubled only before LF", "a\r\nb", "a\r\r\nb"},
        {"empty", "", ""},
    };
    const std::string strPath = m_strDir + "/out.TXT";
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        std::string strError = "stale";
        ASSERT_TRUE(WriteListingFile(strPath, c.listing, strError));
        EXPECT_EQ(strError, "");
        EXPECT_EQ(ReadAll(strPath), c.file);
    }
}

TEST_F(ListingFileWrite, FailuresAreReportedWithAReason) {
    struct Case {
        const char* name;
        std::string path;
        const char* reason;
    };
    mkdir((m_strDir + "/ro").c_str(), 0500);
    const bool bRoot = geteuid() == 0;  // root writes into read-only folders
    const Case kCases[] = {
        {"missing folder", m_strDir + "/missing/out.TXT", "No such file or directory"},
        {"folder as file", m_strDir, "Is a directory"},
        {"disk full", "/dev/full", "No space left on device"},
        {"read-only folder", m_strDir + "/ro/out.TXT", bRoot ? nullptr : "Permission denied"},
    };
    const std::string strListing(100000, '\n');  // more than any stdio buffer
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        if (!c.reason) continue;
        std::string strError;
        EXPECT_FALSE(WriteListingFile(c.path, strListing, strError));
        EXPECT_EQ(strError, c.reason);
        std::string strSmall;
        EXPECT_FALSE(WriteListingFile(c.path, "x", strSmall));
        EXPECT_EQ(strSmall, c.reason);
    }
}

// A failure half-way (here the file size limit, as a full disk would) leaves
// the previous listing as it was and no temporary file beside it.
TEST_F(ListingFileWrite, FailureKeepsThePreviousFile) {
    const std::string strPath = m_strDir + "/keep.TXT";
    std::string strError;
    ASSERT_TRUE(WriteListingFile(strPath, "old\n", strError));
    struct rlimit old {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool bWritten = WriteListingFile(strPath, std::string(10000, 'x'), strError);
    setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_FALSE(bWritten);
    EXPECT_EQ(strError, "File too large");
    EXPECT_EQ(ReadAll(strPath), "old\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(m_strDir), fs::directory_iterator()), 1);
}

// Replacing a file keeps its permission bits, and a link keeps pointing at
// the file it named, which receives the new content.
TEST_F(ListingFileWrite, ReplacingKeepsModeAndLinks) {
    const std::string strPath = m_strDir + "/mode.TXT";
    std::string strError;
    ASSERT_TRUE(WriteListingFile(strPath, "1", strError));
    chmod(strPath.c_str(), 0640);
    fs::create_symlink("mode.TXT", m_strDir + "/link.TXT");
    ASSERT_TRUE(WriteListingFile(m_strDir + "/link.TXT", "2", strError)) << strError;
    struct stat st {};
    ASSERT_EQ(stat(strPath.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_TRUE(fs::is_symlink(m_strDir + "/link.TXT"));
    EXPECT_EQ(ReadAll(strPath), "2");
}

// The saved listing reads the same under a locale that writes "1,5".
TEST_F(ListingFileWrite, NumbersIgnoreTheLocale) {
    const auto pMsg = BuildMessage(1, 4, false, "L{F4(1.5 -0.25) F8(2.5) U8(123456789)}");
    const CCommaLocale locale;
    if (!locale.Ok()) GTEST_SKIP() << "no comma-decimal locale: install locales (localedef)";
    CDecode decoder;
    const std::string strPath = m_strDir + "/S1F4.TXT";
    std::string strError;
    ASSERT_TRUE(WriteListingFile(strPath, decoder.GetMsgText(pMsg.get(), 0, 0), strError));
    EXPECT_EQ(ReadAll(strPath),
              "<S1F4\r\n   <L[3/1]      \r\n      <F4[2/1] 1.500000 -0.250000>\r\n"
              "      <F8[1/1] 2.500000>\r\n      <U8[1/1] 1.23457E+008>\r\n   >\r\n>");
}

}  // namespace
