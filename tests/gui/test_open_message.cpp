#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTest>
#include <QTreeView>
#include <algorithm>
#include <filesystem>

#include "GuiFixture.h"
#include "TestHelpers.h"
#include "app/MessageTreeModel.h"
#include "decode/Decode.h"

namespace {

std::vector<unsigned char> WithStyleByte(std::vector<unsigned char> bytes, char cStyle) {
    if (cStyle != 0) bytes.push_back(static_cast<unsigned char>(cStyle));
    return bytes;
}

// The listing as the decoder writes it, every line feed stored as CR LF.
std::string ExpectedListing(const std::vector<unsigned char>& bytes, int nStyle) {
    CDecode decoder;
    int nIgnored = nStyle;
    auto pMsg = decoder.Decode(bytes.data(), static_cast<unsigned int>(bytes.size()), &nIgnored);
    return CrLf(decoder.GetMsgText(pMsg.get(), 0, nStyle));
}

}  // namespace

class OpenMessageTest : public CGuiTest {
protected:
    static bool RootSelected(const CBrevixDlg& dlg) {
        const QModelIndex root = dlg.m_pTreeModel->RootIndex();
        return root.isValid() && dlg.m_treeMessage->currentIndex() == root &&
               dlg.m_treeMessage->selectionModel()->isSelected(root);
    }
};

TEST_F(OpenMessageTest, SelectingAFileShowsItsTreeFullyExpanded) {
    struct Case {
        const char* name;
        const char* body;
        char cStyle;  // trailing style byte, 0 for none
        Strings rows;
    };
    // clang-format off
    const Case kCases[] = {
        {"header only", "", 0, {"S6F11W"}},
        {"list of two", "01 02 A5 01 05 41 02 45 56", 0,
         {"S6F11W", "  LIST  [2] ", "    UINT1 [1] 5 ", "    ASCII [2] \"EV\" "}},
        {"nested lists", "01 02 01 01 A5 01 07 41 01 78", 0,
         {"S6F11W", "  LIST  [2] ", "    LIST  [1] ", "      UINT1 [1] 7 ", "    ASCII [1] \"x\" "}},
        {"top-level items side by side", "A5 01 01 A5 01 02", 0,
         {"S6F11W", "  UINT1 [1] 1 ", "  UINT1 [1] 2 "}},
        {"bracket style byte", "01 02 A5 01 05 01 00", '0',
         {"S6F11W", "  L[2] ", "    U1[1] 5 ", "    L[0] "}},
        {"8-bit text byte for byte", "41 03 45 E9 FF", 0,
         {"S6F11W", "  ASCII [3] \"E\xC3\xA9\xC3\xBF\" "}},
        {"binary label keeps its line feeds",
         "21 15 00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10 11 12 13 14", 0,
         {"S6F11W", "  BINARY[21] 0x00 0x01 0x02 0x03 0x04 0x05 0x06 0x07 0x08 0x09 0x0A 0x0B 0x0C "
                    "0x0D 0x0E 0x0F 0x10 0x11 0x12 0x13 \n      0x14 "}},
    };
    // clang-format on
    int nCase = 0;
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        const std::string strFolder = Dir("tree" + std::to_string(nCase++));
        auto pDlg = ShowFolder(strFolder,
                               {{"M.BIG", WithStyleByte(MessageBytes(6, 11, c.body), c.cStyle)}});
        ClickFile(*pDlg, 0);
        EXPECT_EQ(TreeRows(*pDlg), c.rows);
        EXPECT_TRUE(AllExpanded(*pDlg));
        EXPECT_TRUE(RootSelected(*pDlg));
        EXPECT_TRUE(m_prompter.m_messages.empty());
    }
}

