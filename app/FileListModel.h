#pragma once
#include <QAbstractListModel>
#include <vector>

#include "app/FileEntries.h"

// The entries of the file list, in the order given. The view asks only the
// rows on screen for their text, so a folder of 100,000 files costs one
// vector and a few conversions, not an item object per file.
class CFileListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    void SetEntries(std::vector<CFileEntry> entries);
    void Clear();
    // The entry on row nRow, or null.
    const CFileEntry* EntryAt(int nRow) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int nRole) const override;

private:
    std::vector<CFileEntry> m_entries;
};
