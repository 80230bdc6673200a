#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "model/MsgDoc.h"
#include "render/DiffInput.h"

// Leaving values out of a comparison by what they mean: an item whose data
// item role (MatchStructure over the document's item views) is one of roles
// ("DATAID", "TIME") keeps its place, format and count in the comparison,
// but not its value. msg must be made from doc (one item per row).
void IgnoreRoleValues(const CMsgDoc& doc, SDiffMessage& msg, const std::vector<std::string>& roles);

// DiffMessageOfBytes with the values of those roles left out.
SDiffMessage DiffMessageIgnoring(const unsigned char* pData, std::size_t nSize,
                                 const std::vector<std::string>& roles);
