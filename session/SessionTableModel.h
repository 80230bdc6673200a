#pragma once
#include <QAbstractTableModel>
#include <cstdint>
#include <memory>
#include <vector>

#include "session/SessionColumns.h"

// The message list: one row per message the filter keeps, texts made when a
// row is painted, so a million rows cost their index and nothing more.
class CSessionTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit CSessionTableModel(QObject* pParent = nullptr);

    // The session must outlive its use here; null shows nothing.
    void SetSession(const CSession* pSession, std::vector<std::uint32_t> rows);
    void SetRows(std::vector<std::uint32_t> rows);
    // Rows for the session's messages from nFrom to its end (records found
    // while it is read), added below those on show.
    void AppendRows(std::size_t nFrom);
    void SetZone(const SSessionZone& zone);
    // The name column's texts per message; they must outlive their use here.
    void SetSummaries(const std::vector<std::string>* pSummaries);
    // The statuses changed (a new T3): repaint every row.
    void Refresh();

    const std::vector<std::uint32_t>& Rows() const { return m_rows; }
    const SSessionZone& Zone() const { return m_view.zone; }
    // Message index of a row; -1 outside.
    int IndexAt(int nRow) const;
    // Row of a message index; -1 when the filter hides it.
    int RowOf(std::size_t nIndex) const;

    int rowCount(const QModelIndex& parent) const override;
    int columnCount(const QModelIndex& parent) const override;
    QVariant data(const QModelIndex& index, int nRole) const override;
    QVariant headerData(int nSection, Qt::Orientation eOrientation, int nRole) const override;

private:
    QVariant Background(std::size_t nIndex) const;
    QVariant Foreground(std::size_t nIndex) const;

    std::vector<std::uint32_t> m_rows;
    SSessionView m_view;
};
