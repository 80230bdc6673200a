#pragma once
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "io/SessionIndex.h"
#include "render/SessionDiff.h"

class CCompareWindow;
class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

// Opens the two-message compare window on message nA of a and nB of b, each
// decoded once into its document; the names head the trees. The window
// belongs to pOwner and deletes itself when closed.
CCompareWindow* CompareSessionMessages(QWidget* pOwner, const CSession& a, std::size_t nA,
                                       const std::string& strNameA, const CSession& b,
                                       std::size_t nB, const std::string& strNameB);

// Two sessions aligned message by message: a summary, then one row per
// message only in A, only in B, or changed; activating a changed row opens
// the pair in the compare window. It owns both sessions, so it stays valid
// whatever the window that opened it shows next.
class CSessionCompareList : public QWidget {
    Q_OBJECT
public:
    CSessionCompareList(std::unique_ptr<CSession> pA, const std::string& strNameA,
                        std::unique_ptr<CSession> pB, const std::string& strNameB,
                        QWidget* pParent = nullptr);
    const SSessionDiff& Diff() const { return m_diff; }
    // Opens the compare window on the pair of row nRow; null for a row
    // without two messages.
    CCompareWindow* OpenRow(int nRow);

    QTreeWidget* m_treePairs = nullptr;
    QLabel* m_labelSummary = nullptr;

private:
    void Fill();

    std::unique_ptr<CSession> m_pA;
    std::unique_ptr<CSession> m_pB;
    std::string m_strNameA;
    std::string m_strNameB;
    std::vector<SSessionMessage> m_msgsA;  // borrow the sessions above
    std::vector<SSessionMessage> m_msgsB;
    SSessionDiff m_diff;
    std::vector<int> m_pairOfRow;  // index into m_diff.pairs per list row
};
