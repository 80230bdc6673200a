#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>

#include "GuiFixture.h"
#include "TestHelpers.h"
#include "app/HexLogDlg.h"
#include "app/HexLogEdit.h"

namespace {

std::string Bytes(const char* szHex) {
    const auto bytes = BytesFromHex(szHex);
    return std::string(bytes.begin(), bytes.end());
}

}  // namespace

class HexConverterTest : public CGuiTest {
protected:
    enum class EPress { kOK, kEnter, kCancel };
    // Plays the person in the converter: pastes the text, presses OK (by
    // button or Enter in the text box) or Cancel, and cancels if the dialog
    // is still open afterwards. Records what the converter said.
    void Script(const std::string& strText, EPress press) {
        m_prompter.m_fnModal = [this, strText, press](QDialog& dlg) {
            auto* pEdit = dlg.findChild<QPlainTextEdit*>("editHexLog");
            pEdit->setPlainText(QString::fromStdString(strText));
            if (press == EPress::kEnter) {
                pEdit->setFocus();
                QTest::keyClick(pEdit, Qt::Key_Return);
            } else {
                Click(dlg.findChild<QPushButton*>(press == EPress::kOK ? "btnOK" : "btnCancel"));
            }
            m_bLeftOpen = dlg.isVisible();
            if (m_bLeftOpen) Click(dlg.findChild<QPushButton*>("btnCancel"));
            return dlg.result();
        };
    }
    std::string OutputPath() { return Dir("cwd") + "/HexToSECS.BIG"; }
    // A folder holding A.BIG (S2F2W), stored as the one to list.
    std::string LogsFolder() {
        const std::string strFolder = Dir("logs");
        WriteFile(strFolder + "/A.BIG", MessageBytes(2, 2, ""));
        StorePath(strFolder);
        return strFolder;
    }
    bool m_bLeftOpen = false;
};

TEST_F(HexConverterTest, OkWritesTheBytesAndShowsTheFileAlone) {
    struct Case {
        const char* name;
        const char* text;
        EPress press;
        const char* bytes;
        Strings rows;
    };
    // clang-format off
    const Case kCases[] = {
        {"two lines, tabs and blanks", " 80 01 01 01\t00 00\r\n00 00 00\t01 \n", EPress::kOK,
         "80 01 01 01 00 00 00 00 00 01", {"S1F1"}},
        {"lower case digits", "00 00 86 0b 00 00 00 00 00 01 a5 01 0a", EPress::kOK,
         "00 00 86 0B 00 00 00 00 00 01 A5 01 0A", {"S6F11W", "  UINT1 [1] 10 "}},
        {"odd digit count", "00008101000000000001A5017", EPress::kOK,
         "00 00 81 01 00 00 00 00 00 01 A5 01 07", {"S1F1W", "  UINT1 [1] 7 "}},
        {"Enter in the text box presses OK", "0000810100000000000131", EPress::kEnter,
         "00 00 81 01 00 00 00 00 00 01 31", {"S1F1W"}},
    };
    // clang-format on
    const std::string strFolder = LogsFolder();
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        m_prompter.m_messages.clear();
        auto pDlg = StartDialog();
        Script(c.text, c.press);
        Click(pDlg->m_btnHexToSecs);
        EXPECT_FALSE(m_bLeftOpen);
        EXPECT_EQ(ReadAll(OutputPath()), Bytes(c.bytes));
        EXPECT_EQ(FileListTexts(*pDlg), Strings{"HexToSECS.BIG"});
        EXPECT_EQ(CurrentFileRow(*pDlg), 0);
        EXPECT_EQ(TreeRows(*pDlg), c.rows);
        EXPECT_EQ(pDlg->m_szFolder, Dir("cwd"));
        EXPECT_EQ(pDlg->m_editFolder->text().toStdString(), strFolder);
        EXPECT_EQ(ComboTexts(*pDlg), Strings{strFolder});
        EXPECT_TRUE(m_prompter.m_messages.empty());
    }
}

// The list, the tree and an earlier HexToSECS.BIG stay as they were.
TEST_F(HexConverterTest, NothingConvertedLeavesEverything) {
    struct Case {
        const char* name;
        const char* text;
        EPress press;
        bool bBlockOutput;  // HexToSECS.BIG is a folder and cannot be written
        Strings messages;
        bool bLeftOpen;
    };
    // clang-format off
    const Case kCases[] = {
        {"only line breaks and blanks", " \r\n\t \n ", EPress::kOK, false, {"HEX LOG is empty !!!"}, true},
        {"cancel", "00 00 81 01 00 00 00 00 00 01", EPress::kCancel, false, {}, false},
        {"output cannot be written", "00 00 81 01 00 00 00 00 00 01", EPress::kOK, true,
         {"Failed to write HexToSECS.BIG !"}, true},
    };
    // clang-format on
    const std::string strFolder = LogsFolder();
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        m_prompter.m_messages.clear();
        std::filesystem::remove_all(OutputPath());
        if (c.bBlockOutput) std::filesystem::create_directory(OutputPath());
        if (!c.bBlockOutput) WriteFile(OutputPath(), {0x12, 0x34});
        auto pDlg = StartDialog();
        ClickFile(*pDlg, 0);
        Script(c.text, c.press);
        Click(pDlg->m_btnHexToSecs);
        EXPECT_EQ(m_prompter.m_messages, c.messages);
        EXPECT_EQ(m_bLeftOpen, c.bLeftOpen);
        if (!c.bBlockOutput) {
            EXPECT_EQ(ReadAll(OutputPath()), "\x12\x34");
        }
        EXPECT_EQ(FileListTexts(*pDlg), Strings{"A.BIG"});
        EXPECT_EQ(TreeRows(*pDlg), Strings{"S2F2W"});
        EXPECT_EQ(pDlg->m_szFolder, strFolder);
    }
}

