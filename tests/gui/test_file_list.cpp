#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTreeView>
#include <filesystem>

#include "GuiFixture.h"
#include "TestHelpers.h"
#include "app/FileEntries.h"

namespace {

const std::vector<unsigned char> kS1F1 = BytesFromHex("00 00 81 01 00 00 00 00 00 01");

}  // namespace

class FileListTest : public CGuiTest {
protected:
    // A folder holding the named files, each a valid one-header message.
    std::string FolderWith(const std::string& strName, const Strings& files) {
        const std::string strFolder = Dir(strName);
        for (const std::string& strFile : files) WriteFile(strFolder + "/" + strFile, kS1F1);
        return strFolder;
    }
};

TEST_F(FileListTest, StartUpRestoresTheStoredFolder) {
    struct Case {
        const char* name;
        Strings files;
        bool bStore;
        Strings list;
        bool bInCombo;
    };
    // clang-format off
    const Case kCases[] = {
        {"first start, nothing stored", {}, false, {}, false},
        {"stored folder with messages", {"b.big", "A.BIG", "c.txt"}, true, {"A.BIG", "B.BIG"}, true},
        {"stored folder without messages", {"c.txt"}, true, {}, false},
    };
    // clang-format on
    int nCase = 0;
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        const std::string strFolder = FolderWith("start" + std::to_string(nCase++), c.files);
        ClearSettings();
        if (c.bStore) StorePath(strFolder);
        auto pDlg = StartDialog();
        EXPECT_EQ(pDlg->m_editFolder->text().toStdString(), c.bStore ? strFolder : "");
        EXPECT_EQ(FileListTexts(*pDlg), c.list);
        EXPECT_EQ(ComboTexts(*pDlg), c.bInCombo ? Strings{strFolder} : Strings{});
        EXPECT_EQ(pDlg->m_comboFolders->currentIndex(), -1);
        EXPECT_EQ(pDlg->m_treeMessage->model()->rowCount(QModelIndex()), 0);
        EXPECT_EQ(pDlg->m_nStyleFlag, 1);
        EXPECT_TRUE(m_prompter.m_messages.empty());
    }
}

TEST_F(FileListTest, ListsBigEntriesUpperCasedInOrdinalOrder) {
    const std::string strFolder = FolderWith("mixed", {"b.big", "A.BIG", "a.Big", "c.txt", "_z.BIG",
                                                       "Z.BIG", "x.BIGGER", "a-b.big", "ab.BIG"});
    QDir().mkdir(QString::fromStdString(strFolder + "/RUN.BIG"));
    StorePath(strFolder);
    auto pDlg = StartDialog();
    EXPECT_EQ(FileListTexts(*pDlg), (Strings{"A-B.BIG", "A.BIG", "A.BIG", "AB.BIG", "B.BIG",
                                             "RUN.BIG", "Z.BIG", "_Z.BIG"}));
}

TEST_F(FileListTest, OpenFolderAsksTheChooser) {
    struct Case {
        const char* name;
        bool bStored;        // "stored" folder is Path before the click
        const char* answer;  // folder chosen; "" cancels
        const char* start;   // where the chooser opens: "home" or "stored"
        const char* shown;   // edit box afterwards
        const char* path;    // Path afterwards, "" when unset
        Strings list;
        Strings combo;
    };
    const Case kCases[] = {
        {"cancel, nothing stored", false, "", "home", "home", "", {}, {}},
        {"cancel, stored folder", true, "", "stored", "stored", "stored", {}, {"stored"}},
        {"folder with messages", false, "logs", "home", "logs", "logs", {"M1.BIG"}, {"logs"}},
        {"folder without messages", true, "empty", "stored", "empty", "empty", {}, {"stored"}},
    };
    const std::string strHome = QDir::homePath().toStdString();
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        ClearSettings();
        const std::string strStored = FolderWith("stored", {"S1.BIG"});
        const std::string strLogs = FolderWith("logs", {"m1.big"});
        const std::string strEmpty = FolderWith("empty", {});
        auto Folder = [&](const std::string& strWhich) {
            if (strWhich == "home") return strHome;
            if (strWhich.empty()) return std::string();
            return Dir(strWhich);
        };
        if (c.bStored) StorePath(strStored);
        auto pDlg = StartDialog();
        m_prompter.m_browseStarts.clear();
        m_prompter.m_folderAnswers = {QString::fromStdString(Folder(c.answer))};
        Click(pDlg->m_btnOpenFolder);
        EXPECT_EQ(m_prompter.m_browseStarts, Strings{Folder(c.start)});
        EXPECT_EQ(pDlg->m_editFolder->text().toStdString(), Folder(c.shown));
        EXPECT_EQ(StoredPath(), Folder(c.path));
        EXPECT_EQ(FileListTexts(*pDlg), c.list);
        Strings combo;
        for (const std::string& strWhich : c.combo) combo.push_back(Folder(strWhich));
        EXPECT_EQ(ComboTexts(*pDlg), combo);
        EXPECT_EQ(pDlg->m_comboFolders->currentIndex(), -1);
        EXPECT_TRUE(m_prompter.m_messages.empty());
    }
}

