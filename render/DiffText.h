#pragma once
#include <string>

#include "render/MessageDiff.h"

// One difference as a line of text, without line end:
//   /3/1/2 value: U4[1] 5 at 40 (0x28) | U4[1] 6 at 40 (0x28)
//   /3/4 (B: /3/5) format: U4[1] 5 at 52 (0x34) | U2[1] 5 at 60 (0x3C)
//   /3/2 only in A: L[2] at 30 (0x1E)
//   header function: 11 | 12
std::string ItemDiffText(const SItemDiff& diff);
std::string HeaderDiffText(const SHeaderDiff& diff);

// The same as one JSON object (no line end), as docs/diff.md
// describes.
std::string ItemDiffJson(const SItemDiff& diff);
std::string HeaderDiffJson(const SHeaderDiff& diff);

// "U4[1]", "L[3]", "?63[0]" for an unknown format code.
std::string FormatCountText(int nFormat, std::size_t nCount);