TEST_F(HexConverterTest, SaveAfterConversionWritesBesideTheConvertedFile) {
    auto pDlg = StartDialog();
    Script("00 00 81 01 00 00 00 00 00 01", EPress::kOK);
    Click(pDlg->m_btnHexToSecs);
    Click(pDlg->m_btnSaveText);
    EXPECT_EQ(m_prompter.m_messages, Strings{"Saved successfully."});
    EXPECT_TRUE(std::filesystem::exists(Dir("cwd") + "/HexToSECS.TXT"));
}

// The text box holds the focus when the converter opens, so typing goes in
// at once; Ctrl+Enter breaks the line and Enter presses OK. The tab order
// stays OK, Cancel, text box.
TEST_F(HexConverterTest, OpensReadyForTyping) {
    auto pDlg = StartDialog();
    Strings chain;
    m_prompter.m_fnModal = [&](QDialog& dlg) {
        QWidget* pFocus = dlg.focusWidget();
        chain.push_back(pFocus->objectName().toStdString());
        for (QWidget* p = dlg.findChild<QPushButton*>("btnOK"); chain.size() < 4;
             p = p->nextInFocusChain())
            chain.push_back(p->objectName().toStdString());
        QTest::keyClicks(pFocus, " 80 01 01 01 00");
        QTest::keyClick(pFocus, Qt::Key_Return, Qt::ControlModifier);
        QTest::keyClicks(pFocus, "00 00 00 00 01");
        QTest::keyClick(pFocus, Qt::Key_Return);
        return dlg.result();
    };
    Click(pDlg->m_btnHexToSecs);
    EXPECT_EQ(chain, (Strings{"editHexLog", "btnOK", "btnCancel", "editHexLog"}));
    EXPECT_TRUE(m_prompter.m_messages.empty());
    EXPECT_EQ(ReadAll(OutputPath()), Bytes("80 01 01 01 00 00 00 00 00 01"));
    EXPECT_EQ(TreeRows(*pDlg), Strings{"S1F1"});
}

// Pasting from a clipboard that holds no data (no owner, as right after
// login) inserts nothing; text still pastes.
TEST_F(HexConverterTest, PasteInsertsOnlyText) {
    for (const char* szClipboard : {"", "01 02"}) {
        SCOPED_TRACE(szClipboard);
        auto* pData = new QMimeData;
        if (*szClipboard != '\0') pData->setText(QString::fromLatin1(szClipboard));
        QGuiApplication::clipboard()->setMimeData(pData);
        CHexLogDlg dlg(m_prompter);
        dlg.show();
        QTest::keyClick(dlg.m_editHexLog, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(dlg.m_editHexLog->toPlainText().toStdString(), szClipboard);
    }
}

TEST_F(HexConverterTest, SeveralMessagesAreListedFirstSelected) {
    auto pDlg = StartDialog();
    Script("Send\n00 00 81 01 00 00 00 00 00 01\nReceive\n00 00 01 02 00 00 00 00 00 01",
           EPress::kOK);
    Click(pDlg->m_btnHexToSecs);
    EXPECT_EQ(FileListTexts(*pDlg), (Strings{"HexToSECS.BIG", "HexToSECS-2.BIG"}));
    EXPECT_EQ(CurrentFileRow(*pDlg), 0);
    EXPECT_EQ(TreeRows(*pDlg), Strings{"S1F1W"});
    EXPECT_EQ(ReadAll(Dir("cwd") + "/HexToSECS-2.BIG"), Bytes("00 00 01 02 00 00 00 00 00 01"));
    EXPECT_TRUE(m_prompter.m_messages.empty());
}

TEST_F(HexConverterTest, StrippedFramingIsTold) {
    auto pDlg = StartDialog();
    Script("00 00 00 0A 00 00 81 01 00 00 00 00 00 01", EPress::kOK);
    Click(pDlg->m_btnHexToSecs);
    EXPECT_EQ(ReadAll(OutputPath()), Bytes("00 00 81 01 00 00 00 00 00 01"));
    EXPECT_EQ(m_prompter.m_messages, Strings{"HexToSECS.BIG: HSMS length 10 stripped"});
}
