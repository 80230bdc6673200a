#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSettings>
#include <QTest>
#include <QTreeView>
#include <QTreeWidget>
#include <algorithm>
#include <filesystem>

#include "GuiFixture.h"
#include "TestHelpers.h"
#include "inspect/HexView.h"
#include "inspect/InspectTreeModel.h"
#include "inspect/InspectorWindow.h"

namespace {

// S6F11W: L[2]{L[1]{U1 7}, A "xy"} with a style byte "1"; cells 0 to 3.
// Offsets: L 10-11, L 12-13, U1 14-16, A 17-20, style byte 21.
const char* const kBody = "01 02 01 01 A5 01 07 41 02 78 79 31";

class InspectorTest : public CGuiTest {
protected:
    std::unique_ptr<CInspectorWindow> Open(const std::string& strBody) {
        const std::string strPath = Dir("msgs") + "/S6F11.BIG";
        WriteFile(strPath, MessageBytes(6, 11, strBody));
        auto pWindow = std::make_unique<CInspectorWindow>();
        pWindow->setAttribute(Qt::WA_DeleteOnClose, false);
        EXPECT_TRUE(pWindow->ShowFile(strPath, 1));
        pWindow->show();
        pWindow->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(pWindow.get()));
        return pWindow;
    }
};

using Range = std::pair<std::uint64_t, std::uint64_t>;
Range Of(CHexView::SRange r) { return {r.nBegin, r.nEnd}; }

TEST_F(InspectorTest, SelectingAnItemHighlightsExactlyItsBytes) {
    const auto pWindow = Open(kBody);
    EXPECT_EQ(pWindow->windowTitle().toStdString(), "Brevix Inspector - S6F11.BIG");
    struct Case {
        int cell;
        Range head, data;
    };
    const Case kCases[] = {
        {-1, {0, 10}, {10, 22}}, {0, {10, 12}, {12, 21}}, {1, {12, 14}, {14, 17}},
        {2, {14, 16}, {16, 17}}, {3, {17, 19}, {19, 21}},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.cell);
        pWindow->SelectCell(c.cell);
        EXPECT_EQ(Of(pWindow->m_hexView->Head()), c.head);
        EXPECT_EQ(Of(pWindow->m_hexView->Data()), c.data);
    }
}

TEST_F(InspectorTest, ClickingAByteSelectsItsItem) {
    const auto pWindow = Open(kBody);
    const std::pair<std::uint64_t, int> kClicks[] = {{11, 0}, {13, 1}, {16, 2}, {20, 3}, {3, -1}};
    for (const auto& [nOffset, nCell] : kClicks) {
        SCOPED_TRACE(nOffset);
        const QRect rect = pWindow->m_hexView->ByteRect(nOffset);
        ASSERT_FALSE(rect.isEmpty());
        QTest::mouseClick(pWindow->m_hexView->viewport(), Qt::LeftButton, {}, rect.center());
        EXPECT_EQ(pWindow->SelectedCell(), nCell);
    }
}

TEST_F(InspectorTest, SearchFindsCountsAndSteps) {
    const auto pWindow = Open("01 03 A5 01 07 A5 01 17 41 02 37 37");
    // U1 7 and A "77"; U1 23 (0x17) matches neither by label nor by value.
    EXPECT_EQ(pWindow->Find(QStringLiteral("7")), 2);
    EXPECT_EQ(pWindow->SelectedCell(), 1);
    pWindow->m_editFind->setText(QStringLiteral("7"));
    QTest::keyClick(pWindow.get(), Qt::Key_F3);
    EXPECT_EQ(pWindow->SelectedCell(), 3);
    QTest::keyClick(pWindow.get(), Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(pWindow->SelectedCell(), 1);
    QTest::keyClick(pWindow.get(), Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(pWindow->SelectedCell(), 3);  // wraps round
    EXPECT_EQ(pWindow->m_labelMatches->text().toStdString(), "2 of 2 matches");
    EXPECT_EQ(pWindow->Find(QStringLiteral("nothing")), 0);
}

TEST_F(InspectorTest, CtrlCCopiesTheSubtreeAsListingText) {
    const auto pWindow = Open(kBody);
    pWindow->SelectCell(1);
    pWindow->m_treeItems->setFocus();
    QTest::keyClick(pWindow->m_treeItems, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(),
              "LIST  ,    1   \n   UINT1 ,    1, <7>");
    EXPECT_EQ(pWindow->BytesHexOf(3), "41 02 78 79");
}

TEST_F(InspectorTest, MainDialogOpensAndFollows) {
    auto pDlg = ShowFolder(
        Dir("f"), {{"A.BIG", MessageBytes(1, 1, "")}, {"B.BIG", MessageBytes(6, 11, "41 FF 78")}});
    ClickFile(*pDlg, 0);
    pDlg->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(pDlg.get()));
    QTest::keyClick(pDlg.get(), Qt::Key_I, Qt::ControlModifier);
    ASSERT_TRUE(pDlg->m_pInspector);
    EXPECT_EQ(pDlg->m_pInspector->windowTitle().toStdString(), "Brevix Inspector - A.BIG");
    ClickFile(*pDlg, 1);
    EXPECT_EQ(pDlg->m_pInspector->windowTitle().toStdString(), "Brevix Inspector - B.BIG");
    EXPECT_FALSE(IsCleanMessage(*pDlg->m_pInspector->Message()));
    pDlg->InspectCell(0);
    EXPECT_EQ(pDlg->m_pInspector->SelectedCell(), 0);
}

// The inspector shows the message the viewer holds: the file is not read again.
TEST_F(InspectorTest, ShowsTheMessageOfAFileDeletedSince) {
    auto pDlg = ShowFolder(Dir("g"), {{"B.BIG", MessageBytes(6, 11, "41 FF 78")}});
    ClickFile(*pDlg, 0);
    ASSERT_TRUE(std::filesystem::remove(Dir("g") + "/B.BIG"));
    pDlg->OnInspectMessage();
    ASSERT_TRUE(pDlg->m_pInspector);
    ASSERT_NE(pDlg->m_pInspector->Message(), nullptr);
    EXPECT_EQ(pDlg->m_pInspector->Message()->m_cells.size(), 1u);
}

}  // namespace

