#pragma once
#include <string>
#include <vector>

#include "model/MsgInfo.h"

// "01 02 a5" -> {0x01, 0x02, 0xA5}; blanks and line breaks are ignored.
std::vector<unsigned char> BytesFromHex(const std::string& strHex);

// A compact, one-line picture of the cell tree for assertions:
// L[2]{U1 5, A "x"}; top-level cells are separated by "; ". Lists show their
// stored count, data cells their format's short name and elements.
std::string DumpCells(const CMsgInfo& msg);

// Header bytes for stream/function with the W-bit set, followed by body.
std::vector<unsigned char> MessageBytes(int nStream, int nFunction, const std::string& strBodyHex);
