#include "GuiFixture.h"

#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QListView>
#include <QSettings>
#include <QTest>
#include <QTreeView>
#include <filesystem>
#include <fstream>

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

std::unique_ptr<CBrevixDlg> CGuiTest::StartDialog() {
    auto pDlg = std::make_unique<CBrevixDlg>(m_prompter);
    pDlg->show();
    return pDlg;
}

std::unique_ptr<CBrevixDlg> CGuiTest::ShowFolder(
    const std::string& strFolder,
    const std::vector<std::pair<std::string, std::vector<unsigned char>>>& files) {
    for (const auto& [strName, bytes] : files) WriteFile(strFolder + "/" + strName, bytes);
    StorePath(strFolder);
    return StartDialog();
}

namespace {

QSettings Settings() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, "KELMARON", "Brevix");
}

}  // namespace

void CGuiTest::StorePath(const std::string& strFolder) {
    Settings().setValue("Path", QString::fromStdString(strFolder));
}

std::string CGuiTest::StoredPath() { return Settings().value("Path").toString().toStdString(); }

void CGuiTest::ClearSettings() { Settings().clear(); }

void CGuiTest::Click(QWidget* pWidget) { QTest::mouseClick(pWidget, Qt::LeftButton); }

void CGuiTest::ClickFile(CBrevixDlg& dlg, int nRow) {
    QListView* pList = dlg.m_listFiles;
    const QRect rect = pList->visualRect(pList->model()->index(nRow, 0));
    QTest::mouseClick(pList->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
}

void CGuiTest::ChooseFolder(CBrevixDlg& dlg, int nIndex) {
    dlg.m_comboFolders->setCurrentIndex(nIndex);
}

std::vector<std::string> CGuiTest::FileListTexts(const CBrevixDlg& dlg) {
    std::vector<std::string> texts;
    const QAbstractItemModel* pModel = dlg.m_listFiles->model();
    for (int i = 0; i < pModel->rowCount(); ++i)
        texts.push_back(pModel->index(i, 0).data().toString().toStdString());
    return texts;
}

int CGuiTest::CurrentFileRow(const CBrevixDlg& dlg) {
    return dlg.m_listFiles->currentIndex().row();
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
