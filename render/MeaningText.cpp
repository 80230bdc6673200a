#include "render/MeaningText.h"

namespace {

// "CEID" for an id that is the item's own value, "VID 5" for one its
// position stands for, the bare role otherwise.
// Appended in place: a 50,000-item message makes one text per item.
void AppendRoleWithId(std::string& str, const SItemMeaning& m, bool bOwnIdToo) {
    if (!m.bKeyed) {
        str += m.szRole;
        return;
    }
    str += DefKindName(m.eKind);
    if (bOwnIdToo || !m.bIdIsValue) {
        str += ' ';
        str += m.strId;
    }
}

std::string RoleWithId(const SItemMeaning& m, bool bOwnIdToo) {
    std::string str;
    AppendRoleWithId(str, m, bOwnIdToo);
    return str;
}

void AppendName(std::string& str, const SItemMeaning& m) {
    if (!m.pDef) return;
    if (!m.pDef->strName.empty()) {
        str += ' ';
        str += m.pDef->strName;
    }
    if (!m.pDef->strUnits.empty()) {
        str += " [";
        str += m.pDef->strUnits;
        str += ']';
    }
}

std::size_t NameSize(const SItemMeaning& m) {
    return m.pDef ? m.pDef->strName.size() + m.pDef->strUnits.size() + 4 : 0;
}

}  // namespace

std::string RoleText(const SItemMeaning& m) {
    if (!*m.szRole) return {};
    std::string str;
    str.reserve(8 + m.strId.size() + NameSize(m));
    AppendRoleWithId(str, m, true);
    AppendName(str, m);
    return str;
}

std::string SmlRoleComment(const SItemMeaning& m) {
    if (!*m.szRole) return {};
    std::string str;
    str.reserve(11 + m.strId.size() + NameSize(m));
    str += "// ";
    AppendRoleWithId(str, m, false);
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
