#pragma once
#include <cstddef>
#include <vector>

#include "model/MsgDoc.h"
#include "render/DiffInput.h"
#include "render/StructureMatch.h"

// The neutral item views that structure matching, learning and comparing
// read, made from a message's document: lists with their declared count,
// data items with their whole elements and the bytes present.

// The data spans point into pBase: the document's own bytes when it is null,
// otherwise a copy of them the caller keeps (offsets are the same in both).
std::vector<SItemView> DocItemViews(const CMsgDoc& doc, const unsigned char* pBase = nullptr);
SDiffMessage DiffMessageOfDoc(const CMsgDoc& doc, const unsigned char* pBase = nullptr);

// The same for a message file's bytes, which the caller keeps: they are
// walked once into a document, and the views point back into them.
std::vector<SItemView> ItemViewsOfBytes(const unsigned char* pData, std::size_t nSize);