TEST_F(FileListTest, OpenSwitchesToTheChosenFolder) {
    const std::string strOne = FolderWith("one", {"1.BIG"});
    const std::string strTwo = FolderWith("two", {"2.BIG"});
    StorePath(strOne);
    auto pDlg = StartDialog();
    m_prompter.m_folderAnswers = {QString::fromStdString(strTwo)};
    Click(pDlg->m_btnOpenFolder);
    ASSERT_EQ(ComboTexts(*pDlg), (Strings{strOne, strTwo}));

    Click(pDlg->m_btnOpen);
    EXPECT_EQ(m_prompter.m_messages, Strings{"Folder not selected !!!"});
    EXPECT_EQ(pDlg->focusWidget(), pDlg->m_comboFolders);

    ChooseFolder(*pDlg, 1);
    Click(pDlg->m_btnOpen);
    EXPECT_EQ(m_prompter.m_messages.back(), "Target folder is current folder");
    EXPECT_EQ(FileListTexts(*pDlg), Strings{"2.BIG"});

    ChooseFolder(*pDlg, 0);
    m_prompter.m_messages.clear();
    Click(pDlg->m_btnOpen);
    EXPECT_TRUE(m_prompter.m_messages.empty());
    EXPECT_EQ(FileListTexts(*pDlg), Strings{"1.BIG"});
    EXPECT_EQ(pDlg->m_editFolder->text().toStdString(), strOne);
    EXPECT_EQ(pDlg->m_szFolder, strOne);
    EXPECT_EQ(StoredPath(), strTwo);  // "Open" never stores
}

// Folders that differ only in letter case share one entry, in the case first
// listed; choosing it while the other spelling is current reloads.
TEST_F(FileListTest, FolderListGrowsOncePerFolderIgnoringCase) {
    const std::string strMixed = FolderWith("Logs", {"1.BIG"});
    const std::string strUpper = FolderWith("LOGS", {"2.BIG"});
    auto pDlg = StartDialog();
    for (const std::string& strFolder : {strMixed, strUpper, strMixed}) {
        m_prompter.m_folderAnswers = {QString::fromStdString(strFolder)};
        Click(pDlg->m_btnOpenFolder);
    }
    m_prompter.m_folderAnswers = {QString::fromStdString(strUpper)};
    Click(pDlg->m_btnOpenFolder);
    EXPECT_EQ(ComboTexts(*pDlg), Strings{strMixed});

    ChooseFolder(*pDlg, 0);
    Click(pDlg->m_btnOpen);
    EXPECT_TRUE(m_prompter.m_messages.empty());
    EXPECT_EQ(FileListTexts(*pDlg), Strings{"1.BIG"});
}

TEST(VisibleName, ShowsEveryByteOutsideUtf8AsHex) {
    struct Case {
        const char* name;
        const char* bytes;
        const char* shown;
    };
    const Case kCases[] = {
        {"Latin-1 letter", "BAD\xE9.BIG", "BAD\\xE9.BIG"},
        {"UTF-8 of two, three and four bytes", "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80",
         "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"},
        {"overlong slash", "\xC0\xAF", "\\xC0\\xAF"},
        {"surrogate", "\xED\xA0\x80", "\\xED\\xA0\\x80"},
        {"above U+10FFFF", "\xF4\x90\x80\x80", "\\xF4\\x90\\x80\\x80"},
        {"sequence cut at the end", "A\xE2\x82", "A\\xE2\\x82"},
        {"lone continuation byte", "\x80Z", "\\x80Z"},
        {"lead byte before ASCII", "\xE2Z\xC3\xA9", "\\xE2Z\xC3\xA9"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(VisibleName(c.bytes), c.shown);
    }
}

// The entry shows the byte that is not UTF-8, and still opens and saves the
// file under its name on disk.
TEST_F(FileListTest, NameOutsideUtf8IsShownVisiblyAndStillOpens) {
    const std::string strFolder = FolderWith("latin1", {"BAD\xE9.BIG", "OK.BIG"});
    StorePath(strFolder);
    auto pDlg = StartDialog();
    EXPECT_EQ(FileListTexts(*pDlg), (Strings{"BAD\\xE9.BIG", "OK.BIG"}));
    ClickFile(*pDlg, 0);
    EXPECT_EQ(TreeRows(*pDlg), Strings{"S1F1W"});
    Click(pDlg->m_btnSaveText);
    EXPECT_EQ(m_prompter.m_messages, Strings{"Saved successfully."});
    EXPECT_TRUE(std::filesystem::exists(strFolder + "/BAD\xE9.TXT"));
}
