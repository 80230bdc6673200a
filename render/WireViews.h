#pragma once
#include <cstddef>
#include <vector>

#include "decode/WireItems.h"
#include "render/StructureMatch.h"

// The item views of a message read by ReadWireItems from pData: lists with
// their declared count, data items with their whole elements and the bytes
// present. The views point into pData.
std::vector<SItemView> WireItemViews(const SWireMessage& wire, const unsigned char* pData);
