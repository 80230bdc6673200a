#pragma once
#include <cstdint>
#include <span>

#include "render/StructureMatch.h"

class CDictionary;

// Learns what a message defines: variable, constant and alarm names (S1F12,
// S1F22, S2F30, S5F1, S5F6, S5F8), event names (S1F24), report contents
// (S2F33: an RPTID with no VIDs is deleted, an empty list deletes every
// report), event links (S2F35: an empty list unlinks) and process programs
// (S7F20). The items are found by their roles in the message's structure,
// so a message that deviates still teaches what its matched items say.
// Definitions take effect from the message after nMessage (kBeforeAllMessages
// for a file); a field the message does not carry keeps its earlier value,
// and a definition that changes nothing is not stored again.
//
// S2F33 and S2F35 take effect on the request: the reply that refuses them
// (a non-zero DRACK or LRACK) comes later, and only the session knows
// which reply answers which request. A caller that wants refused requests
// undone learns them into the dictionary only once the accepting reply is
// seen, with nMessage of the request.
//
// Returns the number of definitions stored.
int LearnDefinitions(int nStream, int nFunction, std::span<const SItemView> items,
                     std::int64_t nMessage, CDictionary& dict);

// Whether messages of this stream and function define anything: a session
// index needs the items of only these.
bool LearnsFrom(int nStream, int nFunction);
