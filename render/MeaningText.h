#pragma once
#include <string>

#include "render/ItemMeaning.h"

// The texts front ends print for an item's meaning. All are empty for an
// item without a role; a name appears only where a definition gave one.

// The tree's role column: "CEID 4001 LotStarted", "VID 5 LotID",
// "SVID 1001 Temperature [degC]", "RPTID 10" (no name defined), "DATAID".
std::string RoleText(const SItemMeaning& m);

// An SML comment for the item's line: "// CEID LotStarted" (the id is the
// value on the line), "// VID 5 LotID" (a report value: the id is not).
std::string SmlRoleComment(const SItemMeaning& m);

// JSON fields: role "CEID" or "VID 5" as the comment has it, name and units
// as defined; empty strings mean "leave the field out".
struct SJsonMeaning {
    std::string strRole;
    std::string strName;
    std::string strUnits;
};
SJsonMeaning JsonMeaning(const SItemMeaning& m);
