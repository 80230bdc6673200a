#include "session/SessionPlot.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "io/SessionIndex.h"

std::vector<SPlotColumn> PlotColumns(const std::vector<SPlotPoint>& points, int nWidth) {
    std::vector<SPlotColumn> columns(static_cast<std::size_t>(std::max(nWidth, 0)));
    if (points.empty() || columns.empty()) return columns;
    std::int64_t nFirst = points.front().nX, nLast = nFirst;
    for (const SPlotPoint& p : points)
        nFirst = std::min(nFirst, p.nX), nLast = std::max(nLast, p.nX);
    const double dSpan = static_cast<double>(std::max<std::int64_t>(nLast - nFirst, 1));
    for (const SPlotPoint& p : points) {
        const double dAt = static_cast<double>(p.nX - nFirst) / dSpan * (nWidth - 1);
        const std::size_t nColumn =
            std::min(columns.size() - 1, static_cast<std::size_t>(std::max(dAt, 0.0)));
        SPlotColumn& c = columns[nColumn];
        if (c.bUsed && c.dY >= p.dY) continue;
        c = {p.dY, p.nIndex, true};
    }
    return columns;
}

std::vector<SPlotPoint> RatePoints(const std::vector<std::int64_t>& times,
                                   const std::vector<std::uint32_t>& indexes) {
    std::vector<SPlotPoint> points;
    for (std::size_t i = 0; i < times.size() && i < indexes.size(); ++i) {
        if (times[i] == SSessionMsg::kNoTime) continue;
        const std::int64_t nSecond = times[i] / 1'000'000 - (times[i] % 1'000'000 < 0 ? 1 : 0);
        if (!points.empty() && points.back().nX == nSecond * 1'000'000) {
            points.back().dY += 1;
            continue;
        }
        points.push_back({nSecond * 1'000'000, 1, indexes[i]});
    }
    return points;
}

CSessionPlot::CSessionPlot(const QString& strTitle, bool bBars, QWidget* pParent)
    : QWidget(pParent), m_strTitle(strTitle), m_bBars(bBars) {
    setMinimumHeight(90);
    setToolTip(QStringLiteral("Click to select the message"));
}

void CSessionPlot::SetPoints(std::vector<SPlotPoint> points, QString strMaxText) {
    m_points = std::move(points);
    m_strMax = std::move(strMaxText);
    Relayout();
    update();
}

QRect CSessionPlot::PlotRect() const {
    const int nText = fontMetrics().height() + 4;
    return rect().adjusted(4, nText, -4, -4);
}

void CSessionPlot::Relayout() {
    m_columns = PlotColumns(m_points, PlotRect().width());
    m_dMax = 0;
    for (const SPlotColumn& c : m_columns) m_dMax = std::max(m_dMax, c.dY);
}

void CSessionPlot::resizeEvent(QResizeEvent* pEvent) {
    QWidget::resizeEvent(pEvent);
    Relayout();
}

void CSessionPlot::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPalette& pal = palette();
    painter.fillRect(rect(), pal.color(QPalette::Base));
    painter.setPen(pal.color(QPalette::Text));
    painter.drawText(4, fontMetrics().ascent() + 2,
                     m_strTitle + (m_strMax.isEmpty() ? QString()
                                                      : QStringLiteral("  (max ") + m_strMax +
                                                            QStringLiteral(")")));
    const QRect r = PlotRect();
    painter.setPen(pal.color(QPalette::Mid));
    painter.drawRect(r.adjusted(0, 0, -1, -1));
    if (m_dMax <= 0) return;
    painter.setPen(pal.color(QPalette::Highlight));
    for (std::size_t x = 0; x < m_columns.size(); ++x) {
        if (!m_columns[x].bUsed) continue;
        const int nHeight = static_cast<int>(m_columns[x].dY / m_dMax * (r.height() - 2));
        const int nX = r.left() + static_cast<int>(x), nY = r.bottom() - nHeight;
        if (m_bBars)
            painter.drawLine(nX, r.bottom(), nX, nY);
        else
            painter.drawRect(nX - 1, nY - 1, 2, 2);
    }
}

// The nearest used column within a few pixels answers a click.
void CSessionPlot::mousePressEvent(QMouseEvent* pEvent) {
    const int nX = static_cast<int>(pEvent->position().x()) - PlotRect().left();
    for (int nDist = 0; nDist <= 4; ++nDist)
        for (const int nAt : {nX - nDist, nX + nDist})
            if (nAt >= 0 && nAt < static_cast<int>(m_columns.size()) && m_columns[nAt].bUsed) {
                emit messageClicked(m_columns[nAt].nIndex);
                return;
            }
}
