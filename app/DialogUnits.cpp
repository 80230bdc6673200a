#include "app/DialogUnits.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QStringList>

namespace {

// Rounds like Win32 MulDiv: half away from zero.
int MulDiv(int n, int nNumerator, int nDenominator) {
    const long long p = static_cast<long long>(n) * nNumerator;
    const long long half = nDenominator / 2;
    return static_cast<int>(p >= 0 ? (p + half) / nDenominator : (p - half) / nDenominator);
}

const char* const kTahomaPaths[] = {
    "/usr/share/wine/fonts/tahoma.ttf",
    "/usr/lib/wine/fonts/tahoma.ttf",
    "/usr/share/fonts/truetype/wine/tahoma.ttf",
};

// Loaded once per process; an empty text when no Tahoma is to be had.
QString TahomaFamily() {
    static const QString strFamily = [] {
        for (const char* szPath : kTahomaPaths) {
            const int nId = QFontDatabase::addApplicationFont(QString::fromLatin1(szPath));
            if (nId < 0) continue;
            const QStringList families = QFontDatabase::applicationFontFamilies(nId);
            if (!families.isEmpty()) return families.front();
        }
        return QString();
    }();
    return strFamily;
}

}  // namespace

CDialogUnits::CDialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const int nWidth = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m_nBaseX = (nWidth / 26 + 1) / 2;
    m_nBaseY = metrics.height();
}

QRect CDialogUnits::ToPixels(int x, int y, int cx, int cy) const {
    return QRect(MulDiv(x, m_nBaseX, 4), MulDiv(y, m_nBaseY, 8), MulDiv(cx, m_nBaseX, 4),
                 MulDiv(cy, m_nBaseY, 8));
}

QSize CDialogUnits::ToPixels(int cx, int cy) const {
    return QSize(MulDiv(cx, m_nBaseX, 4), MulDiv(cy, m_nBaseY, 8));
}

QFont DialogFont(int nPoints) {
    const QString strTahoma = TahomaFamily();
    QFont font(strTahoma.isEmpty() ? QStringLiteral("Sans Serif") : strTahoma);
    if (strTahoma.isEmpty()) font.setStyleHint(QFont::SansSerif);
    font.setPointSize(nPoints);
    return font;
}
