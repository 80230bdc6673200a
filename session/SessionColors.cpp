#include "session/SessionColors.h"

namespace {

struct SStatusHue {
    EMsgStatus eStatus;
    QRgb rgb;
};

const SStatusHue kStatusHues[] = {
    {EMsgStatus::kUnanswered, 0xE03030},    {EMsgStatus::kS9Error, 0xE03030},
    {EMsgStatus::kDamaged, 0xC040C0},       {EMsgStatus::kOrphanReply, 0xE09020},
    {EMsgStatus::kReplyToNoWait, 0xE09020}, {EMsgStatus::kOpen, 0xD0C020},
    {EMsgStatus::kControl, 0x808080},
};

}  // namespace

QColor MixColors(const QColor& a, const QColor& b, int nPercent) {
    const auto mix = [nPercent](int x, int y) { return x + (y - x) * nPercent / 100; };
    return QColor(mix(a.red(), b.red()), mix(a.green(), b.green()), mix(a.blue(), b.blue()));
}

QColor StatusBackground(EMsgStatus eStatus, const QPalette& palette) {
    for (const SStatusHue& h : kStatusHues)
        if (h.eStatus == eStatus)
            return MixColors(palette.color(QPalette::Base), QColor(h.rgb), 25);
    return {};
}

QColor DirectionForeground(EMsgDirection eDirection, const QPalette& palette) {
    const QColor text = palette.color(QPalette::Text);
    if (eDirection == EMsgDirection::kUnknown) return text;
    return MixColors(text, QColor(eDirection == EMsgDirection::kOut ? 0x2080F0 : 0x20B040), 50);
}
