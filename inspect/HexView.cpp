#include "inspect/HexView.h"

#include <QFontDatabase>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "model/Bytes.h"

namespace {

QString OffsetText(std::uint64_t n) {
    char sz[9];
    for (int i = 7; i >= 0; --i, n >>= 4) sz[i] = kUpperHexDigits[n & 0xF];
    sz[8] = 0;
    return QString::fromLatin1(sz);
}

}  // namespace

CHexView::CHexView(QWidget* pParent) : QAbstractScrollArea(pParent) {
    const QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    viewport()->setFont(font);
    const QFontMetrics metrics(font);
    m_nCharWidth = metrics.horizontalAdvance(QLatin1Char('0'));
    m_nLineHeight = metrics.height();
    setMinimumWidth(AsciiColumn(kBytesPerRow) * m_nCharWidth + 24);
}

void CHexView::SetData(const unsigned char* pData, std::size_t nSize) {
    m_pData = pData;
    m_nSize = pData ? nSize : 0;
    m_head = m_data = {};
    m_grey.clear();
    UpdateScrollBar();
    verticalScrollBar()->setValue(0);
    viewport()->update();
}

void CHexView::SetHighlight(SRange head, SRange data) {
    m_head = head;
    m_data = data;
    viewport()->update();
}

void CHexView::SetGreyRanges(std::vector<SRange> ranges) {
    std::sort(ranges.begin(), ranges.end(),
              [](const SRange& a, const SRange& b) { return a.nBegin < b.nBegin; });
    m_grey = std::move(ranges);
    viewport()->update();
}

void CHexView::ShowOffset(std::uint64_t nOffset) {
    const auto nRow = static_cast<int>(nOffset / kBytesPerRow);
    QScrollBar* pBar = verticalScrollBar();
    const int nVisible = std::max(1, viewport()->height() / m_nLineHeight);
    if (nRow < pBar->value() || nRow >= pBar->value() + nVisible)
        pBar->setValue(std::max(0, nRow - nVisible / 3));
}

void CHexView::UpdateScrollBar() {
    const auto nRows = static_cast<int>((m_nSize + kBytesPerRow - 1) / kBytesPerRow);
    const int nVisible = std::max(1, viewport()->height() / m_nLineHeight);
    verticalScrollBar()->setRange(0, std::max(0, nRows - nVisible));
    verticalScrollBar()->setPageStep(nVisible);
}

void CHexView::resizeEvent(QResizeEvent* pEvent) {
    QAbstractScrollArea::resizeEvent(pEvent);
    UpdateScrollBar();
}

bool CHexView::IsGrey(std::uint64_t nOffset) const {
    auto it = std::upper_bound(m_grey.begin(), m_grey.end(), nOffset,
                               [](std::uint64_t n, const SRange& r) { return n < r.nBegin; });
    return it != m_grey.begin() && nOffset < (it - 1)->nEnd;
}

QColor CHexView::BackgroundOf(std::uint64_t nOffset) const {
    if (nOffset >= m_head.nBegin && nOffset < m_head.nEnd) return QColor(0xFF, 0xC8, 0x6E);
    if (nOffset >= m_data.nBegin && nOffset < m_data.nEnd) return QColor(0xA8, 0xD8, 0xFF);
    return QColor();
}

// Only the rows between the top of the view and its bottom are drawn.
void CHexView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), palette().base());
    const int nFirstRow = verticalScrollBar()->value();
    const int nRows = viewport()->height() / m_nLineHeight + 1;
    const int nAscent = painter.fontMetrics().ascent();
    const QColor text = palette().text().color();
    const QColor grey(0xA0, 0xA0, 0xA0);
    for (int r = 0; r < nRows; ++r) {
        const std::uint64_t nRowStart = (std::uint64_t(nFirstRow) + r) * kBytesPerRow;
        if (nRowStart >= m_nSize) break;
        const int y = r * m_nLineHeight;
        painter.setPen(grey);
        painter.drawText(4, y + nAscent, OffsetText(nRowStart));
        for (int i = 0; i < kBytesPerRow && nRowStart + i < m_nSize; ++i) {
            const std::uint64_t n = nRowStart + i;
            const unsigned char b = m_pData[n];
            const QColor back = BackgroundOf(n);
            const int xHex = 4 + HexColumn(i) * m_nCharWidth;
            const int xAscii = 4 + AsciiColumn(i) * m_nCharWidth;
            if (back.isValid()) {
                painter.fillRect(xHex, y, 2 * m_nCharWidth, m_nLineHeight, back);
                painter.fillRect(xAscii, y, m_nCharWidth, m_nLineHeight, back);
            }
            painter.setPen(IsGrey(n) ? grey : text);
            const char hex[3] = {kUpperHexDigits[b >> 4], kUpperHexDigits[b & 0xF], 0};
            painter.drawText(xHex, y + nAscent, QString::fromLatin1(hex));
            const char ch = b >= 0x20 && b < 0x7F ? static_cast<char>(b) : '.';
            painter.drawText(xAscii, y + nAscent, QString(QLatin1Char(ch)));
        }
    }
}

std::int64_t CHexView::ByteAt(const QPoint& pos) const {
    const int nRow = verticalScrollBar()->value() + pos.y() / m_nLineHeight;
    const int nColumn = (pos.x() - 4) / m_nCharWidth;
    for (int i = 0; i < kBytesPerRow; ++i) {
        if (nColumn == HexColumn(i) || nColumn == HexColumn(i) + 1 || nColumn == AsciiColumn(i)) {
            const std::uint64_t n = std::uint64_t(nRow) * kBytesPerRow + i;
            return n < m_nSize ? static_cast<std::int64_t>(n) : -1;
        }
    }
    return -1;
}

QRect CHexView::ByteRect(std::uint64_t nOffset) const {
    const std::int64_t nRow =
        static_cast<std::int64_t>(nOffset / kBytesPerRow) - verticalScrollBar()->value();
    if (nOffset >= m_nSize || nRow < 0 || nRow * m_nLineHeight >= viewport()->height())
        return QRect();
    const int i = static_cast<int>(nOffset % kBytesPerRow);
    return QRect(4 + HexColumn(i) * m_nCharWidth, static_cast<int>(nRow) * m_nLineHeight,
                 2 * m_nCharWidth, m_nLineHeight);
}

void CHexView::mousePressEvent(QMouseEvent* pEvent) {
    const std::int64_t n = ByteAt(pEvent->position().toPoint());
    if (n >= 0) emit ByteClicked(static_cast<std::uint64_t>(n));
}
