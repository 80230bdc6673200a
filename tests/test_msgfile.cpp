#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "TestHelpers.h"
#include "decode/MsgFile.h"

namespace {

namespace fs = std::filesystem;

class MsgFile : public ::testing::Test {
protected:
    void SetUp() override { m_dir = MakeTempDir("brevix-msgfile"); }
    void TearDown() override { RemoveTree(m_dir); }
    std::string Write(const char* name, const std::string& content) {
        const fs::path path = m_dir / name;
        std::ofstream(path, std::ios::binary) << content;
        return path.string();
    }
    fs::path m_dir;
};

TEST_F(MsgFile, ReadsEveryByte) {
    const std::string content("\x00\x01\x86\x0B\x80\x01\x00\x00\x00\x2A\xFF\x30", 12);
    std::vector<unsigned char> bytes{9};
    std::string strError = "stale";
    ASSERT_TRUE(ReadMessageFile(Write("a.BIG", content), bytes, strError));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), content);
    EXPECT_EQ(strError, "");
}

TEST_F(MsgFile, EmptyFileIsNoError) {
    std::vector<unsigned char> bytes{9};
    std::string strError;
    ASSERT_TRUE(ReadMessageFile(Write("empty.BIG", ""), bytes, strError));
    EXPECT_TRUE(bytes.empty());
}

// A file the user may only read still opens: the reader never asks for write access.
TEST_F(MsgFile, ReadOnlyFileOpens) {
    const std::string path = Write("locked.BIG", "0123456789");
    fs::permissions(path, fs::perms::owner_read);
    std::vector<unsigned char> bytes;
    std::string strError;
    EXPECT_TRUE(ReadMessageFile(path, bytes, strError)) << strError;
    EXPECT_EQ(bytes.size(), 10u);
}

struct FailCase {
    const char* name;
    const char* path;  // below the test folder
    const char* reason;
};

const FailCase kFailCases[] = {
    {"missing file", "missing.BIG", "No such file or directory"},
    {"a folder", "folder.BIG", "Is a directory"},
    {"below a file", "a.BIG/b.BIG", "Not a directory"},
};

TEST_F(MsgFile, FailuresGiveTheSystemsReason) {
    fs::create_directories(m_dir / "folder.BIG");
    Write("a.BIG", "x");
    for (const FailCase& c : kFailCases) {
        SCOPED_TRACE(c.name);
        std::vector<unsigned char> bytes{1, 2};
        std::string strError;
        EXPECT_FALSE(ReadMessageFile((m_dir / c.path).string(), bytes, strError));
        EXPECT_EQ(strError, c.reason);
        EXPECT_TRUE(bytes.empty());
    }
}

}  // namespace
