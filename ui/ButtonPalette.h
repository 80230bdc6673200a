#pragma once
#include <QPalette>
#include <QRgb>

// The Windows system colour indices the button reads; Qt has no such
// indices, so GetSysColor maps each to a palette role.
constexpr int COLOR_WINDOWFRAME = 6;
constexpr int COLOR_BTNFACE = 15;
constexpr int COLOR_BTNSHADOW = 16;
constexpr int COLOR_BTNHIGHLIGHT = 20;
constexpr int COLOR_3DDKSHADOW = 21;
constexpr int COLOR_3DLIGHT = 22;

// The colour of a system colour index in the palette's active group, opaque.
// An index without a mapping gives black.
QRgb GetSysColor(const QPalette& palette, int nIndex);

// Channel-wise floor((a + b) / 2) of red, green and blue; the result is opaque.
QRgb MidColor(QRgb a, QRgb b);