// The style byte of one file holds for the files opened after it.
TEST_F(OpenMessageTest, StyleByteSwitchesTheLabelsOfLaterFilesToo) {
    const std::vector<unsigned char> body = MessageBytes(1, 3, "A5 01 09");
    auto pDlg = ShowFolder(Dir("style"), {{"0.BIG", WithStyleByte(body, '0')},
                                          {"1.BIG", WithStyleByte(body, '1')},
                                          {"N.BIG", body}});
    struct Step {
        const char* name;
        int nRow;
        const char* label;
        int nFlag;
    };
    const Step kSteps[] = {
        {"start: column style", 2, "  UINT1 [1] 9 ", 1},
        {"style byte 0", 0, "  U1[1] 9 ", 0},
        {"no style byte keeps bracket", 2, "  U1[1] 9 ", 0},
        {"style byte 1", 1, "  UINT1 [1] 9 ", 1},
        {"no style byte keeps column", 2, "  UINT1 [1] 9 ", 1},
    };
    for (const Step& s : kSteps) {
        SCOPED_TRACE(s.name);
        ClickFile(*pDlg, s.nRow);
        EXPECT_EQ(TreeRows(*pDlg), (Strings{"S1F3W", s.label}));
        EXPECT_EQ(pDlg->m_nStyleFlag, s.nFlag);
    }
}

// ... and each saves a listing of its own: "a.big" to "a.txt".
TEST_F(OpenMessageTest, EntriesDifferingInCaseOpenAndSaveTheirOwnFiles) {
    const std::string strFolder = Dir("case");
    auto pDlg = ShowFolder(strFolder,
                           {{"a.big", MessageBytes(1, 1, "")}, {"A.BIG", MessageBytes(2, 2, "")}});
    ASSERT_EQ(FileListTexts(*pDlg), (Strings{"A.BIG", "A.BIG"}));
    ClickFile(*pDlg, 0);
    EXPECT_EQ(TreeRows(*pDlg), Strings{"S2F2W"});
    Click(pDlg->m_btnSaveText);
    ClickFile(*pDlg, 1);
    EXPECT_EQ(TreeRows(*pDlg), Strings{"S1F1W"});
    Click(pDlg->m_btnSaveText);
    EXPECT_EQ(ReadAll(strFolder + "/A.TXT"), "S2,F2,W\r\n");
    EXPECT_EQ(ReadAll(strFolder + "/a.txt"), "S1,F1,W\r\n");
}

// File names are bytes: one that is not valid UTF-8 still opens its own file.
TEST_F(OpenMessageTest, NameThatIsNotValidTextOpens) {
    auto pDlg = ShowFolder(Dir("bytes"), {{"\xE9t\xE9.big", MessageBytes(3, 5, "")}});
    ASSERT_EQ(FileListTexts(*pDlg).size(), 1u);
    ClickFile(*pDlg, 0);
    EXPECT_TRUE(m_prompter.m_messages.empty());
    EXPECT_EQ(TreeRows(*pDlg), Strings{"S3F5W"});
}

TEST_F(OpenMessageTest, ReadOnlyFileOpens) {
    const std::string strFolder = Dir("ro");
    auto pDlg = ShowFolder(strFolder, {{"R.BIG", MessageBytes(5, 1, "A5 01 02")}});
    QFile::setPermissions(QString::fromStdString(strFolder + "/R.BIG"), QFile::ReadOwner);
    ClickFile(*pDlg, 0);
    EXPECT_TRUE(m_prompter.m_messages.empty());
    EXPECT_EQ(TreeRows(*pDlg), (Strings{"S5F1W", "  UINT1 [1] 2 "}));
}

