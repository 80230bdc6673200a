#pragma once
#include <QColor>
#include <QWidget>
#include <string>
#include <vector>

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
// It keeps the bytes it was given: the compared items point into them.
class CCompareWindow : public QWidget {
    Q_OBJECT
public:
    explicit CCompareWindow(QWidget* pParent = nullptr);

    // Shows the comparison of a with b; the names head the trees. The style
    // flag chooses the format names of the labels, as in the main tree.
    void Compare(std::vector<unsigned char> a, const std::string& strNameA,
                 std::vector<unsigned char> b, const std::string& strNameB, int nStyleFlag);
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
    void FillTree(QTreeWidget* pTree, const SDiffMessage& msg,
                  const std::vector<unsigned char>& bytes, bool bA, const std::string& strName,
                  int nStyleFlag);
    void FillDifferences();
    void SelectRow(int nRow);
    void LinkTrees(QTreeWidget* pFrom, QTreeWidget* pTo);

    std::vector<unsigned char> m_bytesA;
    std::vector<unsigned char> m_bytesB;
    SMessageDiff m_diff;
    std::vector<QTreeWidgetItem*> m_itemsA;  // by row
    std::vector<QTreeWidgetItem*> m_itemsB;
    std::vector<int> m_diffRows;  // first row of each item difference; -1 if none
    bool m_bSyncing = false;
};
