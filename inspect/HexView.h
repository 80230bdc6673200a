#pragma once
#include <QAbstractScrollArea>
#include <cstdint>
#include <vector>

// Offset, 16 bytes in hex and as ASCII per row, painting only the rows in
// view: a 10 MB item costs no more than a small one. The bytes belong to the
// caller and must outlive the view's use of them.
class CHexView : public QAbstractScrollArea {
    Q_OBJECT
public:
    static constexpr int kBytesPerRow = 16;

    struct SRange {
        std::uint64_t nBegin = 0;
        std::uint64_t nEnd = 0;
    };

    explicit CHexView(QWidget* pParent = nullptr);

    void SetData(const unsigned char* pData, std::size_t nSize);
    // Two colours: the item's format and length bytes, then its data.
    void SetHighlight(SRange head, SRange data);
    // Bytes no item accounts for (skipped, ignored, not decoded): greyed.
    void SetGreyRanges(std::vector<SRange> ranges);
    // Scrolls the row of nOffset into view.
    void ShowOffset(std::uint64_t nOffset);

    // Byte under a point of the viewport, or -1: the hex or the ASCII column.
    std::int64_t ByteAt(const QPoint& pos) const;
    // Where the hex digits of a byte are drawn in the viewport; empty when
    // its row is scrolled out of view.
    QRect ByteRect(std::uint64_t nOffset) const;
    SRange Head() const { return m_head; }
    SRange Data() const { return m_data; }

signals:
    void ByteClicked(std::uint64_t nOffset);

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;

private:
    void UpdateScrollBar();
    bool IsGrey(std::uint64_t nOffset) const;
    QColor BackgroundOf(std::uint64_t nOffset) const;
    // Columns in character cells: offset, hex of byte i, ASCII of byte i.
    static int HexColumn(int i) { return 10 + 3 * i + (i >= 8 ? 1 : 0); }
    static int AsciiColumn(int i) { return 10 + 3 * kBytesPerRow + 2 + i; }

    const unsigned char* m_pData = nullptr;
    std::size_t m_nSize = 0;
    SRange m_head;
    SRange m_data;
    std::vector<SRange> m_grey;  // sorted by nBegin, not overlapping
    int m_nCharWidth = 8;
    int m_nLineHeight = 16;
};
