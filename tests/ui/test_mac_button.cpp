#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>
#include <cmath>
#include <set>
#include <utility>

#include "PixelArt.h"
#include "ui/ButtonPalette.h"
#include "ui/MacButton.h"

namespace {

constexpr unsigned kUp = 0;
constexpr unsigned kDown = CMacButton::ODS_SELECTED;
constexpr unsigned kDisabled = CMacButton::ODS_DISABLED;
constexpr unsigned kFocus = CMacButton::ODS_FOCUS;

// Worked colours: face 240, shadow 160 and dark shadow 105 give half-shadow
// 200 and half-dark 132. Every colour is distinct, so a pixel names its source.
const QRgb kHighlight = qRgb(255, 255, 255);
const QRgb kLight = qRgb(227, 227, 227);
const QRgb kFace = qRgb(240, 240, 240);
const QRgb kShadow = qRgb(160, 160, 160);
const QRgb kDarkShadow = qRgb(105, 105, 105);
const QRgb kFrame = qRgb(0, 0, 128);
const QRgb kHalfShadow = qRgb(200, 200, 200);
const QRgb kHalfDark = qRgb(132, 132, 132);
const QRgb kBlack = qRgb(0, 0, 0);

const ColorLetters kLetters = {
    {kHighlight, 'H'},  {kLight, 'L'},    {kFace, 'F'},  {kShadow, 'S'}, {kDarkShadow, 'D'},
    {kHalfShadow, 's'}, {kHalfDark, 'd'}, {kFrame, 'W'}, {kBlack, 'k'},
};

QPalette TestPalette(QRgb crFace, QRgb crShadow, QRgb crDarkShadow) {
    QPalette pal;
    pal.setColor(QPalette::Light, kHighlight);
    pal.setColor(QPalette::Midlight, kLight);
    pal.setColor(QPalette::Button, crFace);
    pal.setColor(QPalette::Dark, crShadow);
    pal.setColor(QPalette::Shadow, crDarkShadow);
    pal.setColor(QPalette::WindowText, kFrame);
    return pal;
}

QImage Render(const CMacButton& button, int w, int h, unsigned nState) {
    QImage image(w, h, QImage::Format_RGB32);
    button.ComposeItem(image, nState);
    return image;
}

struct MidCase {
    const char* name;
    QRgb a, b, mid;
};

const MidCase kMidCases[] = {
    {"worked half-shadow", qRgb(240, 240, 240), qRgb(160, 160, 160), qRgb(200, 200, 200)},
    {"worked half-dark", qRgb(160, 160, 160), qRgb(105, 105, 105), qRgb(132, 132, 132)},
    {"classic half-shadow", qRgb(192, 192, 192), qRgb(128, 128, 128), qRgb(160, 160, 160)},
    {"classic half-dark", qRgb(128, 128, 128), qRgb(0, 0, 0), qRgb(64, 64, 64)},
    {"odd sums round down", qRgb(241, 240, 239), qRgb(160, 161, 160), qRgb(200, 200, 199)},
    {"equal colours", qRgb(17, 99, 180), qRgb(17, 99, 180), qRgb(17, 99, 180)},
    {"channels stay apart", qRgb(255, 0, 1), qRgb(0, 255, 254), qRgb(127, 127, 127)},
    {"transparency is ignored", qRgba(10, 20, 30, 0), qRgba(20, 30, 40, 7), qRgb(15, 25, 35)},
};

TEST(ButtonPalette, MidColor) {
    for (const MidCase& c : kMidCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(MidColor(c.a, c.b), c.mid);
        EXPECT_EQ(MidColor(c.b, c.a), c.mid);
    }
}

// Every pixel of a 12 x 9 button, worked out by hand from the drawing steps.
struct FaceCase {
    const char* name;
    unsigned nState;
    std::string art;
};

const FaceCase kFaceCases[] = {
    {"up", kUp,
     Art({"FFdWWWWWWdFF",  //
          "FWsFFFFFFsWF",  //
          "dsHHHHHHHFsd",  //
          "WFHHFFFFFsSW",  //
          "WFHFFFFFFsSW",  //
          "WFHFFFFFssSW",  //
          "dsFssssssSSd",  //
          "FWsSSSSSSSWF",  //
          "FFdWWWWWWdFF"})},
    {"pressed", kDown,
     Art({"FFdWWWWWWdFF",  //
          "FWdddddddSWF",  //
          "dddSSSSSSsFd",  //
          "WdSSsssssFLW",  //
          "WdSssssssFLW",  //
          "WdSsssssFFLW",  //
          "dSsFFFFFFLsd",  //
          "FWFLLLLLLsWF",  //
          "FFdWWWWWWdFF"})},
    {"disabled", kDisabled,
     Art({"FFSSSSSSSSFF",  //
          "FSFFFFFFFFSF",  //
          "SFFFFFFFFFFS",  //
          "SFFFFFFFFFFS",  //
          "SFFFFFFFFFFS",  //
          "SFFFFFFFFFFS",  //
          "SFFFFFFFFFFS",  //
          "FSFFFFFFFFSF",  //
          "FFSSSSSSSSFF"})},
    {"disabled and pressed keeps the darker fill", kDisabled | kDown,
     Art({"FFSSSSSSSSFF",  //
          "FSssssssssSF",  //
          "SssssssssssS",  //
          "SssssssssssS",  //
          "SssssssssssS",  //
          "SssssssssssS",  //
          "SssssssssssS",  //
          "FSssssssssSF",  //
          "FFSSSSSSSSFF"})},
};

class MacButtonTest : public testing::Test {
protected:
    void SetUp() override { m_button.setPalette(TestPalette(kFace, kShadow, kDarkShadow)); }
    CMacButton m_button;
};

TEST_F(MacButtonTest, FaceOfEachState) {
    for (const FaceCase& c : kFaceCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(PixelArt(Render(m_button, 12, 9, c.nState), kLetters), c.art);
    }
}

// A pixel placed relative to the nearer edges, so one table serves every size.
struct Spot {
    const char* name;
    unsigned nState;
    bool bFromRight;
    int x;
    bool bFromBottom;
    int y;
    char color;
};

constexpr bool l = false, r = true, t = false, b = true;

const Spot kSpots[] = {
    {"shoulder beside top left", kUp, l, 0, t, 2, 'd'},
    {"shoulder below top right", kUp, r, -3, t, 0, 'd'},
    {"shoulder above bottom left", kDown, l, 2, b, -1, 'd'},
    {"shoulder beside bottom right", kDown, r, -1, b, -3, 'd'},
    {"no shoulder when disabled", kDisabled, l, 0, t, 2, 'S'},
    {"outside the corner", kDown, r, -1, b, -1, 'F'},
    {"highlight end is not painted", kUp, r, -3, t, 2, 'F'},
    {"highlight last point", kUp, r, -4, t, 2, 'H'},
    {"half-shadow step", kUp, r, -4, b, -4, 's'},
    {"shadow up the right", kUp, r, -2, t, 3, 'S'},
    {"half-dark along the top", kDown, r, -4, t, 1, 'd'},
    {"half-dark end replaced by shadow", kDown, r, -3, t, 1, 'S'},
    {"light diagonal", kDown, r, -3, b, -3, 'L'},
    {"light end replaced by face", kDown, r, -2, t, 2, 'F'},
    {"pressed fill", kDown, l, 5, t, 4, 's'},
};

TEST_F(MacButtonTest, BevelPixelsAtEverySize) {
    const std::pair<int, int> kSizes[] = {{12, 9}, {75, 23}, {40, 14}, {201, 31}};
    for (auto [w, h] : kSizes) {
        for (const Spot& s : kSpots) {
            SCOPED_TRACE(testing::Message() << w << " x " << h << ": " << s.name);
            const QImage image = Render(m_button, w, h, s.nState);
            const int x = s.bFromRight ? w + s.x : s.x;
            const int y = s.bFromBottom ? h + s.y : s.y;
            EXPECT_EQ(PixelArt(image.copy(x, y, 1, 1), kLetters), std::string(1, s.color) + '\n');
        }
    }
}

TEST_F(MacButtonTest, FocusFrameFourPixelsInside) {
    const int w = 30, h = 14;
    for (unsigned nState : {kUp, kDown}) {
        SCOPED_TRACE(nState == kUp ? "up" : "pressed");
        const QImage plain = Render(m_button, w, h, nState);
        const QImage focused = Render(m_button, w, h, nState | kFocus);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const bool bOnFrame = (x == 4 || x == w - 5 || y == 4 || y == h - 5) && x >= 4 &&
                                      x <= w - 5 && y >= 4 && y <= h - 5;
                const QRgb crExpected = bOnFrame && (x + y) % 2 == 0
                                            ? plain.pixel(x, y) ^ 0x00FFFFFFu
                                            : plain.pixel(x, y);
                EXPECT_EQ(focused.pixel(x, y), crExpected) << x << "," << y;
            }
        }
    }
}

