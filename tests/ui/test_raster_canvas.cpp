#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "PixelArt.h"
#include "ui/RasterCanvas.h"

namespace {

const QRgb kBack = qRgb(1, 2, 3);
const QRgb kPen = qRgb(200, 0, 0);
const QRgb kBrush = qRgb(0, 0, 200);
const ColorLetters kLetters = {{kBack, '.'}, {kPen, 'o'}, {kBrush, '#'}};

QImage Blank(int w, int h, QRgb cr = kBack) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(cr);
    return image;
}

struct RoundRectCase {
    const char* name;
    int w, h;
    int x1, y1, x2, y2;
    CPixelPen pen;
    std::string art;
};

const RoundRectCase kRoundRectCases[] = {
    {"6 x 6 corners inside the image", 10, 9, 1, 1, 9, 8, kPen,
     Art({"..........",  //
          "...oooo...",  //
          "..o####o..",  //
          ".o######o.",  //
          ".o######o.",  //
          ".o######o.",  //
          "..o####o..",  //
          "...oooo...",  //
          ".........."})},
    {"sticking out top left is clipped", 6, 5, -3, -2, 5, 4, kPen,
     Art({"####o.",  //
          "####o.",  //
          "###o..",  //
          "ooo...",  //
          "......"})},
    {"an empty pen leaves the outline alone", 8, 6, 0, 0, 8, 6, std::nullopt,
     Art({"........",  //
          "..####..",  //
          ".######.",  //
          ".######.",  //
          "..####..",  //
          "........"})},
};

TEST(RasterCanvas, RoundRect) {
    for (const RoundRectCase& c : kRoundRectCases) {
        SCOPED_TRACE(c.name);
        QImage image = Blank(c.w, c.h);
        CRasterCanvas(image).RoundRect(c.x1, c.y1, c.x2, c.y2, c.pen, kBrush);
        EXPECT_EQ(PixelArt(image, kLetters), c.art);
    }
}

TEST(RasterCanvas, SmallRoundRectStaysInsideItsRectangle) {
    for (int w = 0; w <= 7; ++w) {
        for (int h = 0; h <= 7; ++h) {
            SCOPED_TRACE(testing::Message() << w << " x " << h);
            QImage image = Blank(11, 11);
            CRasterCanvas(image).RoundRect(2, 2, 2 + w, 2 + h, kPen, kBrush);
            for (int y = 0; y < 11; ++y) {
                for (int x = 0; x < 11; ++x) {
                    const bool bInside = x >= 2 && x < 2 + w && y >= 2 && y < 2 + h;
                    if (!bInside) {
                        EXPECT_EQ(image.pixel(x, y), kBack) << x << "," << y;
                    }
                }
            }
        }
    }
}

struct PolylineCase {
    const char* name;
    int w, h;
    std::vector<QPoint> points;  // at most four, see below
    CPixelPen pen;
    std::string art;
};

// clang-format off
const PolylineCase kPolylineCases[] = {
    {"bends and a diagonal; the last point stays unpainted", 8, 6,
     {{1, 4}, {3, 4}, {5, 2}, {5, 0}}, kPen,
     Art({"........",
          ".....o..",
          ".....o..",
          "....o...",
          ".ooo....",
          "........"})},
    {"a line across the image is clipped at both ends", 8, 3, {{-2, 1}, {9, 1}}, kPen,
     Art({"........",
          "oooooooo",
          "........"})},
    {"a zero-length segment paints nothing", 4, 3, {{2, 1}, {2, 1}}, kPen,
     Art({"....",
          "....",
          "...."})},
};
// clang-format on

TEST(RasterCanvas, Polyline) {
    for (const PolylineCase& c : kPolylineCases) {
        SCOPED_TRACE(c.name);
        QImage image = Blank(c.w, c.h);
        CRasterCanvas dc(image);
        const std::vector<QPoint>& p = c.points;
        if (p.size() == 2) dc.Polyline({p[0], p[1]}, c.pen);
        if (p.size() == 4) dc.Polyline({p[0], p[1], p[2], p[3]}, c.pen);
        EXPECT_EQ(PixelArt(image, kLetters), c.art);
    }
}

TEST(RasterCanvas, FocusRectInvertsEverySecondFramePixel) {
    const QRgb kBlack = qRgb(0, 0, 0);
    const QRgb kWhite = qRgb(255, 255, 255);
    QImage image = Blank(8, 6, kBlack);
    CRasterCanvas dc(image);
    dc.FocusRect(1, 1, 7, 5);
    EXPECT_EQ(PixelArt(image, {{kBlack, '.'}, {kWhite, '#'}}),
              Art({"........",  //
                   ".#.#.#..",  //
                   "......#.",  //
                   ".#......",  //
                   "..#.#.#.",  //
                   "........"}));
    dc.FocusRect(1, 1, 7, 5);
    EXPECT_EQ(image, Blank(8, 6, kBlack)) << "exclusive-or undoes itself";
}

TEST(RasterCanvas, FocusRectInvertsColoursAndClips) {
    QImage image = Blank(4, 4, qRgb(240, 200, 16));
    CRasterCanvas(image).FocusRect(-2, -2, 6, 6);  // frame wholly outside
    EXPECT_EQ(image, Blank(4, 4, qRgb(240, 200, 16)));
    CRasterCanvas(image).FocusRect(0, 0, 4, 4);
    EXPECT_EQ(image.pixel(0, 0), qRgb(15, 55, 239));
    EXPECT_EQ(image.pixel(1, 0), qRgb(240, 200, 16));
}

}  // namespace
