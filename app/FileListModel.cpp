#include "app/FileListModel.h"

#include <utility>

void CFileListModel::SetEntries(std::vector<CFileEntry> entries) {
    beginResetModel();
    m_entries = std::move(entries);
    endResetModel();
}

void CFileListModel::Clear() { SetEntries({}); }

const CFileEntry* CFileListModel::EntryAt(int nRow) const {
    if (nRow < 0 || nRow >= static_cast<int>(m_entries.size())) return nullptr;
    return &m_entries[nRow];
}

int CFileListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_entries.size());
}

// The shown names are valid UTF-8 by construction (VisibleName).
QVariant CFileListModel::data(const QModelIndex& index, int nRole) const {
    const CFileEntry* pEntry = EntryAt(index.row());
    if (pEntry == nullptr || nRole != Qt::DisplayRole) return QVariant();
    return QString::fromUtf8(pEntry->m_strShown);
}