// Run under AddressSanitizer: no size or state may write outside the image.
TEST_F(MacButtonTest, TinyButtonsStayInBounds) {
    m_button.setText(QStringLiteral("Save As Text File"));
    for (int w = 0; w <= 9; ++w) {
        for (int h = 0; h <= 9; ++h) {
            for (unsigned nState : {kUp, kDown, kDisabled, kDown | kFocus}) {
                const QImage image = Render(m_button, w, h, nState);
                EXPECT_EQ(image.width() * image.height(), w * h);
            }
        }
    }
}

struct CaptionCase {
    const char* name;
    unsigned nState;
    int nWidthOverCaption;
    int nHeightOverCaption;
    QRgb crText;
};

const CaptionCase kCaptionCases[] = {
    {"up: black, not the button-text colour", kUp, 20, 8, kBlack},
    {"pressed: highlight, same place", kDown, 21, 9, kHighlight},
    {"disabled: shadow", kDisabled, 20, 9, kShadow},
    {"disabled and pressed: shadow", kDisabled | kDown, 21, 8, kShadow},
    {"wider than the button by 7 starts at -4", kUp, -7, 8, kBlack},
    {"wider by 8 starts at -4", kDown, -8, 8, kHighlight},
    {"taller than the button", kUp, 10, -3, kBlack},
};

