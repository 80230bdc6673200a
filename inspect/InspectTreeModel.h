#pragma once
#include <QAbstractItemModel>
#include <memory>
#include <string>
#include <vector>

#include "decode/ClassicTree.h"
#include "decode/Decode.h"
#include "model/MsgDoc.h"

// The inspector's item tree: one node per row of the message's document
// (items of unknown formats included), labelled as the main tree labels
// its cells, with the offset and the size of each item in the file. Labels
// are made when a row is shown, so a message of millions of items costs
// four integers per item here. As in the main tree, nodes deeper than
// kFlatDepth are shown flat under their ancestor at that depth, since
// QTreeView lays out expanded rows recursively.
class CInspectTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    static constexpr int kFlatDepth = 100;
    // Labels show at most this many data bytes of an item.
    static constexpr std::size_t kLabelBytes = 4096;
    enum EColumn { kColumnItem, kColumnOffset, kColumnSize, kColumnRole, kColumnCount };

    explicit CInspectTreeModel(QObject* pParent = nullptr);

    // damaged[i] marks row i.
    void SetDocument(std::shared_ptr<const CMsgDoc> pDoc, int nStyle, std::vector<char> damaged);
    void Clear();
    // The role column's text per row ("CEID 4001 LotStarted"); rows past
    // its end show none. SetDocument empties it.
    void SetRoles(std::vector<std::string> roles);

    QModelIndex RootIndex() const;
    QModelIndex IndexOfRow(int nRow, int nColumn = 0) const;
    // -1 for the root row and invalid indexes.
    int RowOf(const QModelIndex& index) const;
    // The label of row nRow as the tree shows it (without the damage mark).
    std::string Label(int nRow) const;
    int RowCount() const { return static_cast<int>(m_viewRow.size()); }

    QModelIndex index(int nRow, int nColumn, const QModelIndex& parent) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent) const override;
    int columnCount(const QModelIndex& parent) const override;
    QVariant data(const QModelIndex& index, int nRole) const override;
    QVariant headerData(int nSection, Qt::Orientation orientation, int nRole) const override;

private:
    static constexpr quintptr kRootId = 0;  // row i has id i + 1
    void BuildViewLinks();
    QVariant RowData(int nRow, int nColumn, int nRole) const;

    std::shared_ptr<const CMsgDoc> m_pDoc;
    std::unique_ptr<CClassicTree> m_pTree;  // the counts the main tree shows
    mutable CDecode m_decoder;              // makes the cell of a row being labelled
    int m_nStyle = 1;
    std::vector<char> m_damaged;
    std::vector<std::string> m_roles;
    std::vector<int> m_viewParent;  // -1: the root row
    std::vector<int> m_viewRow;
    std::vector<int> m_childStart;  // slot 0 the root row, slot i + 1 row i
    std::vector<int> m_childOrder;
};
