#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "model/Dictionary.h"
#include "render/StructureMatch.h"

// What one item of a message is, for display: its data item name, and where
// that is an id of a dictionary kind, the id and its definition.
// Messages with more items are shown without roles: a role costs a row of
// views, meanings and texts per item, and memory must keep growing with a
// message's bytes, not its items. Event reports of 50,000 items still get them.
inline constexpr std::size_t kMaxAnnotatedItems = 250'000;

struct SItemMeaning {
    const char* szRole = "";  // "CEID", "V", "DATAID"; "" when the item has none
    bool bKeyed = false;      // eKind and strId hold; pDef may still be null
    EDefKind eKind = EDefKind::kVid;
    // The id: the item's own value (CEID 4001), or the one its position
    // stands for (the VID of a report value, the SVID of an S1F4 value).
    std::string strId;
    bool bIdIsValue = false;            // strId is the item's own value
    const SDefinition* pDef = nullptr;  // in force before the message; points into the dictionary
};

// Per item, in the order of items. Definitions are those in force before
// message nMessage. The values of an S6F11 (and S6F16) report are the VIDs
// of that report's definition, in order; a VID without a definition of its
// own takes the name of the status variable or constant of that id, as all
// three share one set of ids. primary: the items of the request
// this message answers (S1F3 for S1F4, S2F13 for S2F14), where the session
// paired them; an S1F3 that asks for all variables pairs nothing, since the
// reply's order is then the equipment's. The meanings point into dict: they
// hold as long as it is not changed. pNotes, where given, receives the
// structure's notes, so that a viewer need not match the message again.
std::vector<SItemMeaning> AnnotateItems(int nStream, int nFunction,
                                        std::span<const SItemView> items, std::int64_t nMessage,
                                        const CDictionary& dict,
                                        std::span<const SItemView> primary = {},
                                        std::vector<std::string>* pNotes = nullptr);

// A session list's name for the message: "S6F11 LotStarted" (its event's
// name), "S5F1 Door open" (the alarm text it carries, else the alarm's
// defined name); empty when the message says nothing more than its name.
// Whether MessageSummary can say more than the name for such a message: a
// session list needs the items of only these.
bool SummarisesFrom(int nStream, int nFunction);

std::string MessageSummary(int nStream, int nFunction, std::span<const SItemView> items,
                           std::span<const SItemMeaning> meanings);