// An entry that cannot be read leaves message, tree and style flag as they
// were; the list's selection names the entry that failed.
TEST_F(OpenMessageTest, UnreadableEntryKeepsThePreviousMessage) {
    struct Case {
        const char* name;
        const char* entry;
    };
    // A FIFO would block for ever and /dev/zero never end: only regular files are read.
    const Case kCases[] = {{"file gone since listing", "GONE.BIG"},
                           {"folder", "SUB.BIG"},
                           {"FIFO", "F.BIG"},
                           {"endless device", "ZERO.BIG"}};
    int nCase = 0;
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        m_prompter.m_messages.clear();
        const std::string strFolder = Dir("keep" + std::to_string(nCase++));
        std::filesystem::create_directory(strFolder + "/SUB.BIG");
        ASSERT_EQ(mkfifo((strFolder + "/F.BIG").c_str(), 0600), 0);
        std::filesystem::create_symlink("/dev/zero", strFolder + "/ZERO.BIG");
        auto pDlg =
            ShowFolder(strFolder, {{"A.BIG", WithStyleByte(MessageBytes(1, 1, "A5 01 04"), '0')},
                                   {"GONE.BIG", MessageBytes(2, 2, "")}});
        std::filesystem::remove(strFolder + "/GONE.BIG");
        ClickFile(*pDlg, 0);
        const CMsgInfo* pKept = pDlg->m_pMessage.get();
        const Strings before = TreeRows(*pDlg);
        const Strings list = FileListTexts(*pDlg);
        const int nRow =
            static_cast<int>(std::find(list.begin(), list.end(), c.entry) - list.begin());
        ASSERT_LT(nRow, static_cast<int>(list.size()));
        ClickFile(*pDlg, nRow);
        EXPECT_EQ(m_prompter.m_messages, Strings{"Failed to open !"});
        EXPECT_EQ(pDlg->m_pMessage.get(), pKept);
        EXPECT_EQ(TreeRows(*pDlg), before);
        EXPECT_EQ(pDlg->m_nStyleFlag, 0);
        EXPECT_EQ(CurrentFileRow(*pDlg), nRow);
    }
}

TEST_F(OpenMessageTest, TreeLimitIsFiftyThousandCellsButSavingStillWorks) {
    const std::string strFolder = Dir("limit");
    auto pDlg = ShowFolder(
        strFolder, {{"50000.BIG", FlatListMessage(49999)}, {"50001.BIG", FlatListMessage(50000)}});
    ClickFile(*pDlg, 0);
    EXPECT_TRUE(m_prompter.m_messages.empty());
    const QModelIndex root = pDlg->m_pTreeModel->RootIndex();
    EXPECT_EQ(pDlg->m_pTreeModel->rowCount(pDlg->m_pTreeModel->index(0, 0, root)), 49999);
    EXPECT_TRUE(AllExpanded(*pDlg));

    ClickFile(*pDlg, 1);
    EXPECT_EQ(m_prompter.m_messages, Strings{"Too many items (50001)"});
    EXPECT_EQ(pDlg->m_treeMessage->model()->rowCount(QModelIndex()), 0);
    ASSERT_NE(pDlg->m_pDoc, nullptr);  // kept as a document: no tree needs its cells
    EXPECT_EQ(pDlg->m_pDoc->m_rows.size(), 50001u);

    Click(pDlg->m_btnSaveText);
    EXPECT_EQ(m_prompter.m_messages.back(), "Saved successfully.");
    EXPECT_EQ(ReadAll(strFolder + "/50001.TXT"), ExpectedListing(FlatListMessage(50000), 1));
}

// The listing goes beside the file the kept message came from, under its
// name with only the extension replaced, even in a folder named like a
// message file.
TEST_F(OpenMessageTest, SaveWritesTheCrLfListingBesideItsFile) {
    struct Case {
        const char* name;
        const char* folder;
        char cStyle;
    };
    const Case kCases[] = {
        {"column style", "plain", 0},
        {"bracket style", "bracket", '0'},
        {"folder named like a message", "RUN.BIG", 0},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        m_prompter.m_messages.clear();
        const std::string strFolder = Dir(c.folder);
        const auto bytes =
            WithStyleByte(MessageBytes(6, 11, "01 02 A5 01 05 41 04 31 30 30 25"), c.cStyle);
        auto pDlg = ShowFolder(strFolder, {{"0001.BIG", bytes}});
        ClickFile(*pDlg, 0);
        Click(pDlg->m_btnSaveText);
        EXPECT_EQ(m_prompter.m_messages, Strings{"Saved successfully."});
        EXPECT_EQ(ReadAll(strFolder + "/0001.TXT"),
                  ExpectedListing(bytes, c.cStyle == '0' ? 0 : 1));
    }
}

