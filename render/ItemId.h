#pragma once
#include <string>

#include "render/StructureMatch.h"

// The text a dictionary keys an item's value by: "4001" for U4 4001 (and
// for I2 4001 alike), "LOT1" for A "LOT1". Only single values that read back
// exactly have one: one element of an integer format, or a non-empty A of
// printable ASCII. Binary, boolean, floating point, JIS-8, lists, vectors of
// several elements and cut items have none (false).
bool ItemIdText(const SItemView& item, std::string& strId);

// A name, units or limit as the equipment sent it: the text of an A or J
// item with control bytes as blanks and outer blanks trimmed (equipment pads
// names to a fixed width), else the id text, else empty. Bytes above 0x7F
// are kept as they are; the front end reads them as it reads A values.
std::string ItemNameText(const SItemView& item);
