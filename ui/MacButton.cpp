#include "ui/MacButton.h"

#include <QEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

#include "ui/ButtonPalette.h"

namespace {

// floor(n / 2), also for negative n (a caption wider than the button).
int FloorHalf(int n) { return n >= 0 ? n / 2 : -((1 - n) / 2); }

}  // namespace

CMacButton::CMacButton(QWidget* pParent) : CMacButton(QString(), pParent) {}

CMacButton::CMacButton(const QString& strCaption, QWidget* pParent)
    : QPushButton(strCaption, pParent) {
    // Every pixel is ours: Qt need not clear the background first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    UpdateColors();
    CreatePens();
}

CMacButton::~CMacButton() { DeletePens(); }

void CMacButton::UpdateColors() {
    const QPalette& pal = palette();
    m_crHighlight = GetSysColor(pal, COLOR_BTNHIGHLIGHT);
    m_crLight = GetSysColor(pal, COLOR_3DLIGHT);
    m_crFace = GetSysColor(pal, COLOR_BTNFACE);
    m_crShadow = GetSysColor(pal, COLOR_BTNSHADOW);
    m_crDarkShadow = GetSysColor(pal, COLOR_3DDKSHADOW);
    m_crHalfShadow = MidColor(m_crFace, m_crShadow);
    m_crHalfDark = MidColor(m_crShadow, m_crDarkShadow);
}

void CMacButton::CreatePens() {
    DeletePens();
    m_penFace = m_crFace;
    m_penLight = m_crLight;
    m_penHalfShadow = m_crHalfShadow;
    m_penShadow = m_crShadow;
    m_penDarkShadow = m_crDarkShadow;
    m_penHighlight = m_crHighlight;
    m_penHalfDark = m_crHalfDark;
}

void CMacButton::DeletePens() {
    for (CPixelPen* pPen : {&m_penHighlight, &m_penFace, &m_penLight, &m_penHalfShadow,
                            &m_penShadow, &m_penDarkShadow, &m_penHalfDark})
        pPen->reset();
}

unsigned CMacButton::ItemState() const {
    unsigned nState = 0;
    if (isDown()) nState |= ODS_SELECTED;
    if (!isEnabled()) nState |= ODS_DISABLED;
    if (hasFocus()) nState |= ODS_FOCUS;
    return nState;
}

void CMacButton::ComposeItem(QImage& image, unsigned nState) const {
    if (image.isNull()) return;
    // The canvas writes 32-bit pixels; any other format would be misread.
    if (image.format() != QImage::Format_RGB32) image = image.convertToFormat(QImage::Format_RGB32);
    const CItemRect rc{0, 0, image.width(), image.height()};
    image.fill(m_crFace);
    CRasterCanvas dc(image);
    DrawFace(dc, rc, nState);
    DrawCaption(image, rc, nState);
    if (nState & ODS_FOCUS) dc.FocusRect(rc.nLeft + 4, rc.nTop + 4, rc.nRight - 4, rc.nBottom - 4);
}

void CMacButton::DrawItem(QPainter& target, unsigned nState) const {
    if (width() <= 0 || height() <= 0) return;
    QImage image(size(), QImage::Format_RGB32);
    ComposeItem(image, nState);
    // One plain copy, so the screen never shows a half-drawn face.
    target.setCompositionMode(QPainter::CompositionMode_Source);
    target.drawImage(0, 0, image);
}

void CMacButton::paintEvent(QPaintEvent*) {
    QPainter target(this);
    DrawItem(target, ItemState());
}

void CMacButton::changeEvent(QEvent* pEvent) {
    QPushButton::changeEvent(pEvent);
    // The system colour change: the new colours show with the next paint.
    if (pEvent->type() == QEvent::PaletteChange ||
        pEvent->type() == QEvent::ApplicationPaletteChange) {
        UpdateColors();
        CreatePens();
    }
}

// Qt delivers the second press of a double click as a press before this
// event; where it did not, the double click itself presses the button, so the
// release always gives a second click.
void CMacButton::mouseDoubleClickEvent(QMouseEvent* pEvent) {
    if (pEvent->button() != Qt::LeftButton) {
        QPushButton::mouseDoubleClickEvent(pEvent);
        return;
    }
    if (isDown()) {
        pEvent->accept();
        return;
    }
    QMouseEvent press(QEvent::MouseButtonPress, pEvent->position(), pEvent->scenePosition(),
                      pEvent->globalPosition(), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier,
                      pEvent->pointingDevice());
    mousePressEvent(&press);
    pEvent->setAccepted(press.isAccepted());
}

void CMacButton::DrawFace(CRasterCanvas& dc, const CItemRect& rc, unsigned nState) const {
    const QRgb crBrush = (nState & ODS_SELECTED) ? m_crHalfShadow : m_crFace;
    // The outline colour is not part of the palette: read it on every paint.
    const CPixelPen penFrame = GetSysColor(palette(), COLOR_WINDOWFRAME);
    if (nState & ODS_DISABLED) {
        dc.RoundRect(rc.nLeft, rc.nTop, rc.nRight, rc.nBottom, m_penShadow, crBrush);
        return;
    }
    if (nState & ODS_SELECTED)
        DrawFaceDown(dc, rc, penFrame, crBrush);
    else
        DrawFaceUp(dc, rc, penFrame, crBrush);
}

