#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "TestHelpers.h"
#include "io/MsgFile.h"

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

// A file the user may only read still opens: the reader never asks for write access.
TEST_F(MsgFile, ReadsEveryByte) {
    struct Case {
        const char* name;
        const char* file;
        std::string content;
        bool bReadOnly;
    };
    const Case kCases[] = {
        {"message with a style byte", "a.BIG",
         std::string("\x00\x01\x86\x0B\x80\x01\x00\x00\x00\x2A\xFF\x30", 12), false},
        {"empty file is no error", "empty.BIG", "", false},
        {"read-only file", "locked.BIG", "0123456789", true},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        const std::string path = Write(c.file, c.content);
        if (c.bReadOnly) fs::permissions(path, fs::perms::owner_read);
        std::vector<unsigned char> bytes{9};
        std::string strError = "stale";
        ASSERT_TRUE(ReadMessageFile(path, bytes, strError)) << strError;
        EXPECT_EQ(std::string(bytes.begin(), bytes.end()), c.content);
        EXPECT_EQ(strError, "");
    }
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