// The pixels of colour cr inside the bevel, where only the caption can use it.
std::set<std::pair<int, int>> Ink(const QImage& image, QRgb cr) {
    std::set<std::pair<int, int>> ink;
    for (int y = 2; y < image.height() - 2; ++y)
        for (int x = 3; x < image.width() - 3; ++x)
            if (image.pixel(x, y) == cr) ink.insert({x, y});
    return ink;
}

TEST_F(MacButtonTest, CaptionColourAndPosition) {
    const QString strCaption = QStringLiteral("Save As Text File");
    m_button.setText(strCaption);
    QFont font = m_button.font();
    font.setStyleStrategy(QFont::NoAntialias);
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setKerning(false);
    const QFontMetrics metrics(font);
    const int cx = metrics.size(Qt::TextShowMnemonic, strCaption).width();
    const int cy = metrics.height();
    for (const CaptionCase& c : kCaptionCases) {
        SCOPED_TRACE(c.name);
        const int w = cx + c.nWidthOverCaption;
        const int h = cy + c.nHeightOverCaption;
        const QImage image = Render(m_button, w, h, c.nState);

        QImage reference(w, h, QImage::Format_RGB32);
        reference.fill(kFace);
        QPainter painter(&reference);
        painter.setFont(font);
        painter.setPen(QColor(c.crText));
        const int left = static_cast<int>(std::floor((w - cx) / 2.0));
        const int top = static_cast<int>(std::floor((h - cy) / 2.0));
        painter.drawText(QPoint(left, top + metrics.ascent()), strCaption);
        painter.end();

        const auto ink = Ink(image, c.crText);
        EXPECT_GT(ink.size(), 20u);
        EXPECT_EQ(ink, Ink(reference, c.crText));
        EXPECT_EQ(PixelArt(image, kLetters).find('?'), std::string::npos)
            << "no blended pixels: the caption is drawn without antialiasing";
    }
}

// Copies of one stem letter stand at one whole-pixel pitch. Glyph positions
// rounded one by one from fractional advances would alternate the gaps.
TEST_F(MacButtonTest, CaptionLettersStandAtAnEvenPitch) {
    for (int nPixels : {11, 13, 15, 17}) {
        SCOPED_TRACE(nPixels);
        QFont font = m_button.font();
        font.setPixelSize(nPixels);
        m_button.setFont(font);
        m_button.setText(QStringLiteral("llllllllllll"));
        const QImage image = Render(m_button, 120, nPixels + 10, kUp);
        std::set<int> pitches;
        int nStems = 0, nLastStart = 0;
        bool bInStem = false;
        for (int x = 3; x < image.width() - 3; ++x) {
            bool bInk = false;
            for (int y = 2; y < image.height() - 2; ++y) bInk = bInk || image.pixel(x, y) == kBlack;
            if (bInk && !bInStem && nStems++ > 0) pitches.insert(x - nLastStart);
            if (bInk && !bInStem) nLastStart = x;
            bInStem = bInk;
        }
        EXPECT_EQ(nStems, 12);
        EXPECT_EQ(pitches.size(), 1u);
    }
}

