#include "app/Resources.h"

#include <QPainter>
#include <QPixmap>

namespace {

// Drawn on a 32-unit grid and scaled, so both sizes share one picture.
QPixmap DrawIcon(int nSize) {
    QPixmap pixmap(nSize, nSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(nSize / 32.0, nSize / 32.0);
    painter.setPen(QPen(QColor(0x1F, 0x3A, 0x68), 1.5));
    painter.setBrush(QColor(0x3C, 0x78, 0xC8));
    painter.drawRoundedRect(QRectF(1, 1, 30, 30), 6, 6);
    painter.setPen(QPen(Qt::white, 2.0));
    painter.drawLine(QPointF(9, 9), QPointF(9, 24));
    painter.drawLine(QPointF(9, 15), QPointF(15, 15));
    painter.drawLine(QPointF(9, 24), QPointF(15, 24));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(5, 5, 8, 6));
    painter.drawRect(QRectF(16, 12, 11, 6));
    painter.drawRect(QRectF(16, 21, 11, 6));
    return pixmap;
}

}  // namespace

QIcon AppIcon() {
    QIcon icon;
    icon.addPixmap(DrawIcon(16));
    icon.addPixmap(DrawIcon(32));
    return icon;
}
