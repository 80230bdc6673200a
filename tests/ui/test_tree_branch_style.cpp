#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QStyleOption>
#include <string>

#include "ui/TreeBranchStyle.h"

namespace {

const QRgb kBase = qRgb(255, 255, 255);
const QRgb kLine = qRgb(128, 128, 128);
const QRgb kSign = qRgb(0, 0, 0);

// One 13 x 13 indentation cell: its middle is (6, 6); a button covers 2..10.
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
    CTreeBranchStyle().drawPrimitive(QStyle::PE_IndicatorBranch, &option, &painter);
    return image;
}

}  // namespace

// Arms are read at the cell's edges: a dotted line has exactly one dot in
// any two neighbouring pixels.
TEST(TreeBranchStyle, LinesJoinItemsToParentAndSiblings) {
    using S = QStyle::StateFlag;
    struct Case {
        const char* name;
        QStyle::State state;
        const char* arms;       // up, down, right: 1 where a line runs
        QRgb crBox, crPlusBar;  // at the button's corner and above its middle (0: none)
    };
    const Case kCases[] = {
        {"last child", S::State_Item, "101", kBase, 0},
        {"ancestor's level with a later sibling", S::State_Sibling, "110", kBase, 0},
        {"open parent with a later sibling",
         S::State_Item | S::State_Children | S::State_Open | S::State_Sibling, "111", kLine, kBase},
        {"closed last parent", S::State_Item | S::State_Children, "101", kLine, kSign},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        const QImage image = Branch(c.state);
        const auto Arm = [&](int x1, int y1, int x2, int y2) {
            return (image.pixel(x1, y1) == kLine) != (image.pixel(x2, y2) == kLine) ? '1' : '0';
        };
        EXPECT_EQ(std::string({Arm(6, 0, 6, 1), Arm(6, 11, 6, 12), Arm(11, 6, 12, 6)}), c.arms);
        EXPECT_EQ(image.pixel(2, 2), c.crBox);
        if (c.crPlusBar != 0) {
            EXPECT_EQ(image.pixel(6, 4), c.crPlusBar);
        }
    }
}
