#pragma once
#include <QPushButton>

#include "ui/RasterCanvas.h"

class QPainter;

// The dialogs' push button: Qt's button behaviour (press on mouse down, click
// on release, focus, Space, default button) with a rounded, bevelled face of
// its own in colours derived from the palette. Every instance looks the same.
class CMacButton : public QPushButton {
    Q_OBJECT
public:
    // Item state bits of one paint; no other state changes the picture (a
    // default button has no look of its own).
    static constexpr unsigned ODS_SELECTED = 0x0001;
    static constexpr unsigned ODS_DISABLED = 0x0004;
    static constexpr unsigned ODS_FOCUS = 0x0010;

    explicit CMacButton(QWidget* pParent = nullptr);
    explicit CMacButton(const QString& strCaption, QWidget* pParent = nullptr);
    ~CMacButton() override;

    // The state bits of the button as it is now: pressed, disabled, focused.
    unsigned ItemState() const;
    // Composes the whole face for nState on image, whose size is the item
    // rectangle; reads caption, font and palette but never the screen, so any
    // state can be rendered without a window. image comes back RGB32.
    void ComposeItem(QImage& image, unsigned nState) const;

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void changeEvent(QEvent* pEvent) override;
    void mouseDoubleClickEvent(QMouseEvent* pEvent) override;

private:
    void DrawItem(QPainter& target, unsigned nState) const;
    void DrawFace(CRasterCanvas& dc, const CItemRect& rc, unsigned nState) const;
    void DrawFaceUp(CRasterCanvas& dc, const CItemRect& rc, const CPixelPen& penFrame,
                    QRgb crBrush) const;
    void DrawFaceDown(CRasterCanvas& dc, const CItemRect& rc, const CPixelPen& penFrame,
                      QRgb crBrush) const;
    void DrawShoulderPixels(CRasterCanvas& dc, const CItemRect& rc) const;
    void DrawCaption(QImage& image, const CItemRect& rc, unsigned nState) const;

    void UpdateColors();
    void CreatePens();
    void DeletePens();

    CPixelPen m_penHighlight;
    CPixelPen m_penFace;
    CPixelPen m_penLight;
    CPixelPen m_penHalfShadow;
    CPixelPen m_penShadow;
    CPixelPen m_penDarkShadow;
    CPixelPen m_penHalfDark;

    QRgb m_crHighlight = 0;
    QRgb m_crLight = 0;
    QRgb m_crFace = 0;
    QRgb m_crHalfShadow = 0;
    QRgb m_crShadow = 0;
    QRgb m_crDarkShadow = 0;
    QRgb m_crHalfDark = 0;
};
