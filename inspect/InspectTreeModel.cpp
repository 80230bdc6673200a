#include "inspect/InspectTreeModel.h"

#include <QBrush>
#include <QColor>

#include "decode/MsgDocWalk.h"
#include "model/FormatTable.h"
#include "render/NumberText.h"
#include "render/TreeLabels.h"

CInspectTreeModel::CInspectTreeModel(QObject* pParent) : QAbstractItemModel(pParent) {}

void CInspectTreeModel::SetDocument(std::shared_ptr<const CMsgDoc> pDoc, int nStyle,
                                    std::vector<char> damaged) {
    beginResetModel();
    m_pTree.reset();
    m_pDoc = std::move(pDoc);
    if (m_pDoc) m_pTree = std::make_unique<CClassicTree>(*m_pDoc);
    m_nStyle = nStyle;
    m_damaged = std::move(damaged);
    m_damaged.resize(m_pDoc ? m_pDoc->m_rows.size() : 0, 0);
    m_roles.clear();
    BuildViewLinks();
    endResetModel();
}

void CInspectTreeModel::Clear() { SetDocument(nullptr, m_nStyle, {}); }

void CInspectTreeModel::SetRoles(std::vector<std::string> roles) {
    m_roles = std::move(roles);
    if (RowCount())
        emit dataChanged(IndexOfRow(0, kColumnRole), IndexOfRow(RowCount() - 1, kColumnRole));
}

// Parents precede children, so one pass finds each row's shown parent, and
// a counting pass lays out the children of every slot.
void CInspectTreeModel::BuildViewLinks() {
    const auto n = m_pDoc ? m_pDoc->m_rows.size() : 0;
    std::vector<int> anchor(n, -1);
    m_viewParent.assign(n, -1);
    m_viewRow.assign(n, 0);
    m_childStart.assign(n + 2, 0);
    for (std::size_t i = 0; i < n; ++i) {
        const SItemRow& row = m_pDoc->m_rows[i];
        const int nParent = row.nParent;
        if (row.nDepth == kFlatDepth - 1) anchor[i] = static_cast<int>(i);
        if (row.nDepth >= kFlatDepth) {
            anchor[i] = anchor[static_cast<std::size_t>(nParent)];
            m_viewParent[i] = anchor[i];
        } else {
            m_viewParent[i] = nParent;
        }
        const auto nSlot = static_cast<std::size_t>(m_viewParent[i] + 1);
        m_viewRow[i] = m_childStart[nSlot + 1]++;
    }
    for (std::size_t s = 1; s < m_childStart.size(); ++s) m_childStart[s] += m_childStart[s - 1];
    m_childOrder.assign(n, 0);
    for (std::size_t i = 0; i < n; ++i) {
        const auto nSlot = static_cast<std::size_t>(m_viewParent[i] + 1);
        m_childOrder[static_cast<std::size_t>(m_childStart[nSlot] + m_viewRow[i])] =
            static_cast<int>(i);
    }
}

// A list shows the count the main tree shows; an item of an unknown format,
// which has no cell there, says what it is; a long value shows its start.
std::string CInspectTreeModel::Label(int nRow) const {
    if (!m_pDoc || nRow < 0 || nRow >= RowCount()) return {};
    const auto i = static_cast<std::size_t>(nRow);
    const SItemRow& row = m_pDoc->m_rows[i];
    if (row.nFormat == kFormatList) {
        CMsgCell list;
        list.m_nFormat = kFormatList;
        list.m_nCount = m_pTree->Count(i);
        return GetTreeLabel(list, m_nStyle);
    }
    const auto pCell = m_decoder.MakeCell(*m_pDoc, i, kLabelBytes);
    if (!pCell) {
        std::string str = "? format byte ";
        AppendHex(str, row.nFormatByte, 2);
        return str + " (skipped)";
    }
    std::string str = GetTreeLabel(*pCell, m_nStyle);
    if (row.nPresent <= kLabelBytes) return str;
    // The head counts what the cell holds: put the item's own count in.
    const std::size_t nBracket = str.find('[');
    const std::size_t nClose = str.find(']', nBracket);
    std::string strCount;
    AppendUnsigned(strCount, RowElementCount(row));
    if (nBracket != std::string::npos && nClose != std::string::npos)
        str.replace(nBracket + 1, nClose - nBracket - 1, strCount);
    return str + "...";
}

