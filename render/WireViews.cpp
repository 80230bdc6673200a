#include "render/WireViews.h"

#include "model/FormatTable.h"

std::vector<SItemView> WireItemViews(const SWireMessage& wire, const unsigned char* pData) {
    std::vector<SItemView> views;
    views.reserve(wire.items.size());
    for (const SWireItem& w : wire.items) {
        SItemView v{w.nFormat, w.nLength, w.nParent, w.nOffset, {}};
        if (w.nFormat != kFormatList) {
            v.nCount = static_cast<std::uint32_t>(WireElementCount(w));
            v.data = {pData + w.nDataOffset, w.nPresent};
        }
        views.push_back(v);
    }
    return views;
}
