#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "TestHelpers.h"
#include "io/ListingFile.h"

namespace {

TEST(ListingFile, PathBesideTheMessage) {
    struct Case {
        const char* path;
        const char* listing;
    };
    const Case kCases[] = {
        {"0001.BIG", "0001.TXT"},
        {"/logs/0001.BIG", "/logs/0001.TXT"},
        {"/logs/a.big", "/logs/a.TXT"},
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

}  // namespace
