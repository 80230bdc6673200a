#pragma once
#include <QAbstractItemModel>
#include <vector>

#include "render/TreeLabels.h"

// The message tree for a QTreeView: one root row ("S6F11W") holding the label
// nodes. QTreeView lays out expanded rows recursively, one stack frame chain
// per level, so nesting without bound would exhaust the stack. Nodes at a
// depth of kFlatDepth and more are therefore shown flat, in document order,
// under their ancestor at depth kFlatDepth - 1, each marked with its depth.
class CMessageTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    // Levels below the root row shown as a tree; deeper nodes are shown flat.
    static constexpr int kFlatDepth = 100;

    explicit CMessageTreeModel(QObject* pParent = nullptr);

    void SetTree(CLabelTree tree);
    void Clear();
    // The root row; invalid while the model is empty.
    QModelIndex RootIndex() const;
    // Node (cell) index of a row; -1 for the root row.
    int NodeOf(const QModelIndex& index) const;

    QModelIndex index(int nRow, int nColumn, const QModelIndex& parent) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent) const override;
    int columnCount(const QModelIndex& parent) const override;
    QVariant data(const QModelIndex& index, int nRole) const override;

private:
    // Item ids: 0 is the root row, node i is i + 1.
    static constexpr quintptr kRootId = 0;
    QModelIndex IndexOfNode(int nNode) const;
    void BuildViewLinks();

    CLabelTree m_tree;
    bool m_bHasRoot = false;
    // Per node, as shown: its view parent (-1 for the root row) and row.
    std::vector<int> m_viewParent;
    std::vector<int> m_viewRow;
    std::vector<int> m_depth;
    // Children as shown of the root row (slot 0) and of node i (slot i + 1):
    // m_childOrder[m_childStart[slot] .. m_childStart[slot + 1]).
    std::vector<int> m_childStart;
    std::vector<int> m_childOrder;
};
