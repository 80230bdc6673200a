#pragma once
#include <QImage>
#include <QPoint>
#include <initializer_list>
#include <optional>

// A rectangle in the Win32 sense: right and bottom are exclusive, so the
// width is nRight - nLeft. QRect's inclusive right() is a trap here.
struct CItemRect {
    int nLeft = 0;
    int nTop = 0;
    int nRight = 0;
    int nBottom = 0;
};

// A solid one-pixel pen; empty stands for a pen the platform refused, which
// draws nothing.
using CPixelPen = std::optional<QRgb>;

// Pixel operations that land exactly where the classic GDI calls put them,
// which QPainter does not (its aliased lines paint both end points and its
// rounded rectangles are one pixel larger). Works on an RGB32 image it does
// not own; everything is clipped to the image.
class CRasterCanvas {
public:
    explicit CRasterCanvas(QImage& image);

    void SetPixel(int x, int y, QRgb cr);
    // Paints every point of the path except the last one (move-to/line-to).
    void Polyline(std::initializer_list<QPoint> points, const CPixelPen& pen);
    // Rounded rectangle with 6 x 6 corners over columns x1..x2-1 and rows
    // y1..y2-1: outline in the pen, inside in the brush.
    void RoundRect(int x1, int y1, int x2, int y2, const CPixelPen& pen, QRgb crBrush);
    // Dotted frame on the edge pixels of the rectangle, every second pixel
    // inverted (checkerboard from the image origin); drawing it twice undoes it.
    void FocusRect(int x1, int y1, int x2, int y2);

private:
    void LineTo(QPoint from, QPoint to, QRgb cr);
    void Span(int x1, int x2, int y, QRgb cr);  // x1..x2 inclusive
    void InvertPixel(int x, int y);

    QImage& m_image;
};
