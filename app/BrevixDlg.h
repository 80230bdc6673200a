#pragma once
#include <QDialog>
#include <QPointer>
#include <memory>
#include <string>
#include <vector>

#include "decode/Decode.h"
#include "model/MsgInfo.h"

struct CFileEntry;
class CFileListModel;
class CInspectorWindow;
class CMessageTreeModel;
class CPrompter;
class QComboBox;
class QLineEdit;
class QListView;
class CMacButton;
class QTreeView;

// The main dialog: folder, file list and the tree of the message on show.
// Owns the decoder and at most one decoded message. Every box and nested
// modal loop goes through the prompter, which must outlive the dialog.
class CBrevixDlg : public QDialog {
    Q_OBJECT
public:
    // Messages with more cells are kept (and can be saved) but not shown.
    static constexpr std::size_t kMaxTreeCells = 50000;

    explicit CBrevixDlg(CPrompter& prompter, QWidget* pParent = nullptr);
    ~CBrevixDlg() override;

    // A command-line argument: a folder is listed as "Open" would list it (it
    // is not stored); a file has its folder listed and is then opened. This is
    // the one place that decides what an argument is. A path that does not
    // exist changes nothing and returns false with a one-line reason.
    bool OpenArgument(const std::string& strPath, std::string& strError);

    int m_nStyleFlag = 1;
    CMacButton* m_btnHexToSecs = nullptr;
    CMacButton* m_btnSaveText = nullptr;
    QTreeView* m_treeMessage = nullptr;
    CMacButton* m_btnOpenFolder = nullptr;
    QListView* m_listFiles = nullptr;
    CFileListModel* m_pFileModel = nullptr;
    // The document of the file on show (its bytes, items and findings) and,
    // when the tree can show it, its cells; both shared with the inspector.
    std::shared_ptr<const CMsgDoc> m_pDoc;
    std::shared_ptr<CMsgInfo> m_pMessage;
    // The folder the list shows; file paths are built from it.
    std::string m_szFolder;
    std::unique_ptr<CDecode> m_pDecoder;
    // The folder as the edit box shows it; "Open" compares against it.
    std::string m_strFolder;
    QLineEdit* m_editFolder = nullptr;
    QComboBox* m_comboFolders = nullptr;
    CMacButton* m_btnOpen = nullptr;
    CMessageTreeModel* m_pTreeModel = nullptr;
    // The file m_pMessage was read from: its listing is saved beside it.
    std::string m_strMessagePath;
    // The inspector while one is open; it deletes itself when closed.
    QPointer<CInspectorWindow> m_pInspector;

public slots:
    void OnBnClickedOpenFolder();
    void OnLbnSelchangeFileList();
    void OnSaveAsText();
    void OnBnClickedHexToSecs();
    void OnBnClickedOpen();
    void OnAboutBox();
    // Puts the SML of tree node nNode and its subtree (the whole message for
    // -1, the root row) on the clipboard.
    void CopyAsSml(int nNode);
    // Opens (or raises) the inspector on the message on show; InspectCell
    // also selects cell nCell in it (-1: the message).
    void OnInspectMessage();
    void InspectCell(int nCell);
    void OnImportLogOrCapture();
    // Asks for a second message file and opens a window comparing the
    // message on show with it.
    void OnCompareWith();
    // Asks for a log, capture or file and hands it on as sessionRequested.
    void OnOpenSession();
    // A dropped path: a log or capture is handed on as sessionRequested, a
    // message file or folder is shown as OpenArgument shows it.
    void OpenDropped(const std::string& strPath);

signals:
    // A log or capture to show in a session window.
    void sessionRequested(const QString& strPath);

protected:
    void contextMenuEvent(QContextMenuEvent* pEvent) override;
    void dragEnterEvent(QDragEnterEvent* pEvent) override;
    void dropEvent(QDropEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;

private:
    void OnInitDialog();
    void OnDestroy();
    void CreateControls();
    void FillFileList(const std::string& strFolder);
    void ImportAndList(const std::string& strFile);
    void FillTreeItem();
    void OnTreeContextMenu(const QPoint& pos);
    void ClearFilesAndTree();
    void ShowFolder();
    void AddFolderToCombo(const std::string& strFolder);
    void ShowFiles(std::vector<CFileEntry> entries);
    // Selects row nRow of the file list without running the open handler.
    void SelectFileRow(int nRow);
    void OnFileSelectionChanged();
    // The selected entry of the file list, or null. Tabbing into the list
    // makes a row current without selecting it.
    const CFileEntry* SelectedFile() const;
    CPrompter& m_prompter;
    // Set while the program itself changes the file list's selection.
    bool m_bSelectingFile = false;
};
