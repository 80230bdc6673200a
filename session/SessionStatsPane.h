#pragma once
#include <QWidget>
#include <cstdint>

#include "io/SessionIndex.h"

class CSessionPlot;
class QDoubleSpinBox;
class QLabel;
class QTableWidget;

// Statistics of the whole session: counts and reply latencies per SxFy, the
// unanswered primaries and S9 errors, messages per second and latency over
// time. The T3 used for "unanswered" is shown and can be changed.
class CSessionStatsPane : public QWidget {
    Q_OBJECT
public:
    explicit CSessionStatsPane(QWidget* pParent = nullptr);

    // Recomputes everything from the session (null: empty).
    void ShowSession(const CSession* pSession, std::int64_t nT3Micros);

    QTableWidget* m_tableCounts = nullptr;
    QLabel* m_labelTotals = nullptr;
    QDoubleSpinBox* m_spinT3 = nullptr;
    CSessionPlot* m_plotRate = nullptr;
    CSessionPlot* m_plotLatency = nullptr;

signals:
    void messageClicked(std::uint32_t nIndex);
    void t3Changed(std::int64_t nT3Micros);
    // A count was clicked: list its messages with this filter.
    void filterAsked(const QString& strExpr);

private:
    void FillTable(const CSession& session);
    void FillPlots(const CSession& session);
};
