#pragma once
#include <QWidget>
#include <cstdint>
#include <vector>

// A point of a plot: when (µs), how much, and which message it stands for.
struct SPlotPoint {
    std::int64_t nX = 0;
    double dY = 0;
    std::uint32_t nIndex = 0;
};

// One pixel column of a plot: the highest point that falls into it.
struct SPlotColumn {
    double dY = 0;
    std::uint32_t nIndex = 0;
    bool bUsed = false;
};

// The points spread over nWidth columns by time, first to last; each column
// keeps its highest point, so a spike is never thinned away.
std::vector<SPlotColumn> PlotColumns(const std::vector<SPlotPoint>& points, int nWidth);

// Messages per second: one point per second that holds messages, standing
// for its first message. Times (µs) in session order; kNoTime ones are skipped.
std::vector<SPlotPoint> RatePoints(const std::vector<std::int64_t>& times,
                                   const std::vector<std::uint32_t>& indexes);

// A plot drawn by hand: bars (a rate) or dots (latencies), the largest value
// at the top left. Clicking a column asks for its message.
class CSessionPlot : public QWidget {
    Q_OBJECT
public:
    CSessionPlot(const QString& strTitle, bool bBars, QWidget* pParent = nullptr);
    // fnValueText names the largest value in the corner.
    void SetPoints(std::vector<SPlotPoint> points, QString strMaxText);

signals:
    void messageClicked(std::uint32_t nIndex);

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;

private:
    QRect PlotRect() const;
    void Relayout();

    QString m_strTitle;
    QString m_strMax;
    bool m_bBars = true;
    std::vector<SPlotPoint> m_points;
    std::vector<SPlotColumn> m_columns;
    double m_dMax = 0;
};
