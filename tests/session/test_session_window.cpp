#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QSettings>
#include <QTableView>
#include <QTemporaryDir>
#include <QTreeView>
#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "TestHelpers.h"
#include "inspect/CompareWindow.h"
#include "session/SessionCompare.h"
#include "session/SessionDetails.h"
#include "session/SessionTableModel.h"
#include "session/SessionWindow.h"

namespace {

namespace fs = std::filesystem;

// Eight messages of a hand-written log, times in UTC. S1F3W gets no reply
// within 45 s; the S9F7 answers nothing; the last S6F11W's T3 has not run
// out when the log ends.
const char* const kLines[] = {
    "2026-12-07 10:00:00.000 Out: 00 00 81 01 00 00 00 00 00 01",                    // 1 S1F1W
    "2026-12-07 10:00:00.250 In : 00 00 01 02 00 00 00 00 00 01",                    // 2 S1F2
    "2026-12-07 10:00:01.000 In : 00 00 86 0B 00 00 00 00 00 02 41 04 4C 4F 54 31",  // 3 "LOT1"
    "2026-12-07 10:00:01.010 Out: 00 00 06 0C 00 00 00 00 00 02 21 01 00",           // 4 S6F12
    "2026-12-07 10:00:02.000 Out: 00 00 81 03 00 00 00 00 00 03",                    // 5 S1F3W
    "2026-12-07 10:00:03.000 In : 00 00 09 07 00 00 00 00 00 04 21 02 81 03",        // 6 S9F7
    "2026-12-07 10:01:00.000 In : 00 00 86 0B 00 00 00 00 00 05 41 04 4C 4F 54 32",  // 7 "LOT2"
    "2026-12-07 10:01:00.500 Out: 00 00 06 0C 00 00 00 00 00 05 21 01 00",           // 8 S6F12
};

std::vector<unsigned char> LineBytes(int nMessage) {
    const std::string strLine = kLines[nMessage - 1];
    return BytesFromHex(strLine.substr(strLine.find(':', 20) + 1));
}

std::vector<std::string> Listing(const std::string& strDir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(strDir)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

class SessionWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_pTemp = std::make_unique<QTemporaryDir>();
        m_strDir = m_pTemp->path().toStdString();
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_pTemp->path());
        fs::create_directory(m_strDir + "/src");
        m_strLog = m_strDir + "/src/run.log";
        std::ofstream out(m_strLog);
        for (const char* szLine : kLines) out << szLine << '\n';
    }
    // A window on the log, read to the end; local time is five hours behind UTC.
    std::unique_ptr<CSessionWindow> OpenWindow(const char* szZone = "EST5") {
        setenv("TZ", szZone, 1);
        tzset();
        auto pWindow = std::make_unique<CSessionWindow>();
        EXPECT_TRUE(pWindow->Open(m_strLog));
        pWindow->WaitForOpen();
        EXPECT_NE(pWindow->Session(), nullptr);
        return pWindow;
    }
    static std::string Cell(const CSessionWindow& w, int nRow, int nColumn) {
        return w.m_pModel->index(nRow, nColumn).data().toString().toStdString();
    }

    std::unique_ptr<QTemporaryDir> m_pTemp;
    std::string m_strDir;
    std::string m_strLog;
};

TEST_F(SessionWindowTest, FilterKeepsTheRowsItsTermsName) {
    struct Case {
        const char* name;
        const char* expr;
        int nRows;  // -1: the expression is refused
    };
    // clang-format off
    const Case kCases[] = {
        {"nothing", "", 8},
        {"one SxFy", "S6F11", 2},
        {"any function", "s1f*", 3},
        {"stream only", "S9", 1},
        {"wait bit asked", "S6F12W", 0},
        {"status word", "unanswered", 1},
        {"kinds narrow", "S1F* unanswered", 1},
        {"terms of a kind widen", "S6F11 S1F1", 3},
        {"text in bodies", "\"LOT1\"", 1},
        {"text in two bodies", "\"LOT\"", 2},
        {"name", "\"Are You There\"", 1},
        {"mnemonic", "ERS", 2},
        {"time range in the zone shown", "05:00:01..05:00:03", 4},
        {"open-ended range", "05:01..", 2},
        {"dated range", "2026-12-07T05:00:00.100..2026-12-07T05:00:01", 2},
        {"unknown word", "bogus", -1},
        {"role and id, no such item here", "CEID=4001", 0},
        {"role without an id", "CEID=", -1},
        {"bad time", "25:00..", -1},
        {"unclosed quote", "\"LOT", -1},
    };
    // clang-format on
    auto pWindow = OpenWindow();
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        pWindow->ApplyFilter(QString());
        const bool bOk = pWindow->ApplyFilter(QString::fromUtf8(c.expr));
        EXPECT_EQ(bOk, c.nRows >= 0);
        if (bOk) {
            EXPECT_EQ(pWindow->m_pModel->rowCount({}), c.nRows);
            EXPECT_EQ(pWindow->m_labelCount->text().toStdString(),
                      std::to_string(c.nRows) + " of 8 messages");
        }
    }
}