TEST_F(MacButtonTest, PaletteChangeRebuildsColours) {
    EXPECT_EQ(Render(m_button, 12, 9, kDown).pixel(5, 4), kHalfShadow);
    m_button.setPalette(TestPalette(qRgb(192, 192, 192), qRgb(128, 128, 128), qRgb(0, 0, 0)));
    const QImage up = Render(m_button, 12, 9, kUp);
    const QImage down = Render(m_button, 12, 9, kDown);
    EXPECT_EQ(up.pixel(5, 4), qRgb(192, 192, 192)) << "face";
    EXPECT_EQ(up.pixel(0, 2), qRgb(64, 64, 64)) << "half-dark shoulder";
    EXPECT_EQ(up.pixel(3, 9 - 3), qRgb(160, 160, 160)) << "half-shadow pen";
    EXPECT_EQ(down.pixel(5, 4), qRgb(160, 160, 160)) << "half-shadow fill";
    EXPECT_EQ(down.pixel(2, 9 - 4), qRgb(128, 128, 128)) << "shadow pen";
}

TEST(MacButton, ApplicationPaletteChangeRebuildsColours) {
    const QPalette previous = QApplication::palette();
    CMacButton button;
    QApplication::setPalette(TestPalette(qRgb(241, 240, 239), qRgb(160, 161, 160), kDarkShadow));
    QApplication::processEvents();
    const QImage down = Render(button, 12, 9, kDown);
    QApplication::setPalette(previous);
    EXPECT_EQ(down.pixel(5, 4), qRgb(200, 200, 199)) << "half-shadow fill";
    EXPECT_EQ(down.pixel(0, 0), qRgb(241, 240, 239)) << "face outside the corner";
}

struct ClickCase {
    const char* name;
    Qt::MouseButton button;
    const char* events;  // P press, R release, D double click
    int nClicks;
    int nPresses;
};

const ClickCase kClickCases[] = {
    {"double click as Qt delivers it", Qt::LeftButton, "PRPDR", 2, 2},
    {"double click without its own press", Qt::LeftButton, "PRDR", 2, 2},
    {"right double click does nothing", Qt::RightButton, "PRPDR", 0, 0},
};

TEST(MacButton, DoubleClickGivesTwoClicks) {
    for (const ClickCase& c : kClickCases) {
        SCOPED_TRACE(c.name);
        CMacButton button(QStringLiteral("Open"));
        button.resize(60, 20);
        int nClicks = 0, nPresses = 0;
        QObject::connect(&button, &QPushButton::clicked, [&] { ++nClicks; });
        QObject::connect(&button, &QPushButton::pressed, [&] { ++nPresses; });
        const QPointF pt(30, 10);
        for (const char* p = c.events; *p; ++p) {
            const QEvent::Type type = *p == 'P'   ? QEvent::MouseButtonPress
                                      : *p == 'D' ? QEvent::MouseButtonDblClick
                                                  : QEvent::MouseButtonRelease;
            const Qt::MouseButtons held = *p == 'R' ? Qt::NoButton : Qt::MouseButtons(c.button);
            QMouseEvent event(type, pt, button.mapToGlobal(pt), c.button, held, Qt::NoModifier);
            QApplication::sendEvent(&button, &event);
        }
        EXPECT_EQ(nClicks, c.nClicks);
        EXPECT_EQ(nPresses, c.nPresses);
        EXPECT_FALSE(button.isDown());
    }
}

TEST(MacButton, DoubleClickThroughTheWindowSystem) {
    CMacButton button(QStringLiteral("Open"));
    button.resize(60, 20);
    button.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&button));
    int nClicks = 0;
    QObject::connect(&button, &QPushButton::clicked, [&] { ++nClicks; });
    QTest::mouseDClick(button.windowHandle(), Qt::LeftButton, {}, QPoint(30, 10));
    EXPECT_EQ(nClicks, 2);
}

}  // namespace
