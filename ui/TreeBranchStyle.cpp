#include "ui/TreeBranchStyle.h"

#include <QPainter>
#include <QStyleOption>

namespace {

constexpr int kBox = 9;  // the expand button, outline included

// Every second pixel of a checkerboard fixed to the device, so that the
// pieces drawn cell by cell join into one even dotted line.
void Dotted(QPainter& painter, const QRect& rect, const QColor& cr) {
    if (rect.width() > 0 && rect.height() > 0)
        painter.fillRect(rect, QBrush(cr, Qt::Dense4Pattern));
}

void DrawButton(QPainter& painter, const QRect& box, bool bOpen, const QPalette& pal) {
    painter.fillRect(box, pal.base());
    painter.setPen(pal.color(QPalette::Dark));
    painter.drawRect(box.adjusted(0, 0, -1, -1));  // an aliased outline is one pixel larger
    painter.setPen(pal.color(QPalette::Text));
    const QPoint mid = box.center();
    painter.drawLine(box.left() + 2, mid.y(), box.right() - 2, mid.y());
    if (!bOpen) painter.drawLine(mid.x(), box.top() + 2, mid.x(), box.bottom() - 2);
}

}  // namespace

// One cell of the indentation: State_Item on the item's own level (arm to
// the item), State_Sibling where a later sibling follows below, both on the
// levels of the ancestors that have one.
void CTreeBranchStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* pOption,
                                     QPainter* pPainter, const QWidget* pWidget) const {
    if (element != PE_IndicatorBranch) {
        QProxyStyle::drawPrimitive(element, pOption, pPainter, pWidget);
        return;
    }
    const QRect& rc = pOption->rect;
    const State state = pOption->state;
    const QColor crLine = pOption->palette.color(QPalette::Dark);
    const int xMid = rc.left() + rc.width() / 2;
    const int yMid = rc.top() + rc.height() / 2;
    // With a button, the lines end at its outline.
    const bool bButton = state & State_Children;
    const int yUpEnd = yMid - (bButton ? kBox / 2 : 0);
    const int nAfter = bButton ? kBox / 2 + 1 : 0;
    pPainter->save();
    pPainter->setRenderHint(QPainter::Antialiasing, false);
    if (state & (State_Item | State_Sibling))
        Dotted(*pPainter, QRect(xMid, rc.top(), 1, yUpEnd - rc.top()), crLine);
    if (state & State_Sibling)
        Dotted(*pPainter, QRect(xMid, yMid + nAfter, 1, rc.bottom() + 1 - yMid - nAfter), crLine);
    if (state & State_Item)
        Dotted(*pPainter, QRect(xMid + nAfter, yMid, rc.right() + 1 - xMid - nAfter, 1), crLine);
    if (bButton)
        DrawButton(*pPainter, QRect(xMid - kBox / 2, yMid - kBox / 2, kBox, kBox),
                   state & State_Open, pOption->palette);
    pPainter->restore();
}
