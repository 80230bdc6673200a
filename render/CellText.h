#pragma once
#include <string>

#include "model/MsgCell.h"

// The line text of one value item, appended to out: head, values, trimmed,
// closed. Style 0 is bracket style, any other value column style. The
// members CDecode::GetCellText and GetMsgText are built on it.
void AppendCellText(std::string& out, const CMsgCell& cell, int nStyle);

// Head of a list line without the indentation that follows it:
// "<L[3/1]" or "LIST  ,    3".
void AppendListHead(std::string& out, const CMsgCell& list, int nStyle);
