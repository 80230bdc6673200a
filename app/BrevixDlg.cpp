#include "app/BrevixDlg.h"

#include <QContextMenuEvent>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QTreeView>
#include <filesystem>
#include <system_error>

#include "app/AboutDlg.h"
#include "app/DialogUnits.h"
#include "app/FileEntries.h"
#include "app/FileListModel.h"
#include "app/MessageTreeModel.h"
#include "app/Prompter.h"
#include "app/Registry.h"
#include "app/Resources.h"
#include "inspect/InspectorWindow.h"
#include "io/ListingFile.h"
#include "ui/MacButton.h"

CBrevixDlg::CBrevixDlg(CPrompter& prompter, QWidget* pParent)
    : QDialog(pParent), m_prompter(prompter) {
    // A window of its own (on the task bar) with a close box, never resized.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setWindowTitle(QStringLiteral("Brevix"));
    setFont(DialogFont(9));
    CreateControls();
    connect(m_btnOpenFolder, &QPushButton::clicked, this, &CBrevixDlg::OnBnClickedOpenFolder);
    // The selection, not the current row: focus alone makes a row current.
    connect(m_listFiles->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CBrevixDlg::OnFileSelectionChanged);
    connect(m_btnSaveText, &QPushButton::clicked, this, &CBrevixDlg::OnSaveAsText);
    connect(m_btnHexToSecs, &QPushButton::clicked, this, &CBrevixDlg::OnBnClickedHexToSecs);
    connect(m_btnOpen, &QPushButton::clicked, this, &CBrevixDlg::OnBnClickedOpen);
    auto* pInspect = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_I), this);
    connect(pInspect, &QShortcut::activated, this, &CBrevixDlg::OnInspectMessage);
    m_treeMessage->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_treeMessage, &QWidget::customContextMenuRequested, this,
            &CBrevixDlg::OnTreeContextMenu);
    setAcceptDrops(true);
    OnInitDialog();
}

CBrevixDlg::~CBrevixDlg() { OnDestroy(); }

void CBrevixDlg::OnInitDialog() {
    setWindowIcon(AppIcon());
    m_szFolder.clear();
    m_pDecoder = std::make_unique<CDecode>();
    m_strFolder.clear();
    m_nStyleFlag = 1;
    std::string strPath;
    if (!ReadRegistryValue("Path", strPath) || strPath.empty()) return;
    m_szFolder = strPath;
    m_strFolder = strPath;
    ShowFolder();
    FillFileList(strPath);
}

// A focused push button takes Enter itself and is clicked. Anywhere else
// Enter does nothing: QDialog would click the first button it made default,
// or close. Escape and the close box still end the dialog.
void CBrevixDlg::keyPressEvent(QKeyEvent* pEvent) {
    if (pEvent->key() == Qt::Key_Return || pEvent->key() == Qt::Key_Enter) return;
    QDialog::keyPressEvent(pEvent);
}

void CBrevixDlg::OnDestroy() {
    m_pDecoder.reset();
    m_pMessage.reset();
    m_pDoc.reset();
}

// Qt cannot add to the window manager's menu: the About item lives in the
// context menu of the dialog's own background.
void CBrevixDlg::contextMenuEvent(QContextMenuEvent* pEvent) {
    if (childAt(pEvent->pos()) != nullptr) return QDialog::contextMenuEvent(pEvent);
    QMenu menu(this);
    menu.setSeparatorsCollapsible(false);
    menu.addSeparator();
    menu.addAction(QStringLiteral("Open &Session..."), this, &CBrevixDlg::OnOpenSession);
    menu.addAction(QStringLiteral("&Import Log or Capture..."), this,
                   &CBrevixDlg::OnImportLogOrCapture);
    menu.addAction(QStringLiteral("&About Brevix..."), this, &CBrevixDlg::OnAboutBox);
    menu.addAction(QStringLiteral("&Inspect Message...\tCtrl+I"), this,
                   &CBrevixDlg::OnInspectMessage);
    menu.addAction(QStringLiteral("&Compare With..."), this, &CBrevixDlg::OnCompareWith)
        ->setEnabled(m_pMessage != nullptr);
    menu.exec(pEvent->globalPos());
}

void CBrevixDlg::OnTreeContextMenu(const QPoint& pos) {
    const QModelIndex index = m_treeMessage->indexAt(pos);
    if (!index.isValid()) return;
    const int nNode = m_pTreeModel->NodeOf(index);
    QMenu menu(this);
    menu.addAction(QStringLiteral("&Inspect Item..."), this, [this, nNode] { InspectCell(nNode); });
    menu.addAction(QStringLiteral("Copy as &SML"), this, [this, nNode] { CopyAsSml(nNode); });
    menu.exec(m_treeMessage->viewport()->mapToGlobal(pos));
}

void CBrevixDlg::OnInspectMessage() { InspectCell(-1); }

// One inspector at a time, beside the dialog and not modal; it shows the
// document of the message on show (node i of the tree is cell i, made from
// one row of the document).
void CBrevixDlg::InspectCell(int nCell) {
    if (!m_pInspector) {
        m_pInspector = new CInspectorWindow(this);
        if (m_pDoc) m_pInspector->ShowDocument(m_strMessagePath, m_pDoc, m_pMessage, m_nStyleFlag);
    }
    m_pInspector->SelectCell(nCell < 0 || !m_pMessage ? -1 : RowOfCell(*m_pMessage, nCell));
    m_pInspector->show();
    m_pInspector->raise();
    m_pInspector->activateWindow();
}

void CBrevixDlg::OnAboutBox() {
    CAboutDlg dlg(this);
    m_prompter.RunModal(dlg);
}

bool CBrevixDlg::OpenArgument(const std::string& strPath, std::string& strError) {
    std::error_code ec;
    const std::filesystem::path path = std::filesystem::absolute(strPath, ec).lexically_normal();
    if (strPath.empty() || ec || !std::filesystem::exists(path, ec)) {
        strError = "'" + strPath + "' does not exist; starting without it";
        return false;
    }
    if (std::filesystem::is_regular_file(path, ec) && !HasBigExtension(path.filename().native())) {
        ImportAndList(path.native());
        return true;
    }
    const bool bFolder = std::filesystem::is_directory(path, ec);
    std::string strFolder = (bFolder ? path : path.parent_path()).native();
    if (strFolder.size() > 1 && strFolder.back() == '/') strFolder.pop_back();
    ClearFilesAndTree();
    m_szFolder = strFolder;
    m_strFolder = strFolder;
    ShowFolder();
    FillFileList(strFolder);
    if (bFolder) return true;
    const std::string strName = path.filename().native();
    for (int nRow = 0; nRow < m_pFileModel->rowCount(); ++nRow) {
        if (m_pFileModel->EntryAt(nRow)->m_strName != strName) continue;
        SelectFileRow(nRow);
        OnLbnSelchangeFileList();
        break;
    }
    return true;
}
