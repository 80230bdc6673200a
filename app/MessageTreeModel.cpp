#include "app/MessageTreeModel.h"

#include <utility>

CMessageTreeModel::CMessageTreeModel(QObject* pParent) : QAbstractItemModel(pParent) {}

void CMessageTreeModel::SetTree(CLabelTree tree) {
    beginResetModel();
    m_tree = std::move(tree);
    m_bHasRoot = true;
    BuildViewLinks();
    endResetModel();
}

void CMessageTreeModel::Clear() {
    beginResetModel();
    m_tree = CLabelTree();
    m_bHasRoot = false;
    BuildViewLinks();
    endResetModel();
}

// Recomputes depth and links from m_nParent alone: a parent index that does
// not precede its child (never produced by BuildLabelTree) is taken as the
// root, so a damaged tree can never make the view walk in circles.
void CMessageTreeModel::BuildViewLinks() {
    const int n = static_cast<int>(m_tree.m_nodes.size());
    m_viewParent.assign(n, -1);
    m_viewRow.assign(n, 0);
    m_depth.assign(n, 0);
    std::vector<int> counts(n + 1, 0);
    int nFlatHead = -1;  // latest node at depth kFlatDepth - 1
    for (int i = 0; i < n; ++i) {
        int nParent = m_tree.m_nodes[i].m_nParent;
        if (nParent < -1 || nParent >= i) nParent = -1;
        m_depth[i] = nParent < 0 ? 0 : m_depth[nParent] + 1;
        if (m_depth[i] == kFlatDepth - 1) nFlatHead = i;
        m_viewParent[i] = m_depth[i] >= kFlatDepth ? nFlatHead : nParent;
        m_viewRow[i] = counts[m_viewParent[i] + 1]++;
    }
    m_childStart.assign(n + 2, 0);
    for (int slot = 0; slot <= n; ++slot)
        m_childStart[slot + 1] = m_childStart[slot] + counts[slot];
    m_childOrder.assign(n, 0);
    for (int i = 0; i < n; ++i) m_childOrder[m_childStart[m_viewParent[i] + 1] + m_viewRow[i]] = i;
}

int CMessageTreeModel::NodeOf(const QModelIndex& index) const {
    return static_cast<int>(index.internalId()) - 1;
}

QModelIndex CMessageTreeModel::IndexOfNode(int nNode) const {
    if (nNode < 0) return RootIndex();
    return createIndex(m_viewRow[nNode], 0, static_cast<quintptr>(nNode) + 1);
}

QModelIndex CMessageTreeModel::RootIndex() const {
    return m_bHasRoot ? createIndex(0, 0, kRootId) : QModelIndex();
}

QModelIndex CMessageTreeModel::index(int nRow, int nColumn, const QModelIndex& parent) const {
    if (nColumn != 0 || nRow < 0) return QModelIndex();
    if (!parent.isValid()) return nRow == 0 ? RootIndex() : QModelIndex();
    const int nSlot = NodeOf(parent) + 1;
    const int nBegin = m_childStart[nSlot];
    if (nRow >= m_childStart[nSlot + 1] - nBegin) return QModelIndex();
    return IndexOfNode(m_childOrder[nBegin + nRow]);
}

QModelIndex CMessageTreeModel::parent(const QModelIndex& child) const {
    if (!child.isValid() || child.internalId() == kRootId) return QModelIndex();
    return IndexOfNode(m_viewParent[NodeOf(child)]);
}

int CMessageTreeModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid()) return m_bHasRoot ? 1 : 0;
    if (parent.column() != 0) return 0;
    const int nSlot = NodeOf(parent) + 1;
    return m_childStart[nSlot + 1] - m_childStart[nSlot];
}

int CMessageTreeModel::columnCount(const QModelIndex&) const { return 1; }

// Labels are narrow text shown byte for byte: Latin-1 maps every byte to one
// character, so nothing becomes a replacement character. Line feeds inside
// binary labels stay; the item delegate shows them as separate lines.
QVariant CMessageTreeModel::data(const QModelIndex& index, int nRole) const {
    if (!index.isValid() || nRole != Qt::DisplayRole) return QVariant();
    if (index.internalId() == kRootId) return QString::fromLatin1(m_tree.m_strRoot);
    const int nNode = NodeOf(index);
    const QString strLabel = QString::fromLatin1(m_tree.m_nodes[nNode].m_strLabel);
    if (m_depth[nNode] < kFlatDepth) return strLabel;
    return QStringLiteral("[depth %1] ").arg(m_depth[nNode] + 1) + strLabel;
}
