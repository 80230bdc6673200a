#pragma once
#include <QProxyStyle>

// The branches of a classic tree view with lines and buttons: dotted lines
// join each item to its parent and its siblings (also at the root), and an
// item with children has a boxed "+" or "-". Everything else is drawn by the
// style it stands in front of.
class CTreeBranchStyle : public QProxyStyle {
    Q_OBJECT
public:
    using QProxyStyle::QProxyStyle;

    void drawPrimitive(PrimitiveElement element, const QStyleOption* pOption, QPainter* pPainter,
                       const QWidget* pWidget = nullptr) const override;
};
