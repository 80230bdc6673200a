#include "render/MeaningText.h"

namespace {

// "CEID" for an id that is the item's own value, "VID 5" for one its
// position stands for, the bare role otherwise.
std::string RoleWithId(const SItemMeaning& m, bool bOwnIdToo) {
    if (!m.bKeyed) return m.szRole;
    std::string str = DefKindName(m.eKind);
    if (bOwnIdToo || !m.bIdIsValue) str += " " + m.strId;
    return str;
}

void AppendName(std::string& str, const SItemMeaning& m) {
    if (!m.pDef) return;
    if (!m.pDef->strName.empty()) str += " " + m.pDef->strName;
    if (!m.pDef->strUnits.empty()) str += " [" + m.pDef->strUnits + "]";
}

}  // namespace

std::string RoleText(const SItemMeaning& m) {
    if (!*m.szRole) return {};
    std::string str = RoleWithId(m, true);
    AppendName(str, m);
    return str;
}

std::string SmlRoleComment(const SItemMeaning& m) {
    if (!*m.szRole) return {};
    std::string str = "// " + RoleWithId(m, false);
    AppendName(str, m);
    return str;
}

SJsonMeaning JsonMeaning(const SItemMeaning& m) {
    if (!*m.szRole) return {};
    SJsonMeaning json{RoleWithId(m, false), {}, {}};
    if (m.pDef) {
        json.strName = m.pDef->strName;
        json.strUnits = m.pDef->strUnits;
    }
    return json;
}