TEST_F(SessionWindowTest, JumpsBetweenPrimaryAndReply) {
    struct Case {
        const char* name;
        const char* filter;
        int nFrom;  // message numbers from 1
        int nTo;    // 0: no partner, nothing moves
    };
    const Case kCases[] = {
        {"primary to reply", "", 1, 2},
        {"reply to primary", "", 4, 3},
        {"unanswered primary", "", 5, 0},
        {"S9 error answers nothing", "", 6, 0},
        {"partner hidden by the filter", "S1F1", 1, 2},
    };
    auto pWindow = OpenWindow();
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        pWindow->ApplyFilter(QString::fromUtf8(c.filter));
        ASSERT_TRUE(pWindow->SelectMessage(c.nFrom - 1));
        EXPECT_EQ(pWindow->JumpToPartner(), c.nTo != 0);
        EXPECT_EQ(pWindow->CurrentMessage() + 1, c.nTo ? c.nTo : c.nFrom);
    }
}

TEST_F(SessionWindowTest, TimesFollowTheZoneChosen) {
    struct Case {
        const char* name;
        const char* tz;
        bool bUtc;
        const char* header;
        const char* first;
    };
    const Case kCases[] = {
        {"local, behind UTC", "EST5", false, "Time (UTC-05:00)", "2026-12-07 05:00:00.000000"},
        {"local, ahead across midnight", "XYZ-14", false, "Time (UTC+14:00)",
         "2026-12-08 00:00:00.000000"},
        {"UTC", "EST5", true, "Time (UTC)", "2026-12-07 10:00:00.000000"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        auto pWindow = OpenWindow(c.tz);
        pWindow->SetUtc(c.bUtc);
        EXPECT_EQ(pWindow->m_pModel->headerData(kTimeColumn, Qt::Horizontal, Qt::DisplayRole)
                      .toString()
                      .toStdString(),
                  c.header);
        EXPECT_EQ(Cell(*pWindow, 0, kTimeColumn), c.first);
    }
}

TEST_F(SessionWindowTest, ExportOfTheFilteredSetMatchesTheSource) {
    auto pWindow = OpenWindow();
    ASSERT_TRUE(pWindow->ApplyFilter(QStringLiteral("S6F*")));
    const std::string strOut = m_strDir + "/out";
    std::string strError;
    ASSERT_TRUE(
        pWindow->Export(ESessionExport::kFolder, pWindow->ChosenRows(true), strOut, strError))
        << strError;
    const std::vector<std::string> expected = {"000001_S6F11W.BIG", "000002_S6F12.BIG",
                                               "000003_S6F11W.BIG", "000004_S6F12.BIG",
                                               "INDEX.tsv"};
    EXPECT_EQ(Listing(strOut), expected);
    const int kSource[] = {3, 4, 7, 8};
    for (int k = 0; k < 4; ++k) {
        SCOPED_TRACE(expected[k]);
        const std::string strBytes = ReadAll(strOut + "/" + expected[k]);
        EXPECT_EQ(std::vector<unsigned char>(strBytes.begin(), strBytes.end()),
                  LineBytes(kSource[k]));
    }
    EXPECT_EQ(ReadAll(strOut + "/INDEX.tsv"),
              "seq\ttime\tsource\tdestination\tmessage\twait\tsystem\treply_to\tlatency_ms\n"
              "1\t2026-12-07 10:00:01.000000\t\t\tS6F11W\t1\t00000002\t\t\n"
              "2\t2026-12-07 10:00:01.010000\t\t\tS6F12\t0\t00000002\t1\t10.000\n"
              "3\t2026-12-07 10:01:00.000000\t\t\tS6F11W\t1\t00000005\t\t\n"
              "4\t2026-12-07 10:01:00.500000\t\t\tS6F12\t0\t00000005\t3\t500.000\n");
    // A second export into the same folder replaces nothing.
    EXPECT_FALSE(
        pWindow->Export(ESessionExport::kFolder, pWindow->ChosenRows(true), strOut, strError));
    EXPECT_EQ(Listing(strOut), expected);
}

// The current directory is elsewhere: today's decoder leaves TECHV.TXT there.
TEST_F(SessionWindowTest, OpeningWritesNothingBesideTheSource) {
    const QString strOldCurrent = QDir::currentPath();
    fs::create_directory(m_strDir + "/cwd");
    QDir::setCurrent(QString::fromStdString(m_strDir + "/cwd"));
    {
        auto pWindow = OpenWindow();
        pWindow->show();
        ASSERT_TRUE(pWindow->ApplyFilter(QStringLiteral("S6F11 \"LOT\"")));
        pWindow->SelectMessage(6);
        pWindow->SetUtc(true);
    }
    QDir::setCurrent(strOldCurrent);
    EXPECT_EQ(Listing(m_strDir + "/src"), std::vector<std::string>{"run.log"});
}

// Rows 3 and 7 are the two S6F11W, "LOT1" and "LOT2": one value apart.
TEST_F(SessionWindowTest, TwoSelectedRowsOpenSideBySide) {
    auto pWindow = OpenWindow();
    QItemSelectionModel* pSelection = pWindow->m_tableMessages->selectionModel();
    const auto select = [&](int nRow) {
        pSelection->select(pWindow->m_pModel->index(nRow, 0),
                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
    };
    pSelection->clearSelection();
    select(2);
    EXPECT_EQ(pWindow->CompareSelected(), nullptr);
    select(6);
    CCompareWindow* pCompare = pWindow->CompareSelected();
    ASSERT_NE(pCompare, nullptr);
    ASSERT_EQ(pCompare->Diff().items.size(), 1u);
    EXPECT_EQ(pCompare->Diff().items[0].a.strValue, "\"LOT1\"");
    EXPECT_EQ(pCompare->Diff().items[0].b.strValue, "\"LOT2\"");
    // The log against itself less its first S1F1W/S1F2 pair and last S6F12.
    const std::string strOther = m_strDir + "/other.log";
    std::ofstream out(strOther);
    for (int i = 2; i < 7; ++i) out << kLines[i] << '\n';
    out.close();
    CSessionCompareList* pList = pWindow->CompareWithSession(strOther);
    ASSERT_NE(pList, nullptr);
    const std::size_t kExpected[] = {5, 0, 3, 0};  // equal, changed, only in A, only in B
    for (int i = 0; i < 4; ++i) EXPECT_EQ(pList->Diff().nCount[i], kExpected[i]) << i;
}

}  // namespace

namespace {

// Every tooltip of the tree, depth first without recursion.
std::vector<std::string> ToolTips(const QAbstractItemModel& model) {
    std::vector<std::string> tips;
    std::vector<QModelIndex> todo = {QModelIndex()};
    while (!todo.empty()) {
        const QModelIndex parent = todo.back();
        todo.pop_back();
        for (int i = 0; i < model.rowCount(parent); ++i) {
            const QModelIndex index = model.index(i, 0, parent);
            const QString strTip = index.data(Qt::ToolTipRole).toString();
            if (!strTip.isEmpty()) tips.push_back(strTip.toStdString());
            todo.push_back(index);
        }
    }
    return tips;
}

}  // namespace

// S1F12 names SVID 5, S2F33 puts it in report 10, S2F35 links that to
// CEID 4001, which the viewer's dictionary file names; then an S6F11.
TEST_F(SessionWindowTest, NamesFromTheSessionAndTheDictionaryFile) {
    std::ofstream(m_strDir + "/names.txt") << "CEID 4001 LotStarted\n";
    QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("KELMARON"),
              QStringLiteral("Brevix"))
        .setValue(QStringLiteral("Dictionary"), QString::fromStdString(m_strDir + "/names.txt"));
    m_strLog = m_strDir + "/src/run.sml";
    std::ofstream(m_strLog)
        << "S1F12\n<L [1] <L [3] <U4 5> <A \"LotID\"> <A \"\">>>\n.\n"
           "S2F33 W\n<L [2] <U4 1> <L [1] <L [2] <U4 10> <L [1] <U4 5>>>>>\n.\nS2F34\n<B 0>\n.\n"
           "S2F35 W\n<L [2] <U4 2> <L [1] <L [2] <U4 4001> <L [1] <U4 10>>>>>\n.\n"
           "S2F36\n<B 0>\n.\n"
           "S6F11 W\n<L [3] <U4 3> <U4 4001> <L [1] <L [2] <U4 10> <L [1] <A \"LOT1\">>>>>\n.\n";
    auto pWindow = OpenWindow();
    EXPECT_EQ(Cell(*pWindow, 5, 5), "S6F11 LotStarted");
    ASSERT_TRUE(pWindow->SelectMessage(5));
    const std::vector<std::string> tips = ToolTips(*pWindow->m_pDetails->m_treeItems->model());
    for (const char* szTip : {"CEID 4001 LotStarted", "VID 5 LotID", "RPTID 10"})
        EXPECT_NE(std::find(tips.begin(), tips.end(), szTip), tips.end()) << szTip;
}