TEST_F(OpenMessageTest, SaveAfterAFailedOpenWritesTheKeptMessageUnderItsOwnName) {
    const std::string strFolder = Dir("failed");
    const auto bytes = MessageBytes(1, 1, "A5 01 04");
    auto pDlg = ShowFolder(strFolder, {{"A.BIG", bytes}, {"B.BIG", MessageBytes(2, 2, "")}});
    ClickFile(*pDlg, 0);
    std::filesystem::remove(strFolder + "/B.BIG");
    ClickFile(*pDlg, 1);
    Click(pDlg->m_btnSaveText);
    EXPECT_EQ(m_prompter.m_messages, (Strings{"Failed to open !", "Saved successfully."}));
    EXPECT_EQ(ReadAll(strFolder + "/A.TXT"), ExpectedListing(bytes, 1));
    EXPECT_FALSE(std::filesystem::exists(strFolder + "/B.TXT"));
}

TEST_F(OpenMessageTest, SaveThatCannotWriteSaysSo) {
    const std::string strFolder = Dir("blocked");
    std::filesystem::create_directory(strFolder + "/X.TXT");
    auto pDlg = ShowFolder(strFolder, {{"X.BIG", MessageBytes(1, 1, "")}});
    ClickFile(*pDlg, 0);
    Click(pDlg->m_btnSaveText);
    EXPECT_EQ(m_prompter.m_messages, Strings{"Failed to save !"});
}

// Tabbing into the list only moves the focus there: no entry is selected,
// so nothing opens and nothing is saved.
TEST_F(OpenMessageTest, SaveWithoutMessageOrSelectionDoesNothing) {
    const std::string strFolder = Dir("nothing");
    auto pDlg = ShowFolder(strFolder, {{"A.BIG", MessageBytes(1, 1, "")}});
    auto TabIntoList = [&] {
        pDlg->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(pDlg.get()));
        pDlg->m_treeMessage->setFocus();
        QTest::keyClick(pDlg->m_treeMessage, Qt::Key_Tab);
        EXPECT_EQ(pDlg->focusWidget(), pDlg->m_listFiles);
    };
    TabIntoList();
    EXPECT_EQ(pDlg->m_pMessage, nullptr);
    Click(pDlg->m_btnSaveText);  // nothing opened yet
    ClickFile(*pDlg, 0);
    const CMsgInfo* pKept = pDlg->m_pMessage.get();
    m_prompter.m_folderAnswers = {};  // Open Folder, then cancel: list emptied
    Click(pDlg->m_btnOpenFolder);
    Click(pDlg->m_btnSaveText);
    m_prompter.m_folderAnswers = {QString::fromStdString(strFolder)};  // listed, none selected
    Click(pDlg->m_btnOpenFolder);
    TabIntoList();
    EXPECT_EQ(pDlg->m_pMessage.get(), pKept);
    EXPECT_EQ(TreeRows(*pDlg), Strings{});
    Click(pDlg->m_btnSaveText);
    EXPECT_TRUE(m_prompter.m_messages.empty());
    EXPECT_FALSE(std::filesystem::exists(strFolder + "/A.TXT"));
    EXPECT_NE(pDlg->m_pMessage, nullptr);
}

TEST_F(OpenMessageTest, EnterNeverClosesTheDialogEscapeDoes) {
    auto pDlg = ShowFolder(Dir("keys"), {{"A.BIG", MessageBytes(1, 1, "")}});
    ClickFile(*pDlg, 0);
    for (QWidget* pFocus :
         {static_cast<QWidget*>(pDlg->m_treeMessage), static_cast<QWidget*>(pDlg->m_listFiles)}) {
        pFocus->setFocus();
        QTest::keyClick(pFocus, Qt::Key_Return);
        QTest::keyClick(pFocus, Qt::Key_Enter);
        EXPECT_TRUE(pDlg->isVisible());
    }
    EXPECT_TRUE(m_prompter.m_browseStarts.empty());
    EXPECT_EQ(FileListTexts(*pDlg), Strings{"A.BIG"});
    QTest::keyClick(pDlg->m_listFiles, Qt::Key_Escape);
    EXPECT_FALSE(pDlg->isVisible());
    EXPECT_EQ(pDlg->result(), QDialog::Rejected);
}

