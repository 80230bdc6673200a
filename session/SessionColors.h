#pragma once
#include <QColor>
#include <QPalette>

#include "io/SessionIndex.h"

// Colours of the message list, mixed from the palette so that a dark
// palette keeps its contrast: a status tints the row's background a quarter
// of the way towards its hue; a direction tints the text half way.

// Invalid for a status that needs no colour (answered, none).
QColor StatusBackground(EMsgStatus eStatus, const QPalette& palette);
QColor DirectionForeground(EMsgDirection eDirection, const QPalette& palette);
// a + (b - a) * nPercent / 100, per channel.
QColor MixColors(const QColor& a, const QColor& b, int nPercent);
