#include "inspect/InspectTreeModel.h"

#include <QBrush>
#include <QColor>

#include "model/FormatTable.h"
#include "render/NumberText.h"

CInspectTreeModel::CInspectTreeModel(QObject* pParent) : QAbstractItemModel(pParent) {}

void CInspectTreeModel::SetMessage(const CMsgInfo* pMsg, CLabelTree tree, std::vector<char> damaged,
                                   std::uint64_t nFileSize) {
    beginResetModel();
    m_pMsg = pMsg;
    m_tree = std::move(tree);
    m_damaged = std::move(damaged);
    m_damaged.resize(m_tree.m_nodes.size(), 0);
    m_nFileSize = nFileSize;
    m_bHasRoot = pMsg != nullptr;
    BuildViewLinks();
    endResetModel();
}

void CInspectTreeModel::Clear() { SetMessage(nullptr, CLabelTree(), {}, 0); }

// Parents precede children, so one pass finds each node's shown parent, and
// a counting pass lays out the children of every slot.
void CInspectTreeModel::BuildViewLinks() {
    const auto n = static_cast<int>(m_tree.m_nodes.size());
    std::vector<int> anchor(static_cast<std::size_t>(n), -1);
    m_viewParent.assign(static_cast<std::size_t>(n), -1);
    m_viewRow.assign(static_cast<std::size_t>(n), 0);
    m_childStart.assign(static_cast<std::size_t>(n) + 2, 0);
    for (int i = 0; i < n; ++i) {
        const CLabelNode& node = m_tree.m_nodes[static_cast<std::size_t>(i)];
        const int nParent = node.m_nParent;
        if (node.m_nDepth == kFlatDepth - 1) anchor[static_cast<std::size_t>(i)] = i;
        if (node.m_nDepth >= kFlatDepth) {
            anchor[static_cast<std::size_t>(i)] = anchor[static_cast<std::size_t>(nParent)];
            m_viewParent[static_cast<std::size_t>(i)] = anchor[static_cast<std::size_t>(i)];
        } else {
            m_viewParent[static_cast<std::size_t>(i)] = nParent;
        }
        const auto nSlot = static_cast<std::size_t>(m_viewParent[static_cast<std::size_t>(i)] + 1);
        m_viewRow[static_cast<std::size_t>(i)] = m_childStart[nSlot + 1]++;
    }
    for (std::size_t s = 1; s < m_childStart.size(); ++s) m_childStart[s] += m_childStart[s - 1];
    m_childOrder.assign(static_cast<std::size_t>(n), 0);
    for (int i = 0; i < n; ++i) {
        const auto nSlot = static_cast<std::size_t>(m_viewParent[static_cast<std::size_t>(i)] + 1);
        m_childOrder[static_cast<std::size_t>(m_childStart[nSlot] +
                                              m_viewRow[static_cast<std::size_t>(i)])] = i;
    }
}

QModelIndex CInspectTreeModel::RootIndex() const {
    return m_bHasRoot ? createIndex(0, 0, kRootId) : QModelIndex();
}

QModelIndex CInspectTreeModel::IndexOfCell(int nCell, int nColumn) const {
    if (nCell < 0 || nCell >= static_cast<int>(m_viewRow.size())) return QModelIndex();
    return createIndex(m_viewRow[static_cast<std::size_t>(nCell)], nColumn,
                       static_cast<quintptr>(nCell) + 1);
}

int CInspectTreeModel::CellOf(const QModelIndex& index) const {
    return index.isValid() ? static_cast<int>(index.internalId()) - 1 : -1;
}

QModelIndex CInspectTreeModel::index(int nRow, int nColumn, const QModelIndex& parent) const {
    if (nColumn < 0 || nColumn >= kColumnCount || nRow < 0) return QModelIndex();
    if (!parent.isValid())
        return nRow == 0 && m_bHasRoot ? createIndex(0, nColumn, kRootId) : QModelIndex();
    const auto nSlot = static_cast<std::size_t>(CellOf(parent) + 1);
    if (nRow >= m_childStart[nSlot + 1] - m_childStart[nSlot]) return QModelIndex();
    return IndexOfCell(m_childOrder[static_cast<std::size_t>(m_childStart[nSlot] + nRow)], nColumn);
}

QModelIndex CInspectTreeModel::parent(const QModelIndex& child) const {
    if (!child.isValid() || child.internalId() == kRootId) return QModelIndex();
    const int nParent = m_viewParent[static_cast<std::size_t>(CellOf(child))];
    return nParent < 0 ? RootIndex() : IndexOfCell(nParent);
}

int CInspectTreeModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid()) return m_bHasRoot ? 1 : 0;
    if (parent.column() != 0) return 0;
    const auto nSlot = static_cast<std::size_t>(CellOf(parent) + 1);
    return m_childStart[nSlot + 1] - m_childStart[nSlot];
}

int CInspectTreeModel::columnCount(const QModelIndex&) const { return kColumnCount; }

QVariant CInspectTreeModel::headerData(int nSection, Qt::Orientation orientation, int nRole) const {
    if (orientation != Qt::Horizontal || nRole != Qt::DisplayRole) return QVariant();
    static const char* const kTitles[] = {"Item", "Offset", "Size"};
    return nSection >= 0 && nSection < kColumnCount ? QString::fromLatin1(kTitles[nSection])
                                                    : QVariant();
}

QVariant CInspectTreeModel::data(const QModelIndex& index, int nRole) const {
    if (!index.isValid()) return QVariant();
    if (index.internalId() != kRootId) return CellData(CellOf(index), index.column(), nRole);
    if (nRole != Qt::DisplayRole) return QVariant();
    if (index.column() == kColumnItem) return QString::fromLatin1(m_tree.m_strRoot);
    if (index.column() == kColumnOffset) return QStringLiteral("0");
    return QString::number(m_nFileSize);
}

QVariant CInspectTreeModel::CellData(int nCell, int nColumn, int nRole) const {
    const auto i = static_cast<std::size_t>(nCell);
    const bool bDamaged = m_damaged[i] != 0;
    if (nRole == Qt::ForegroundRole && bDamaged) return QBrush(QColor(0xC0, 0x10, 0x10));
    if (nRole == Qt::ToolTipRole && bDamaged)
        return QStringLiteral("Damaged: see the findings below");
    if (nRole != Qt::DisplayRole) return QVariant();
    if (nColumn == kColumnItem) {
        const std::string& strLabel = m_tree.m_nodes[i].m_strLabel;
        QString str = QString::fromLatin1(strLabel.data(), static_cast<int>(strLabel.size()));
        return bDamaged ? QStringLiteral("\u26A0 ") + str : str;
    }
    if (!m_pMsg || i >= m_pMsg->m_cellBytes.size()) return QVariant();
    const SCellBytes& b = m_pMsg->m_cellBytes[i];
    std::string str;
    if (nColumn == kColumnOffset)
        AppendUnsigned(str, b.nOffset);
    else
        AppendUnsigned(str, DataEnd(b) - b.nOffset);
    return QString::fromLatin1(str.c_str());
}
