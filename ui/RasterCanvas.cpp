#include "ui/RasterCanvas.h"

#include <algorithm>
#include <cstdlib>

CRasterCanvas::CRasterCanvas(QImage& image) : m_image(image) {}

void CRasterCanvas::SetPixel(int x, int y, QRgb cr) {
    if (x < 0 || y < 0 || x >= m_image.width() || y >= m_image.height()) return;
    m_image.setPixel(x, y, cr);
}

void CRasterCanvas::InvertPixel(int x, int y) {
    if (x < 0 || y < 0 || x >= m_image.width() || y >= m_image.height()) return;
    m_image.setPixel(x, y, (m_image.pixel(x, y) ^ 0x00FFFFFFu) | 0xFF000000u);
}

void CRasterCanvas::Span(int x1, int x2, int y, QRgb cr) {
    for (int x = x1; x <= x2; ++x) SetPixel(x, y, cr);
}

// Bresenham from `from` up to, not including, `to`.
void CRasterCanvas::LineTo(QPoint from, QPoint to, QRgb cr) {
    const int dx = std::abs(to.x() - from.x());
    const int dy = -std::abs(to.y() - from.y());
    const int sx = from.x() < to.x() ? 1 : -1;
    const int sy = from.y() < to.y() ? 1 : -1;
    int err = dx + dy;
    int x = from.x();
    int y = from.y();
    while (x != to.x() || y != to.y()) {
        SetPixel(x, y, cr);
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

void CRasterCanvas::Polyline(std::initializer_list<QPoint> points, const CPixelPen& pen) {
    if (!pen || points.size() < 2) return;
    const QPoint* p = points.begin();
    for (std::size_t i = 1; i < points.size(); ++i) LineTo(p[i - 1], p[i], *pen);
}

void CRasterCanvas::RoundRect(int x1, int y1, int x2, int y2, const CPixelPen& pen, QRgb crBrush) {
    if (x2 <= x1 || y2 <= y1) return;
    for (int y = y1; y < y2; ++y) {
        // Rows 0 and 1 from either end are indented by the 6 x 6 corner arc.
        const int nFromEdge = std::min(y - y1, y2 - 1 - y);
        const int nIndent = nFromEdge == 0 ? 2 : (nFromEdge == 1 ? 1 : 0);
        const int xl = x1 + nIndent;
        const int xr = x2 - 1 - nIndent;
        if (xl > xr) continue;
        if (nFromEdge == 0) {
            if (pen) Span(xl, xr, y, *pen);
            continue;
        }
        Span(xl + 1, xr - 1, y, crBrush);
        if (pen) {
            SetPixel(xl, y, *pen);
            SetPixel(xr, y, *pen);
        }
    }
}

void CRasterCanvas::FocusRect(int x1, int y1, int x2, int y2) {
    if (x2 <= x1 || y2 <= y1) return;
    auto dot = [this](int x, int y) {
        if ((x + y) % 2 == 0) InvertPixel(x, y);
    };
    // Each frame pixel is visited once, so corners are not inverted twice.
    for (int x = x1; x < x2; ++x) {
        dot(x, y1);
        if (y2 - 1 != y1) dot(x, y2 - 1);
    }
    for (int y = y1 + 1; y < y2 - 1; ++y) {
        dot(x1, y);
        if (x2 - 1 != x1) dot(x2 - 1, y);
    }
}
