#pragma once
#include <QColor>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "model/MsgDoc.h"
#include "render/MessageDiff.h"

class QLabel;
class QListWidget;
class QTreeWidget;
class QTreeWidgetItem;

// Background of a row that belongs to a difference of kind eKind; bDark for
// a palette with a dark base, where the text is light. Pale tints on light
// bases, deep ones on dark bases, so the palette's text stays readable.
QColor DiffRowColour(EDiffKind eKind, bool bDark);

// Two messages side by side: both item trees with a row for every item of
// either (an empty row where one side has no partner), differences
// coloured, the trees scrolling and folding together, the differences
// listed below. F8 and Shift+F8 go to the next and the previous difference.
// It shares the documents it was given: the compared items point into their
// bytes, and the tree labels are made from them, so nothing is walked twice.
class CCompareWindow : public QWidget {
    Q_OBJECT
public:
    explicit CCompareWindow(QWidget* pParent = nullptr);

    // Shows the comparison of a with b; the names head the trees. The style
    // flag chooses the format names of the labels, as in the main tree.
    // Null documents compare as empty messages.
    void Compare(std::shared_ptr<const CMsgDoc> pA, const std::string& strNameA,
                 std::shared_ptr<const CMsgDoc> pB, const std::string& strNameB, int nStyleFlag);
    // Selects the first row of the next (previous) difference after (before)
    // the current row, wrapping around; false when there is none.
    bool GoToDifference(bool bForward);
    // Row of the trees in SMessageDiff::rows order; -1 for the root rows or none.
    int CurrentRow() const;
    const SMessageDiff& Diff() const { return m_diff; }

    QTreeWidget* m_treeA = nullptr;
    QTreeWidget* m_treeB = nullptr;
    QListWidget* m_listDiffs = nullptr;
    QLabel* m_labelSummary = nullptr;

private:
    void CreatePanes();
    void FillTree(QTreeWidget* pTree, const std::shared_ptr<const CMsgDoc>& pDoc, bool bA,
                  const std::string& strName, int nStyleFlag);
    void FillDifferences();
    void SelectRow(int nRow);
    void LinkTrees(QTreeWidget* pFrom, QTreeWidget* pTo);

    std::shared_ptr<const CMsgDoc> m_pDocA;
    std::shared_ptr<const CMsgDoc> m_pDocB;
    SMessageDiff m_diff;
    std::vector<QTreeWidgetItem*> m_itemsA;  // by row
    std::vector<QTreeWidgetItem*> m_itemsB;
    std::vector<int> m_diffRows;  // first row of each item difference; -1 if none
    bool m_bSyncing = false;
};
