#pragma once
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "decode/Decode.h"
#include "io/SessionIndex.h"
#include "model/MsgDoc.h"
#include "model/MsgInfo.h"

class CRoleTreeModel;
class CDictionary;
class QListWidget;
class QPushButton;
class QSplitter;
class QTreeView;
class QTreeWidget;

// The message selected in the list: its tree with the classic labels, the
// header in both readings, the decoder's findings and the source's notes on
// it, and Copy as SML. It keeps the message's document, which the SML copy
// and the inspector read.
class CSessionDetails : public QWidget {
    Q_OBJECT
public:
    // Messages with more cells are described but their tree is not built.
    static constexpr std::size_t kMaxTreeCells = 50000;

    explicit CSessionDetails(QWidget* pParent = nullptr);
    ~CSessionDetails() override;

    // Shows message nIndex of the session; a bad index clears the panes.
    // With the session's dictionary the tree's tooltips name each item's
    // role and the notes on its structure follow the findings.
    void ShowMessage(const CSession& session, std::size_t nIndex,
                     const CDictionary* pDict = nullptr);
    void Clear();
    // The SML of the message on show (standard dialect), empty when none.
    std::string Sml() const;
    // The document on show and the classic message made from it (null when
    // its tree is too big to build); both null when nothing is shown.
    std::shared_ptr<const CMsgDoc> Doc() const { return m_pDoc; }
    std::shared_ptr<CMsgInfo> Msg() const { return m_pMsg; }

    QTreeView* m_treeItems = nullptr;
    QTreeWidget* m_treeHeader = nullptr;
    QListWidget* m_listFindings = nullptr;
    QPushButton* m_btnCopySml = nullptr;
    QSplitter* m_split = nullptr;

private:
    void ShowHeader();
    void ShowFindings(const CSession& session, std::size_t nIndex,
                      const std::vector<std::string>& notes);

    CDecode m_decoder;
    std::shared_ptr<const CMsgDoc> m_pDoc;
    std::shared_ptr<CMsgInfo> m_pMsg;
    CRoleTreeModel* m_pTreeModel = nullptr;
};
