#include "ui/ButtonPalette.h"

#include <QColor>

namespace {

struct SysColorRole {
    int nIndex;
    QPalette::ColorRole role;
};

// System colours are global and do not dim in inactive windows, hence the
// active group for all of them.
constexpr SysColorRole kSysColorRoles[] = {
    {COLOR_BTNHIGHLIGHT, QPalette::Light}, {COLOR_3DLIGHT, QPalette::Midlight},
    {COLOR_BTNFACE, QPalette::Button},     {COLOR_BTNSHADOW, QPalette::Dark},
    {COLOR_3DDKSHADOW, QPalette::Shadow},  {COLOR_WINDOWFRAME, QPalette::WindowText},
};

}  // namespace

QRgb GetSysColor(const QPalette& palette, int nIndex) {
    for (const SysColorRole& r : kSysColorRoles) {
        if (r.nIndex == nIndex) return palette.color(QPalette::Active, r.role).rgb();
    }
    return qRgb(0, 0, 0);
}

QRgb MidColor(QRgb a, QRgb b) {
    return qRgb((qRed(a) + qRed(b)) / 2, (qGreen(a) + qGreen(b)) / 2, (qBlue(a) + qBlue(b)) / 2);
}
