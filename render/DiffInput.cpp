#include "render/DiffInput.h"

#include "decode/HeaderFields.h"
#include "decode/WireItems.h"

SDiffMessage DiffMessageOfBytes(const unsigned char* pData, std::size_t nSize) {
    SDiffMessage msg;
    const SHeaderFields fields = ReadHeaderFields(pData, nSize);
    msg.header = {fields.nStream, fields.nFunction, fields.bWBit != 0, fields.nDeviceId,
                  fields.dwSystemBytes};
    const SWireMessage wire = ReadWireItems(pData, nSize);
    msg.items.reserve(wire.items.size());
    for (const SWireItem& w : wire.items) {
        SDiffItem item;
        item.nFormat = w.nFormat;
        item.nParent = w.nParent;
        item.nOffset = w.nOffset;
        if (w.nFormat != 0) item.data = {pData + w.nDataOffset, w.nPresent};
        item.nCount = WireElementCount(w);
        msg.items.push_back(item);
    }
    return msg;
}
