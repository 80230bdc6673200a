#pragma once
#include <QAbstractItemModel>
#include <vector>

#include "model/MsgInfo.h"
#include "render/TreeLabels.h"

// The inspector's item tree: the main tree's labels, plus the offset and the
// size of each item in the file. Node i is cell i of the message (the label
// tree is built in document order). As in the main tree, nodes deeper than
// kFlatDepth are shown flat under their ancestor at that depth, since
// QTreeView lays out expanded rows recursively.
class CInspectTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    static constexpr int kFlatDepth = 100;
    enum EColumn { kColumnItem, kColumnOffset, kColumnSize, kColumnCount };

    explicit CInspectTreeModel(QObject* pParent = nullptr);

    // pMsg must outlive the model's use of it; bDamaged marks node i.
    void SetMessage(const CMsgInfo* pMsg, CLabelTree tree, std::vector<char> damaged,
                    std::uint64_t nFileSize);
    void Clear();

    QModelIndex RootIndex() const;
    QModelIndex IndexOfCell(int nCell, int nColumn = 0) const;
    // -1 for the root row and invalid indexes.
    int CellOf(const QModelIndex& index) const;
    const CLabelTree& Tree() const { return m_tree; }

    QModelIndex index(int nRow, int nColumn, const QModelIndex& parent) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent) const override;
    int columnCount(const QModelIndex& parent) const override;
    QVariant data(const QModelIndex& index, int nRole) const override;
    QVariant headerData(int nSection, Qt::Orientation orientation, int nRole) const override;

private:
    static constexpr quintptr kRootId = 0;  // node i has id i + 1
    void BuildViewLinks();
    QVariant CellData(int nCell, int nColumn, int nRole) const;

    const CMsgInfo* m_pMsg = nullptr;
    CLabelTree m_tree;
    bool m_bHasRoot = false;
    std::uint64_t m_nFileSize = 0;
    std::vector<char> m_damaged;
    std::vector<int> m_viewParent;  // -1: the root row
    std::vector<int> m_viewRow;
    std::vector<int> m_childStart;  // slot 0 the root row, slot i + 1 node i
    std::vector<int> m_childOrder;
};
