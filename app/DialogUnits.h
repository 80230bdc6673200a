#pragma once
#include <QFont>
#include <QRect>
#include <QSize>

// Dialog templates measure in dialog units: a quarter of the font's average
// character width across, an eighth of its height down. The average width is
// that of "A".."Z" "a".."z" divided by 52, rounded, as Windows computes it.
class CDialogUnits {
public:
    explicit CDialogUnits(const QFont& font);
    QRect ToPixels(int x, int y, int cx, int cy) const;
    QSize ToPixels(int cx, int cy) const;

    int m_nBaseX = 0;  // pixels per 4 horizontal units
    int m_nBaseY = 0;  // pixels per 8 vertical units
};

// The dialogs' font: Tahoma (Debian's fonts-wine ships one outside
// fontconfig's search path), else the desktop's sans-serif, at nPoints.
QFont DialogFont(int nPoints);
