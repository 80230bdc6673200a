#include "app/HexLogEdit.h"

#include <QMimeData>

namespace {

bool HoldsText(const QMimeData* pSource) { return pSource != nullptr && pSource->hasText(); }

}  // namespace

bool CHexLogEdit::canInsertFromMimeData(const QMimeData* pSource) const {
    return HoldsText(pSource);
}

void CHexLogEdit::insertFromMimeData(const QMimeData* pSource) {
    if (HoldsText(pSource)) QPlainTextEdit::insertFromMimeData(pSource);
}