// Every header field in sight down to the last row, and offsets and sizes of
// a 10 MiB file in their columns whole, in a window of its opening size.
TEST_F(InspectorTest, PanesShowTheirTextWhole) {
    const auto pWindow = Open(kBody);
    QTreeWidget* pHeader = pWindow->m_treeHeader;
    QTreeWidgetItem* pLast = pHeader->topLevelItem(pHeader->topLevelItemCount() - 1);
    ASSERT_NE(pLast, nullptr);
    EXPECT_LE(pHeader->visualItemRect(pLast).bottom(), pHeader->viewport()->height());
    const int nNumber = pWindow->m_treeItems->fontMetrics().horizontalAdvance("10485760");
    for (int nColumn : {CInspectTreeModel::kColumnOffset, CInspectTreeModel::kColumnSize}) {
        SCOPED_TRACE(nColumn);
        EXPECT_GT(pWindow->m_treeItems->header()->sectionSize(nColumn), nNumber);
    }
}

// "Copy as SML" of the selected row: its subtree, or the message on the root.
TEST_F(InspectorTest, CopiesTheSelectedSubtreeAsSml) {
    const auto pWindow = Open(kBody);
    pWindow->SelectCell(1);
    EXPECT_EQ(pWindow->SmlOf(pWindow->SelectedCell()), "<L [1]\n  <U1 [1] 7>\n>\n");
    pWindow->SelectCell(-1);
    EXPECT_EQ(pWindow->SmlOf(pWindow->SelectedCell()).substr(0, 43),
              "S6F11 W device=1 system=0x00000001\n<L [2]\n ");
}

// S6F11 L[3]{DATAID, CEID, L[n] of reports}: the event's name comes from the
// viewer's dictionary file; an L where the CEID belongs is a note under its
// own heading, never marked as damage.
TEST_F(InspectorTest, RolesFromTheDictionaryFileAndNotesApartFromFindings) {
    const std::string strDict = Dir("dict") + "/names.txt";
    const std::string strLine = "CEID 4001 LotStarted\n";
    WriteFile(strDict, std::vector<unsigned char>(strLine.begin(), strLine.end()));
    QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("KELMARON"),
              QStringLiteral("Brevix"))
        .setValue(QStringLiteral("Dictionary"), QString::fromStdString(strDict));
    const auto pWindow = Open("01 03 B1 04 00 00 00 03 B1 04 00 00 0F A1 01 00");
    const QAbstractItemModel& model = *pWindow->m_treeItems->model();
    const auto Role = [&](int nRow) {
        const auto& tree = static_cast<const CInspectTreeModel&>(model);
        return tree.IndexOfRow(nRow, CInspectTreeModel::kColumnRole).data().toString();
    };
    EXPECT_EQ(Role(1).toStdString(), "DATAID");
    EXPECT_EQ(Role(2).toStdString(), "CEID 4001 LotStarted");

    const auto pDeviant = Open("01 03 B1 04 00 00 00 03 01 00 01 00");
    std::vector<std::string> lines;
    for (int i = 0; i < pDeviant->m_listFindings->count(); ++i)
        lines.push_back(pDeviant->m_listFindings->item(i)->text().toStdString());
    const auto itNotes = std::find(lines.begin(), lines.end(), "Notes");
    ASSERT_NE(itNotes, lines.end());
    ASSERT_NE(itNotes + 1, lines.end());
    EXPECT_EQ(itNotes[1].rfind("S6F11: item at offset 18 is L", 0), 0u) << itNotes[1];
    for (const std::string& str : lines) EXPECT_EQ(str.find("\u26A0"), std::string::npos) << str;
}
