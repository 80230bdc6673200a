#pragma once
#include <string>

#include "model/MsgDoc.h"
#include "model/MsgInfo.h"
#include "render/TextFlush.h"

// The listing of a message; CDecode::GetMsgText is this. Empty for a null
// message or a negative status. Resets and then sets the visit counters:
// afterwards each list's m_nVisit is the number of its entries written.
std::string ListMessage(CMsgInfo* pMsg, int nTabs, int nStyle);

// The listing lines of one cell and everything below it, the cell at the
// outermost level, lines separated by line feeds, without the message head.
// Empty for a null cell. Adds to the visit counters of the lists it writes.
std::string ListSubtree(CMsgCell* pCell, int nStyle);

// The same listing made from a document, byte for byte what ListMessage
// gives for the message decoded from it. Appends to out; when flush is set,
// hands the text over whenever about 64 KiB have gathered, so a listing of
// millions of items never exists whole in memory.
void ListDoc(const CMsgDoc& doc, int nTabs, int nStyle, std::string& out,
             const TextFlush& flush = {});
