#pragma once
#include <QIcon>

// The program's icon, drawn at 16 and 32 pixels: a small message tree on a
// rounded tile. Drawn rather than loaded, so the static library needs no
// resource initialisation.
QIcon AppIcon();
