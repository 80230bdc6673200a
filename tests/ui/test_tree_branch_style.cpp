#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QStyleOption>

#include "ui/TreeBranchStyle.h"

namespace {

const QRgb kBase = qRgb(255, 255, 255);
const QRgb kLine = qRgb(128, 128, 128);
const QRgb kSign = qRgb(0, 0, 0);

// One 13 x 13 indentation cell: its middle is (6, 6) and a button covers
// columns and rows 2..10.
QImage Branch(QStyle::State state) {
    QStyleOption option;
    option.rect = QRect(0, 0, 13, 13);
    option.state = state;
    option.palette.setColor(QPalette::Base, kBase);
    option.palette.setColor(QPalette::Dark, kLine);
    option.palette.setColor(QPalette::Text, kSign);
    QImage image(13, 13, QImage::Format_RGB32);
    image.fill(kBase);
    QPainter painter(&image);
    CTreeBranchStyle style;
    style.drawPrimitive(QStyle::PE_IndicatorBranch, &option, &painter);
    return image;
}

// A dotted arm through the two pixels: exactly one of them is a line dot.
bool Arm(const QImage& image, QPoint a, QPoint b) {
    return (image.pixel(a) == kLine) != (image.pixel(b) == kLine);
}

}  // namespace

TEST(TreeBranchStyle, LinesJoinItemsToParentAndSiblings) {
    using S = QStyle::StateFlag;
    struct Case {
        const char* name;
        QStyle::State state;
        bool bUp, bDown, bRight, bButton;
        QRgb crPlusBar;  // the pixel of the vertical bar of "+" inside the button
    };
    const Case kCases[] = {
        {"last child", S::State_Item, true, false, true, false, kLine},
        {"child with a later sibling", S::State_Item | S::State_Sibling, true, true, true, false,
         kLine},
        {"level of an ancestor with a later sibling", S::State_Sibling, true, true, false, false,
         kLine},
        {"level with nothing left to join", S::State_None, false, false, false, false, kBase},
        {"open parent with a later sibling",
         S::State_Item | S::State_Children | S::State_Open | S::State_Sibling, true, true, true,
         true, kBase},
        {"closed last parent", S::State_Item | S::State_Children, true, false, true, true, kSign},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        const QImage image = Branch(c.state);
        EXPECT_EQ(Arm(image, {6, 0}, {6, 1}), c.bUp);
        EXPECT_EQ(Arm(image, {6, 11}, {6, 12}), c.bDown);
        EXPECT_EQ(Arm(image, {11, 6}, {12, 6}), c.bRight);
        EXPECT_EQ(image.pixel(2, 2) == kLine && image.pixel(10, 10) == kLine, c.bButton);
        if (!c.bButton) continue;
        EXPECT_EQ(image.pixel(4, 6), kSign) << "minus";
        EXPECT_EQ(image.pixel(6, 4), c.crPlusBar);
    }
}
