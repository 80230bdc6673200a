#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListView>

#include "app/BrevixDlg.h"
#include "app/FileEntries.h"
#include "app/FileListModel.h"
#include "app/MessageTreeModel.h"
#include "app/Prompter.h"
#include "app/Registry.h"

namespace {

// For a person to read: bytes that are not UTF-8 stay visible as \xHH.
QString Shown(const std::string& strBytes) { return QString::fromStdString(VisibleName(strBytes)); }

// For a path handed on to the folder chooser.
QString PathText(const std::string& strBytes) {
    return QFile::decodeName(QByteArray::fromStdString(strBytes));
}

std::string Bytes(const QString& strText) { return QFile::encodeName(strText).toStdString(); }

}  // namespace

// Empties list and tree first, so both stay empty when the person cancels.
// The message on show stays kept: only its tree goes.
void CBrevixDlg::OnBnClickedOpenFolder() {
    ClearFilesAndTree();
    std::string strInitial = Bytes(QDir::homePath());
    std::string strStored;
    if (ReadRegistryValue("Path", strStored) && !strStored.empty()) strInitial = strStored;
    const std::string strChosen = Bytes(m_prompter.BrowseForFolder(PathText(strInitial), this));
    if (strChosen.empty()) {
        m_strFolder = strInitial;
        ShowFolder();
        return;
    }
    WriteRegistryValue("Path", strChosen);  // a failure only costs the next start its folder
    m_strFolder = strChosen;
    ShowFolder();
    FillFileList(strChosen);
}

void CBrevixDlg::OnBnClickedOpen() {
    const int nIndex = m_comboFolders->currentIndex();
    if (nIndex < 0) {
        m_comboFolders->setFocus();
        m_prompter.ShowMessage(this, QStringLiteral("Folder not selected !!!"));
        return;
    }
    const std::string strFolder = m_comboFolders->itemData(nIndex).toByteArray().toStdString();
    if (strFolder == m_strFolder) {
        m_prompter.ShowMessage(this, QStringLiteral("Target folder is current folder"));
        return;
    }
    ClearFilesAndTree();
    m_szFolder = strFolder;
    m_strFolder = strFolder;
    ShowFolder();
    FillFileList(strFolder);
}

// A folder without a ".BIG" entry, or one that cannot be read, changes
// nothing: the list stays as the caller left it and the folder is not
// remembered.
void CBrevixDlg::FillFileList(const std::string& strFolder) {
    const std::vector<CFileEntry> entries = ListBigEntries(strFolder);
    if (entries.empty()) return;
    m_szFolder = strFolder;
    ShowFiles(std::move(entries));
    AddFolderToCombo(strFolder);
}

// Each folder once, ignoring letter case, in the case first listed. The
// combo box's selection is never set here.
void CBrevixDlg::AddFolderToCombo(const std::string& strFolder) {
    for (int i = 0; i < m_comboFolders->count(); ++i)
        if (EqualNoCase(m_comboFolders->itemData(i).toByteArray().toStdString(), strFolder)) return;
    const int nCurrent = m_comboFolders->currentIndex();
    m_comboFolders->addItem(Shown(strFolder), QByteArray::fromStdString(strFolder));
    m_comboFolders->setCurrentIndex(nCurrent);
}

void CBrevixDlg::ClearFilesAndTree() {
    ShowFiles({});
    m_pTreeModel->Clear();
}

// A new list has no selection; the open handler does not run for it.
void CBrevixDlg::ShowFiles(std::vector<CFileEntry> entries) {
    m_bSelectingFile = true;
    m_pFileModel->SetEntries(std::move(entries));
    m_bSelectingFile = false;
}

void CBrevixDlg::ShowFolder() { m_editFolder->setText(Shown(m_strFolder)); }

void CBrevixDlg::SelectFileRow(int nRow) {
    m_bSelectingFile = true;
    m_listFiles->selectionModel()->setCurrentIndex(m_pFileModel->index(nRow),
                                                   QItemSelectionModel::ClearAndSelect);
    m_bSelectingFile = false;
}

void CBrevixDlg::OnFileSelectionChanged() {
    if (!m_bSelectingFile) OnLbnSelchangeFileList();
}

const CFileEntry* CBrevixDlg::SelectedFile() const {
    const QModelIndexList selected = m_listFiles->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? nullptr : m_pFileModel->EntryAt(selected.front().row());
}
