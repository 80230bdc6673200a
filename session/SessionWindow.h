#pragma once
#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "io/SessionFilter.h"
#include "io/SessionIndex.h"
#include "model/Dictionary.h"

class CCompareWindow;
class CInspectorWindow;
class CSessionCompareList;
class CSessionDetails;
class CSessionLoader;
class CSessionStatsPane;
class CSessionTableModel;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QSplitter;
class QTableView;
class QTabWidget;

// What an export writes.
enum class ESessionExport { kFolder, kSml, kJsonLines };

// A log, capture or folder as a conversation: the message list with its
// filter, the selected message beside it, statistics, exports. Nothing is
// written beside the source; the index is built on a worker thread.
class CSessionWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit CSessionWindow(QWidget* pParent = nullptr);
    ~CSessionWindow() override;

    // Starts reading strPath; the session on show stays until the new one is
    // read. False when a read is already under way.
    bool Open(const std::string& strPath);
    // Blocks until a read under way has ended (tests, benchmarks).
    void WaitForOpen();
    const CSession* Session() const { return m_pSession.get(); }

    // Applies a filter expression; false (and the rows unchanged) with the
    // reason shown when it does not read.
    bool ApplyFilter(const QString& strExpr);
    void SetUtc(bool bUtc);
    // Selects message nIndex (showing it in the panes); false when hidden.
    bool SelectMessage(std::size_t nIndex);
    // Message index of the current row; -1 when none.
    int CurrentMessage() const;
    // Moves from a primary to its reply or back; false when there is none.
    bool JumpToPartner();
    // The selected rows' messages (at least the current one), or every
    // filtered row when bFiltered.
    std::vector<std::uint32_t> ChosenRows(bool bFiltered) const;
    bool Export(ESessionExport eKind, const std::vector<std::uint32_t>& rows,
                const std::string& strPath, std::string& strError) const;
    // With exactly two rows selected, the compare window on their messages;
    // null (and a word in the status bar) otherwise.
    CCompareWindow* CompareSelected();
    // The session on show aligned with the source in strPath, listed in a
    // window of its own; null with the reason shown when either does not read.
    CSessionCompareList* CompareWithSession(const std::string& strPath);

    QTableView* m_tableMessages = nullptr;
    CSessionTableModel* m_pModel = nullptr;
    QLineEdit* m_editFilter = nullptr;
    QLabel* m_labelCount = nullptr;
    CSessionDetails* m_pDetails = nullptr;
    CSessionStatsPane* m_pStats = nullptr;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_btnCancel = nullptr;

signals:
    // A session was read (bOk) or failed; emitted after the panes show it.
    void opened(bool bOk);

protected:
    void closeEvent(QCloseEvent* pEvent) override;
    void dragEnterEvent(QDragEnterEvent* pEvent) override;
    void dropEvent(QDropEvent* pEvent) override;
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    void CreatePanes();
    void CreateMenus();
    void FillRecentMenu();
    void OnOpenFile();
    void OnOpenFolder();
    void OnLoaded(bool bOk, const QString& strError);
    void OnFound();
    void OnRowChanged();
    void OnTableMenu(const QPoint& pos);
    void OnExport(ESessionExport eKind, bool bFiltered);
    void OnT3Changed(std::int64_t nT3Micros);
    void OnCompareWithSession(bool bFolder);
    void InspectCurrent();
    void ShowCount();
    void SaveGeometry() const;
    void RestoreGeometry();
    void Remember(const std::string& strPath);

    std::unique_ptr<CSession> m_pSession;
    // While a source is read: its records found so far, on show in the list.
    std::unique_ptr<CSession> m_pPartial;
    // What the session and the viewer's dictionary file define; names per message.
    std::shared_ptr<const CDictionary> m_pDict;
    std::vector<std::string> m_summaries;
    std::string m_strPath;     // the source on show
    std::string m_strLoading;  // the source being read
    std::int64_t m_nT3Micros = CSessionOptions().nT3Micros;
    bool m_bUtc = false;
    CSessionFilter m_filter;
    CSessionLoader* m_pLoader = nullptr;
    QTabWidget* m_tabs = nullptr;
    QSplitter* m_split = nullptr;
    QMenu* m_menuRecent = nullptr;
    QPointer<CInspectorWindow> m_pInspector;
};

// Opens a session window on strPath, a window of its own even with an
// owner (which deletes it at the latest); it deletes itself when closed.
CSessionWindow* OpenSessionWindow(const std::string& strPath, QWidget* pOwner = nullptr);