TEST_F(OpenMessageTest, ArgumentOpensAFolderOrAFile) {
    const std::string strFolder = Dir("arg");
    WriteFile(strFolder + "/A.BIG", MessageBytes(1, 1, ""));
    WriteFile(strFolder + "/b.big", MessageBytes(2, 2, ""));
    struct Case {
        const char* name;
        std::string arg;
        int nRow;  // row selected afterwards; -2: nothing listed
        Strings rows;
    };
    const Case kCases[] = {
        {"folder", strFolder, -1, {}},
        {"file", strFolder + "/b.big", 1, {"S2F2W"}},
        {"relative folder with dots", "../arg/", -1, {}},
        {"missing path", strFolder + "/none/X.BIG", -2, {}},
        {"empty path", "", -2, {}},
    };
    QDir::setCurrent(QString::fromStdString(Dir("cwd")));
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        auto pDlg = StartDialog();
        std::string strError;
        const bool bListed = c.nRow != -2;
        EXPECT_EQ(pDlg->OpenArgument(c.arg, strError), bListed);
        EXPECT_EQ(strError.empty(), bListed);
        EXPECT_EQ(FileListTexts(*pDlg), (bListed ? Strings{"A.BIG", "B.BIG"} : Strings{}));
        EXPECT_EQ(pDlg->m_editFolder->text().toStdString(), bListed ? strFolder : "");
        EXPECT_EQ(CurrentFileRow(*pDlg), bListed ? c.nRow : -1);
        EXPECT_EQ(TreeRows(*pDlg), c.rows);
    }
}

// A file that is not a message file is imported beside itself, once.
TEST_F(OpenMessageTest, ArgumentImportsALogIntoAFolderOfMessages) {
    const std::string strLog = Dir("logs") + "/run.log";
    const std::string strText =
        "10:00:00 Out: 00008101 00000000 0007\n10:00:01 In : 00000102 00000000 0007\n";
    WriteFile(strLog, std::vector<unsigned char>(strText.begin(), strText.end()));
    for (int nRun = 0; nRun < 2; ++nRun) {
        auto pDlg = StartDialog();
        std::string strError;
        EXPECT_TRUE(pDlg->OpenArgument(strLog, strError));
        EXPECT_EQ(FileListTexts(*pDlg), (Strings{"000001_S1F1W.BIG", "000002_S1F2.BIG"}));
        EXPECT_EQ(pDlg->m_szFolder, strLog + ".messages");
    }
    EXPECT_TRUE(m_prompter.m_messages.empty());
    EXPECT_FALSE(std::filesystem::exists(strLog + ".messages-2"));
}

// The root row copies the whole message, any other row its subtree, with
// exact values (all 64 bits of the U8) in the standard dialect.
TEST_F(OpenMessageTest, CopyAsSmlTakesTheRowAndItsSubtree) {
    const std::string strFolder = Dir("copy");
    auto pDlg = ShowFolder(
        strFolder, {{"M.BIG", MessageBytes(6, 11, "01 02 01 01 A1 08 FFFFFFFFFFFFFFFF 41 01 78")}});
    ClickFile(*pDlg, 0);
    const struct {
        int nNode;
        const char* sml;
    } kCases[] = {
        {-1,
         "S6F11 W device=1 system=0x00000001\n<L [2]\n  <L [1]\n    <U8 [1] "
         "18446744073709551615>\n  >\n  <A [1] "
         "\"x\">\n>\n.\n"},
        {1, "<L [1]\n  <U8 [1] 18446744073709551615>\n>\n"},
        {3, "<A [1] \"x\">\n"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.nNode);
        pDlg->CopyAsSml(c.nNode);
        EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), c.sml);
    }
}
