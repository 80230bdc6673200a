#include "session/SessionTableModel.h"

#include <QApplication>
#include <QColor>
#include <QPalette>
#include <algorithm>

#include "session/SessionColors.h"

CSessionTableModel::CSessionTableModel(QObject* pParent) : QAbstractTableModel(pParent) {
    m_view.pRows = &m_rows;
}

void CSessionTableModel::SetSummaries(const std::vector<std::string>* pSummaries) {
    m_view.pSummaries = pSummaries;
    Refresh();
}

void CSessionTableModel::SetSession(const CSession* pSession, std::vector<std::uint32_t> rows) {
    beginResetModel();
    m_view.pSession = pSession;
    m_rows = pSession ? std::move(rows) : std::vector<std::uint32_t>();
    endResetModel();
}

void CSessionTableModel::SetRows(std::vector<std::uint32_t> rows) {
    beginResetModel();
    m_rows = m_view.pSession ? std::move(rows) : std::vector<std::uint32_t>();
    endResetModel();
}

void CSessionTableModel::AppendRows(std::size_t nFrom) {
    const std::size_t nTo = m_view.pSession ? m_view.pSession->Messages().size() : 0;
    if (nFrom >= nTo) return;
    const int nFirst = static_cast<int>(m_rows.size());
    beginInsertRows({}, nFirst, nFirst + static_cast<int>(nTo - nFrom) - 1);
    for (std::size_t i = nFrom; i < nTo; ++i) m_rows.push_back(static_cast<std::uint32_t>(i));
    endInsertRows();
}

void CSessionTableModel::SetZone(const SSessionZone& zone) {
    m_view.zone = zone;
    emit headerDataChanged(Qt::Horizontal, kTimeColumn, kTimeColumn);
    Refresh();
}

void CSessionTableModel::Refresh() {
    if (m_rows.empty()) return;
    emit dataChanged(index(0, 0), index(rowCount({}) - 1, columnCount({}) - 1));
}

int CSessionTableModel::IndexAt(int nRow) const {
    return nRow >= 0 && nRow < rowCount({}) ? static_cast<int>(m_rows[nRow]) : -1;
}

// The rows keep the session's order, so a binary search finds a message.
int CSessionTableModel::RowOf(std::size_t nIndex) const {
    const auto it = std::lower_bound(m_rows.begin(), m_rows.end(), nIndex);
    return it != m_rows.end() && *it == nIndex ? static_cast<int>(it - m_rows.begin()) : -1;
}

int CSessionTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int CSessionTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(SessionColumns().size());
}

QVariant CSessionTableModel::data(const QModelIndex& index, int nRole) const {
    const int nIndex = IndexAt(index.row());
    if (nIndex < 0 || index.column() >= columnCount({})) return {};
    const SSessionColumn& column = SessionColumns()[static_cast<std::size_t>(index.column())];
    switch (nRole) {
        case Qt::DisplayRole:
            return column.fnText(m_view, static_cast<std::size_t>(index.row()),
                                 static_cast<std::size_t>(nIndex));
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(Qt::AlignVCenter |
                                       (column.bRight ? Qt::AlignRight : Qt::AlignLeft));
        case Qt::BackgroundRole:
            return Background(static_cast<std::size_t>(nIndex));
        case Qt::ForegroundRole:
            return index.column() == kDirectionColumn ? Foreground(static_cast<std::size_t>(nIndex))
                                                      : QVariant();
        default:
            return {};
    }
}

QVariant CSessionTableModel::headerData(int nSection, Qt::Orientation eOrientation,
                                        int nRole) const {
    if (eOrientation != Qt::Horizontal || nRole != Qt::DisplayRole || nSection < 0 ||
        nSection >= columnCount({}))
        return {};
    QString strTitle = QString::fromLatin1(SessionColumns()[nSection].szTitle);
    if (nSection == kTimeColumn)
        strTitle += QStringLiteral(" (%1)").arg(QString::fromStdString(ZoneText(m_view.zone)));
    return strTitle;
}

QVariant CSessionTableModel::Background(std::size_t nIndex) const {
    const QColor c =
        StatusBackground(m_view.pSession->Messages()[nIndex].eStatus, QApplication::palette());
    return c.isValid() ? QVariant(c) : QVariant();
}

QVariant CSessionTableModel::Foreground(std::size_t nIndex) const {
    const SSessionMsg& m = m_view.pSession->Messages()[nIndex];
    return DirectionForeground(m_view.pSession->Flows()[m.nFlow].eDirection,
                               QApplication::palette());
}
