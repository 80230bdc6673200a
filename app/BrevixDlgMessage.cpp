#include <QClipboard>
#include <QGuiApplication>
#include <QTreeView>
#include <filesystem>
#include <system_error>
#include <vector>

#include "app/BrevixDlg.h"
#include "app/FileEntries.h"
#include "app/FileListModel.h"
#include "app/HexLogDlg.h"
#include "app/MessageTreeModel.h"
#include "app/Prompter.h"
#include "decode/ClassicTree.h"
#include "decode/MsgDocWalk.h"
#include "inspect/InspectorWindow.h"
#include "io/ListingFile.h"
#include "io/MsgFile.h"
#include "io/TechvFile.h"
#include "render/MsgText.h"
#include "render/SmlWriter.h"
#include "render/TreeLabels.h"

// A file that cannot be read changes nothing: message, tree and style flag
// stay. Once read, the new message replaces the kept one even when it has
// too many cells to show.
void CBrevixDlg::OnLbnSelchangeFileList() {
    const CFileEntry* pEntry = SelectedFile();
    if (pEntry == nullptr || !m_pDecoder) return;
    const std::string strPath = JoinPath(m_szFolder, pEntry->m_strName);
    std::vector<unsigned char> bytes;
    std::string strError;
    if (!ReadMessageFile(strPath, bytes, strError)) {
        m_prompter.ShowMessage(this, QStringLiteral("Failed to open !"));
        return;
    }
    auto pDoc = std::make_shared<const CMsgDoc>(DecodeMsgDoc(std::move(bytes)));
    ApplyStyleByte(*pDoc, &m_nStyleFlag);
    if (pDoc->m_bBodyWalked) LeaveTechvFile();
    m_pDoc = std::move(pDoc);
    m_strMessagePath = strPath;
    const CClassicTree classic(*m_pDoc);
    std::size_t nCells = 0;
    for (std::size_t i = 0; i < m_pDoc->m_rows.size(); ++i) nCells += classic.HasCell(i);
    // Cells only for a tree that will be shown: the document serves the rest.
    m_pMessage = nCells <= kMaxTreeCells ? m_pDecoder->MakeMsgInfo(m_pDoc) : nullptr;
    if (m_pInspector) m_pInspector->ShowDocument(strPath, m_pDoc, m_pMessage, m_nStyleFlag);
    m_pTreeModel->Clear();
    if (nCells > kMaxTreeCells) {
        m_prompter.ShowMessage(this, QStringLiteral("Too many items (%1)").arg(nCells));
        return;
    }
    FillTreeItem();
}

// The labels and their structure come ready from BuildLabelTree; the model
// only hands them to the view, which shows everything expanded with the
// root selected.
void CBrevixDlg::FillTreeItem() {
    if (!m_pMessage) return;
    m_pTreeModel->SetTree(BuildLabelTree(*m_pMessage, m_nStyleFlag));
    m_treeMessage->expandAll();
    m_treeMessage->setCurrentIndex(m_pTreeModel->RootIndex());
}

// Writes beside the file the kept message was read from, under that file's
// name: never under the name of a selection that failed to open.
void CBrevixDlg::OnSaveAsText() {
    if (!m_pDoc || SelectedFile() == nullptr) return;
    std::string strListing;
    ListDoc(*m_pDoc, 0, m_nStyleFlag, strListing);
    std::string strError;
    if (!WriteListingFile(ListingPathFor(m_strMessagePath), strListing, strError)) {
        m_prompter.ShowMessage(this, QStringLiteral("Failed to save !"));
        return;
    }
    m_prompter.ShowMessage(this, QStringLiteral("Saved successfully."));
}

// The converted files live in the current directory, which becomes the
// folder the list shows; the edit box, the folder list and "Path" stay.
void CBrevixDlg::OnBnClickedHexToSecs() {
    CHexLogDlg dlg(m_prompter, this);
    if (m_prompter.RunModal(dlg) != QDialog::Accepted) return;
    std::error_code ec;
    const std::string strCurrent = std::filesystem::current_path(ec).native();
    if (ec) return;
    m_szFolder = strCurrent;
    std::vector<CFileEntry> entries;
    for (const std::string& strName : dlg.m_files) entries.push_back({strName, strName});
    ShowFiles(std::move(entries));
    SelectFileRow(0);
    OnLbnSelchangeFileList();
}

// The standard dialect writes only printable ASCII, so Latin-1 is exact.
void CBrevixDlg::CopyAsSml(int nNode) {
    if (!m_pMessage) return;
    const std::string strSml = TreeNodeToSml(*m_pMessage, nNode);
    QGuiApplication::clipboard()->setText(QString::fromLatin1(strSml));
}
