#include "GuiFixture.h"

#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QListWidget>
#include <QSettings>
#include <QTest>
#include <QTreeView>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "TestHelpers.h"

void CFakePrompter::ShowMessage(QWidget*, const QString& strText) {
    m_messages.push_back(strText.toStdString());
}

QString CFakePrompter::BrowseForFolder(const QString& strInitial, QWidget*) {
    m_browseStarts.push_back(strInitial.toStdString());
    if (m_folderAnswers.empty()) return QString();
    const QString strAnswer = m_folderAnswers.front();
    m_folderAnswers.pop_front();
    return strAnswer;
}

int CFakePrompter::RunModal(QDialog& dlg) {
    if (!m_fnModal) return QDialog::Rejected;
    dlg.show();
    return m_fnModal(dlg);
}

void CGuiTest::SetUp() {
    m_pTemp = std::make_unique<QTemporaryDir>();
    ASSERT_TRUE(m_pTemp->isValid());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_pTemp->filePath("config"));
    m_strOldCurrent = QDir::currentPath();
    QDir::setCurrent(QString::fromStdString(Dir("cwd")));
}

// std::filesystem removes names that are not valid UTF-8, which QDir cannot.
void CGuiTest::TearDown() {
    QDir::setCurrent(m_strOldCurrent);
    std::error_code ec;
    std::filesystem::remove_all(m_pTemp->path().toStdString(), ec);
}

std::string CGuiTest::Dir(const std::string& strName) {
    const QString strPath = m_pTemp->filePath(QString::fromStdString(strName));
    QDir().mkpath(strPath);
    return strPath.toStdString();
}

void CGuiTest::WriteFile(const std::string& strPath, const std::vector<unsigned char>& bytes) {
    std::ofstream out(strPath, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << strPath;
}

std::string CGuiTest::ReadFile(const std::string& strPath) {
    std::ifstream in(strPath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::unique_ptr<CBrevixDlg> CGuiTest::StartDialog() {
    auto pDlg = std::make_unique<CBrevixDlg>(m_prompter);
    pDlg->show();
    return pDlg;
}

void CGuiTest::StorePath(const std::string& strFolder) {
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, "KELMARON", "Brevix");
    settings.setValue("Path", QString::fromStdString(strFolder));
}

void CGuiTest::Click(QWidget* pWidget) { QTest::mouseClick(pWidget, Qt::LeftButton); }

void CGuiTest::ClickFile(CBrevixDlg& dlg, int nRow) {
    QListWidget* pList = dlg.m_listFiles;
    const QRect rect = pList->visualItemRect(pList->item(nRow));
    QTest::mouseClick(pList->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
}

void CGuiTest::ChooseFolder(CBrevixDlg& dlg, int nIndex) {
    dlg.m_comboFolders->setCurrentIndex(nIndex);
}

std::vector<std::string> CGuiTest::FileListTexts(const CBrevixDlg& dlg) {
    std::vector<std::string> texts;
    for (int i = 0; i < dlg.m_listFiles->count(); ++i)
        texts.push_back(dlg.m_listFiles->item(i)->text().toStdString());
    return texts;
}

std::vector<std::string> CGuiTest::ComboTexts(const CBrevixDlg& dlg) {
    std::vector<std::string> texts;
    for (int i = 0; i < dlg.m_comboFolders->count(); ++i)
        texts.push_back(dlg.m_comboFolders->itemText(i).toStdString());
    return texts;
}

// Walks the view's rows with indexBelow, which follows what is expanded and
// needs no recursion.
std::vector<std::string> CGuiTest::TreeRows(const CBrevixDlg& dlg) {
    std::vector<std::string> rows;
    const QAbstractItemModel* pModel = dlg.m_treeMessage->model();
    for (QModelIndex index = pModel->index(0, 0, QModelIndex()); index.isValid();
         index = dlg.m_treeMessage->indexBelow(index)) {
        int nDepth = 0;
        for (QModelIndex up = index.parent(); up.isValid(); up = up.parent()) ++nDepth;
        rows.push_back(std::string(2 * nDepth, ' ') + index.data().toString().toStdString());
    }
    return rows;
}

bool CGuiTest::AllExpanded(const CBrevixDlg& dlg) {
    const QAbstractItemModel* pModel = dlg.m_treeMessage->model();
    for (QModelIndex index = pModel->index(0, 0, QModelIndex()); index.isValid();
         index = dlg.m_treeMessage->indexBelow(index))
        if (pModel->rowCount(index) > 0 && !dlg.m_treeMessage->isExpanded(index)) return false;
    return true;
}

namespace {

void AppendListHeader(std::vector<unsigned char>& bytes, int nCount) {
    bytes.push_back(0x03);  // list, three length bytes
    bytes.push_back(static_cast<unsigned char>(nCount >> 16));
    bytes.push_back(static_cast<unsigned char>(nCount >> 8));
    bytes.push_back(static_cast<unsigned char>(nCount));
}

}  // namespace

std::vector<unsigned char> FlatListMessage(int nItems) {
    std::vector<unsigned char> bytes = MessageBytes(6, 11, "");
    AppendListHeader(bytes, nItems);
    for (int i = 0; i < nItems; ++i) bytes.insert(bytes.end(), {0xA5, 0x01, 0x07});
    return bytes;
}

std::vector<unsigned char> NestedListMessage(int nLists) {
    std::vector<unsigned char> bytes = MessageBytes(6, 11, "");
    for (int i = 0; i < nLists; ++i) bytes.insert(bytes.end(), {0x01, 0x01});
    bytes.insert(bytes.end(), {0xA5, 0x01, 0x07});
    return bytes;
}
