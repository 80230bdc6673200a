#pragma once
#include <cstddef>
#include <string>

#include "model/MsgCell.h"

// Value texts shared by the listing's item lines and the tree labels. The
// three callers differ only in how booleans and ASCII text are framed.
enum class EValueText { kBracket, kColumn, kTree };

// Appends the values of a data cell: nothing for a list, an unknown format or
// a cell without storage. Trailing blanks are left for the caller to trim.
void AppendValueText(std::string& out, const CMsgCell& cell, EValueText eText);

// True for the formats whose column-style values sit between "<" and ">":
// binary, boolean and the numeric formats (not ASCII, JIS-8, list, unknown).
bool HasColumnBrackets(int nFormat);

// Removes trailing blank, tab, LF, CR, VT and FF, never cutting below nFrom.
void TrimRight(std::string& out, std::size_t nFrom = 0);
