#include "session/SessionStatsPane.h"

#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

#include "decode/HeaderFields.h"
#include "io/SessionClock.h"
#include "io/SessionStats.h"
#include "render/HeaderText.h"
#include "session/SessionPlot.h"

namespace {

QString FromUtf8(const std::string& str) { return QString::fromUtf8(str.data(), str.size()); }

QString RowName(const SSxFyStats& row) {
    if (row.nSType != 0) {
        const char* szName = HsmsSTypeName(row.nSType);
        return szName ? QString::fromLatin1(szName) : QStringLiteral("SType %1").arg(row.nSType);
    }
    return QStringLiteral("S%1F%2").arg(row.nStream).arg(row.nFunction);
}

QTableWidgetItem* NumberItem(const QString& str) {
    auto* pItem = new QTableWidgetItem(str);
    pItem->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return pItem;
}

const char* const kHeadings[] = {"Message", "Name",   "Count", "Unanswered",
                                 "Min",     "Median", "95 %",  "Max"};

}  // namespace

CSessionStatsPane::CSessionStatsPane(QWidget* pParent) : QWidget(pParent) {
    m_labelTotals = new QLabel(this);
    m_labelTotals->setWordWrap(true);
    m_labelTotals->setTextFormat(Qt::RichText);
    connect(m_labelTotals, &QLabel::linkActivated, this, &CSessionStatsPane::filterAsked);
    m_spinT3 = new QDoubleSpinBox(this);
    m_spinT3->setRange(0.001, 86400);
    m_spinT3->setDecimals(3);
    m_spinT3->setSuffix(QStringLiteral(" s"));
    auto* pApply = new QPushButton(QStringLiteral("Apply T3"), this);
    connect(pApply, &QPushButton::clicked, this,
            [this] { emit t3Changed(static_cast<std::int64_t>(m_spinT3->value() * 1e6 + 0.5)); });
    auto* pT3Row = new QHBoxLayout;
    pT3Row->addWidget(new QLabel(QStringLiteral("T3 (reply timeout):"), this));
    pT3Row->addWidget(m_spinT3);
    pT3Row->addWidget(pApply);
    pT3Row->addStretch(1);

    m_tableCounts = new QTableWidget(0, std::size(kHeadings), this);
    m_tableCounts->setObjectName(QStringLiteral("tableCounts"));
    QStringList headings;
    for (const char* sz : kHeadings) headings << QString::fromLatin1(sz);
    m_tableCounts->setHorizontalHeaderLabels(headings);
    m_tableCounts->verticalHeader()->hide();
    m_tableCounts->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tableCounts->horizontalHeader()->setStretchLastSection(true);

    m_plotRate = new CSessionPlot(QStringLiteral("Messages per second"), true, this);
    m_plotLatency = new CSessionPlot(QStringLiteral("Reply latency"), false, this);
    connect(m_plotRate, &CSessionPlot::messageClicked, this, &CSessionStatsPane::messageClicked);
    connect(m_plotLatency, &CSessionPlot::messageClicked, this, &CSessionStatsPane::messageClicked);

    auto* pSplit = new QSplitter(Qt::Vertical, this);
    pSplit->addWidget(m_tableCounts);
    pSplit->addWidget(m_plotRate);
    pSplit->addWidget(m_plotLatency);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->addWidget(m_labelTotals);
    pLayout->addLayout(pT3Row);
    pLayout->addWidget(pSplit, 1);
}

void CSessionStatsPane::ShowSession(const CSession* pSession, std::int64_t nT3Micros) {
    m_spinT3->setValue(static_cast<double>(nT3Micros) / 1e6);
    m_tableCounts->setRowCount(0);
    m_labelTotals->clear();
    if (!pSession) {
        m_plotRate->SetPoints({}, {});
        m_plotLatency->SetPoints({}, {});
        return;
    }
    FillTable(*pSession);
    FillPlots(*pSession);
}

void CSessionStatsPane::FillTable(const CSession& session) {
    const SSessionStats stats = ComputeSessionStats(
        session.Messages(), [&session](std::size_t i) { return session.LatencyMicros(i); });
    // Each count is a link to the filter that lists those messages.
    m_labelTotals->setText(QStringLiteral("%1 messages, <a href=\"unanswered\">%2 unanswered "
                                          "primaries</a>, <a href=\"S9\">%3 S9 errors</a>, "
                                          "<a href=\"damaged\">%4 damaged</a>")
                               .arg(stats.nMessages)
                               .arg(stats.nUnanswered)
                               .arg(stats.nS9)
                               .arg(stats.nDamaged));
    m_tableCounts->setRowCount(static_cast<int>(stats.rows.size()));
    for (int nRow = 0; nRow < static_cast<int>(stats.rows.size()); ++nRow) {
        const SSxFyStats& row = stats.rows[nRow];
        const SLatencySummary& l = row.latency;
        const QString cells[] = {
            RowName(row),
            row.nSType ? QString() : FromUtf8(MessageNameText(row.nStream, row.nFunction)),
            QString::number(row.nCount),
            row.nUnanswered ? QString::number(row.nUnanswered) : QString(),
            FromUtf8(LatencyText(l.nMin)),
            FromUtf8(LatencyText(l.nMedian)),
            FromUtf8(LatencyText(l.nP95)),
            FromUtf8(LatencyText(l.nMax)),
        };
        for (int nColumn = 0; nColumn < static_cast<int>(std::size(cells)); ++nColumn)
            m_tableCounts->setItem(
                nRow, nColumn,
                nColumn < 2 ? new QTableWidgetItem(cells[nColumn]) : NumberItem(cells[nColumn]));
    }
    m_tableCounts->resizeColumnsToContents();
}

void CSessionStatsPane::FillPlots(const CSession& session) {
    const std::vector<SSessionMsg>& msgs = session.Messages();
    std::vector<std::int64_t> times(msgs.size());
    std::vector<std::uint32_t> indexes(msgs.size());
    std::vector<SPlotPoint> latencies;
    std::int64_t nMaxLatency = -1;
    for (std::size_t i = 0; i < msgs.size(); ++i) {
        times[i] = msgs[i].nMicros;
        indexes[i] = static_cast<std::uint32_t>(i);
        const std::int64_t nLatency = session.LatencyMicros(i);
        if (nLatency < 0) continue;
        latencies.push_back(
            {msgs[i].nMicros, static_cast<double>(nLatency), static_cast<std::uint32_t>(i)});
        nMaxLatency = std::max(nMaxLatency, nLatency);
    }
    std::vector<SPlotPoint> rate = RatePoints(times, indexes);
    double dMaxRate = 0;
    for (const SPlotPoint& p : rate) dMaxRate = std::max(dMaxRate, p.dY);
    m_plotRate->SetPoints(std::move(rate), dMaxRate > 0
                                               ? QString::number(dMaxRate) + QStringLiteral("/s")
                                               : QString());
    m_plotLatency->SetPoints(std::move(latencies), FromUtf8(LatencyText(nMaxLatency)));
}
