#pragma once
#include <QString>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "decode/Decode.h"
#include "io/SessionMeaning.h"
#include "model/MsgInfo.h"
#include "render/ExactValue.h"

class CHexView;
class CInspectTreeModel;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPlainTextEdit;
class QSplitter;
class QTreeView;
class QTreeWidget;

// The message inspector: a second, resizable window beside the main dialog
// showing what each byte of the message file is. Panes: header in both
// readings, item tree with offsets and sizes, hex with the selected item's
// bytes in two colours, exact value, findings. It shows the message the
// viewer hands it, whose document holds the bytes: the file is not read again.
class CInspectorWindow : public QWidget {
    Q_OBJECT
public:
    explicit CInspectorWindow(QWidget* pParent = nullptr);
    ~CInspectorWindow() override;

    // Shows a message's document read from strPath; the style flag chooses
    // the format names of the labels and the style of copied listings. The
    // window shares the document and, when given, the message made from it
    // (else it makes one only when a listing of a subtree is asked for).
    void ShowDocument(const std::string& strPath, std::shared_ptr<const CMsgDoc> pDoc,
                      std::shared_ptr<CMsgInfo> pMsg, int nStyleFlag);
    void ShowMessage(const std::string& strPath, std::shared_ptr<CMsgInfo> pMsg, int nStyleFlag);
    // Reads and shows a file, for a window opened without the viewer. False
    // when it cannot be read: the panes are then empty and the findings say why.
    bool ShowFile(const std::string& strPath, int nStyleFlag);
    // What the items mean: the role column and the notes, shown apart from
    // the findings. ShowDocument sets them from the viewer's dictionary
    // file; a session window sets its own after it.
    void ShowMeaning(SMeaningTexts texts);
    // Selects item nRow (a row of the document, -1: the message itself).
    void SelectCell(int nRow);
    int SelectedCell() const;

    // Search over labels and exact values, case-insensitive. Find selects
    // the first match at or after the selection and returns the count.
    int Find(const QString& strText);
    void FindNext(bool bForward);
    int MatchCount() const { return static_cast<int>(m_matches.size()); }

    // What Ctrl+C in the item tree copies: the listing of the selected
    // subtree (of the whole message for the root row).
    std::string SubtreeText();
    std::string ExactValueOf(int nRow, ETextReading eReading) const;
    std::string BytesHexOf(int nRow) const;
    // True for an item with a value (not a list, a known format).
    bool HasValue(int nRow) const;
    // The value pane shows at most this many data bytes of an item.
    static constexpr std::size_t kShownValueBytes = 64 * 1024;
    // SML (standard dialect) of row nRow and its subtree; the message for -1.
    std::string SmlOf(int nRow) const;

    const CMsgDoc* Document() const { return m_pDoc.get(); }
    // The cells of the message on show, made on first use; null for none.
    const CMsgInfo* Message() const;
    // Above this many items the tree opens with only its first levels expanded.
    static constexpr int kExpandAllRows = 50000;
    // Above this many items no roles are made: a text per item would make
    // memory grow with items rather than bytes.
    static constexpr std::size_t kMaxMeaningRows = 1000000;

    QTreeWidget* m_treeHeader = nullptr;
    QTreeView* m_treeItems = nullptr;
    CHexView* m_hexView = nullptr;
    QPlainTextEdit* m_editValue = nullptr;
    QComboBox* m_comboReading = nullptr;
    QListWidget* m_listFindings = nullptr;
    QLineEdit* m_editFind = nullptr;
    QLabel* m_labelMatches = nullptr;

protected:
    void closeEvent(QCloseEvent* pEvent) override;
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    void CreatePanes();
    void CreateShortcuts();
    void ShowHeader();
    void ShowFindings();
    void ShowNotes();
    void OnCellSelected();
    void OnByteClicked(std::uint64_t nOffset);
    void OnFindingClicked(QListWidgetItem* pItem);
    void OnTreeMenu(const QPoint& pos);
    void ShowValue(int nRow);
    void SaveExactValue(int nRow);
    void ShowMatchCount();
    void SaveGeometry() const;
    bool RestoreGeometry();  // false: nothing kept yet
    void PlaceBesideParent();
    std::vector<char> DamagedRows() const;
    const SItemRow* Row(int nRow) const;  // null for -1 and rows that are not there
    ETextReading Reading() const;

    // The message's bytes, as its document holds them (empty without one).
    const std::vector<unsigned char>& Bytes() const;

    mutable CDecode m_decoder;
    std::shared_ptr<const CMsgDoc> m_pDoc;
    mutable std::shared_ptr<CMsgInfo> m_pMsg;
    std::string m_strPath;
    int m_nStyle = 1;
    CInspectTreeModel* m_pModel = nullptr;
    QSplitter* m_splitMain = nullptr;
    QSplitter* m_splitLeft = nullptr;
    QSplitter* m_splitRight = nullptr;
    QString m_strSearched;
    std::vector<int> m_matches;        // rows, document order
    std::vector<std::string> m_notes;  // where the message differs from its structure
    int m_nMatch = -1;
};