QModelIndex CInspectTreeModel::RootIndex() const {
    return m_pDoc ? createIndex(0, 0, kRootId) : QModelIndex();
}

QModelIndex CInspectTreeModel::IndexOfRow(int nRow, int nColumn) const {
    if (nRow < 0 || nRow >= RowCount()) return QModelIndex();
    return createIndex(m_viewRow[static_cast<std::size_t>(nRow)], nColumn,
                       static_cast<quintptr>(nRow) + 1);
}

int CInspectTreeModel::RowOf(const QModelIndex& index) const {
    return index.isValid() ? static_cast<int>(index.internalId()) - 1 : -1;
}

QModelIndex CInspectTreeModel::index(int nRow, int nColumn, const QModelIndex& parent) const {
    if (nColumn < 0 || nColumn >= kColumnCount || nRow < 0) return QModelIndex();
    if (!parent.isValid())
        return nRow == 0 && m_pDoc ? createIndex(0, nColumn, kRootId) : QModelIndex();
    const auto nSlot = static_cast<std::size_t>(RowOf(parent) + 1);
    if (nRow >= m_childStart[nSlot + 1] - m_childStart[nSlot]) return QModelIndex();
    return IndexOfRow(m_childOrder[static_cast<std::size_t>(m_childStart[nSlot] + nRow)], nColumn);
}

QModelIndex CInspectTreeModel::parent(const QModelIndex& child) const {
    if (!child.isValid() || child.internalId() == kRootId) return QModelIndex();
    const int nParent = m_viewParent[static_cast<std::size_t>(RowOf(child))];
    return nParent < 0 ? RootIndex() : IndexOfRow(nParent);
}

int CInspectTreeModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid()) return m_pDoc ? 1 : 0;
    if (parent.column() != 0) return 0;
    const auto nSlot = static_cast<std::size_t>(RowOf(parent) + 1);
    return m_childStart[nSlot + 1] - m_childStart[nSlot];
}

int CInspectTreeModel::columnCount(const QModelIndex&) const { return kColumnCount; }

QVariant CInspectTreeModel::headerData(int nSection, Qt::Orientation orientation, int nRole) const {
    if (orientation != Qt::Horizontal || nRole != Qt::DisplayRole) return QVariant();
    static const char* const kTitles[] = {"Item", "Offset", "Size", "Role"};
    return nSection >= 0 && nSection < kColumnCount ? QString::fromLatin1(kTitles[nSection])
                                                    : QVariant();
}

QVariant CInspectTreeModel::data(const QModelIndex& index, int nRole) const {
    if (!index.isValid()) return QVariant();
    if (index.internalId() != kRootId) return RowData(RowOf(index), index.column(), nRole);
    if (nRole != Qt::DisplayRole) return QVariant();
    if (index.column() == kColumnItem) {
        const SHeaderFields h = DocHeader(*m_pDoc);
        return QString::fromLatin1(RootLabelText(h.nStream, h.nFunction, h.bWBit != 0));
    }
    if (index.column() == kColumnOffset) return QStringLiteral("0");
    if (index.column() == kColumnRole) return QString();
    return QString::number(m_pDoc->m_bytes.size());
}

QVariant CInspectTreeModel::RowData(int nRow, int nColumn, int nRole) const {
    const auto i = static_cast<std::size_t>(nRow);
    const bool bDamaged = m_damaged[i] != 0;
    if (nRole == Qt::ForegroundRole && bDamaged) return QBrush(QColor(0xC0, 0x10, 0x10));
    if (nRole == Qt::ToolTipRole && bDamaged)
        return QStringLiteral("Damaged: see the findings below");
    if (nRole != Qt::DisplayRole) return QVariant();
    if (nColumn == kColumnItem) {
        const std::string strLabel = Label(nRow);
        QString str = QString::fromLatin1(strLabel.data(), static_cast<int>(strLabel.size()));
        return bDamaged ? QStringLiteral("\u26A0 ") + str : str;
    }
    if (nColumn == kColumnRole)
        return i < m_roles.size()
                   ? QString::fromUtf8(m_roles[i].data(), static_cast<qsizetype>(m_roles[i].size()))
                   : QString();
    const SItemRow& row = m_pDoc->m_rows[i];
    std::string str;
    if (nColumn == kColumnOffset)
        AppendUnsigned(str, row.nOffset);
    else
        AppendUnsigned(str, RowDataEnd(row) - row.nOffset);
    return QString::fromLatin1(str.c_str());
}