void CMacButton::DrawFaceUp(CRasterCanvas& dc, const CItemRect& rc, const CPixelPen& penFrame,
                            QRgb crBrush) const {
    const int L = rc.nLeft, T = rc.nTop, R = rc.nRight, B = rc.nBottom;
    dc.RoundRect(L, T, R, B, penFrame, crBrush);
    dc.Polyline({{L + 2, B - 4}, {L + 2, T + 2}, {R - 3, T + 2}}, m_penHighlight);
    dc.SetPixel(L + 3, T + 3, m_crHighlight);
    dc.Polyline({{L + 3, B - 3}, {R - 4, B - 3}, {R - 4, B - 4}, {R - 3, B - 4}, {R - 3, T + 2}},
                m_penHalfShadow);
    dc.Polyline({{L + 3, B - 2}, {R - 3, B - 2}, {R - 3, B - 3}, {R - 2, B - 3}, {R - 2, T + 2}},
                m_penShadow);
    for (QPoint pt : {QPoint(L + 1, T + 2), QPoint(L + 2, T + 1), QPoint(R - 3, T + 1),
                      QPoint(R - 2, T + 2), QPoint(L + 2, B - 2), QPoint(L + 1, B - 3)})
        dc.SetPixel(pt.x(), pt.y(), m_crHalfShadow);
    DrawShoulderPixels(dc, rc);
}

void CMacButton::DrawFaceDown(CRasterCanvas& dc, const CItemRect& rc, const CPixelPen& penFrame,
                              QRgb crBrush) const {
    const int L = rc.nLeft, T = rc.nTop, R = rc.nRight, B = rc.nBottom;
    dc.RoundRect(L, T, R, B, penFrame, crBrush);
    dc.Polyline({{L + 1, B - 4}, {L + 1, T + 2}, {L + 2, T + 2}, {L + 2, T + 1}, {R - 3, T + 1}},
                m_penHalfDark);
    dc.Polyline({{L + 2, B - 4}, {L + 2, T + 3}, {L + 3, T + 3}, {L + 3, T + 2}, {R - 3, T + 2}},
                m_penShadow);
    dc.Polyline({{L + 3, B - 2}, {R - 4, B - 2}, {R - 2, B - 4}, {R - 2, T + 2}}, m_penLight);
    dc.Polyline({{L + 3, B - 3}, {R - 4, B - 3}, {R - 4, B - 4}, {R - 3, B - 4}, {R - 3, T + 2}},
                m_penFace);
    dc.SetPixel(R - 2, T + 2, m_crFace);
    dc.SetPixel(L + 2, B - 2, m_crFace);
    dc.SetPixel(R - 3, T + 1, m_crShadow);
    dc.SetPixel(L + 1, B - 3, m_crShadow);
    DrawShoulderPixels(dc, rc);
}

void CMacButton::DrawShoulderPixels(CRasterCanvas& dc, const CItemRect& rc) const {
    const int L = rc.nLeft, T = rc.nTop, R = rc.nRight, B = rc.nBottom;
    for (QPoint pt :
         {QPoint(L, T + 2), QPoint(L + 2, T), QPoint(R - 3, T), QPoint(R - 1, T + 2),
          QPoint(R - 1, B - 3), QPoint(R - 3, B - 1), QPoint(L + 2, B - 1), QPoint(L, B - 3)})
        dc.SetPixel(pt.x(), pt.y(), m_crHalfDark);
}

void CMacButton::DrawCaption(QImage& image, const CItemRect& rc, unsigned nState) const {
    // Whole-pixel advances and no kerning pairs: without them each glyph's
    // fractional position is rounded on its own and the gaps vary by a pixel
    // ("Open Fol der"), which a 1-bit font shows plainly.
    QFont fontCaption = font();
    fontCaption.setStyleStrategy(QFont::NoAntialias);
    fontCaption.setHintingPreference(QFont::PreferFullHinting);
    fontCaption.setKerning(false);
    const QString strCaption = text();
    // Measured as shown ('&' marks a mnemonic), so that the left-aligned text
    // starts exactly at the floor-centred left edge.
    const QFontMetrics metrics(fontCaption);
    const int cx = metrics.size(Qt::TextShowMnemonic, strCaption).width();
    const int cy = metrics.height();
    const QRect rcText(rc.nLeft + FloorHalf(rc.nRight - rc.nLeft - cx),
                       rc.nTop + FloorHalf(rc.nBottom - rc.nTop - cy), cx, cy);

    QRgb crText = qRgb(0, 0, 0);
    if (nState & ODS_DISABLED)
        crText = m_crShadow;
    else if (nState & ODS_SELECTED)
        crText = m_crHighlight;

    QPainter dc(&image);
    dc.setRenderHint(QPainter::TextAntialiasing, false);
    dc.setFont(fontCaption);
    dc.setPen(QColor(crText));
    // No background box: the caption lies on the face as drawn.
    dc.drawText(rcText, Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic | Qt::TextDontClip,
                strCaption);
}
