#pragma once
#include <string>
#include <string_view>

// Short (bracket style, bLong == 0) or long (column style) format name, upper
// case; empty for a code that is not a known format.
std::string_view GetFormatName(int nFormat, int bLong);
// n repetitions of three blanks.
std::string MakeIndent(int n);
// n tab characters.
std::string MakeTabs(int n);
// Length bytes a SECS-II item header needs for a length of nCount: 1, 2 or 3.
int LengthByteCount(int nCount);
// The format as SML and JSON name it: "L", "B", "BOOLEAN", "A", "J", "I1"...
// "U8"; null for a code that is not a known format.
const char* SmlFormatName(int nFormat);
