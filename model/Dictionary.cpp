#include "model/Dictionary.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr const char* kKindNames[] = {"SVID", "VID", "ECID", "CEID", "RPTID", "ALID", "PPID"};

std::string Key(EDefKind eKind, std::string_view strId) {
    std::string str(1, static_cast<char>('0' + static_cast<int>(eKind)));
    return str.append(strId);
}

}  // namespace

bool DefKindFromName(std::string_view strName, EDefKind& eKind) {
    for (std::size_t i = 0; i < std::size(kKindNames); ++i) {
        if (strName != kKindNames[i]) continue;
        eKind = static_cast<EDefKind>(i);
        return true;
    }
    return false;
}

const char* DefKindName(EDefKind eKind) { return kKindNames[static_cast<int>(eKind)]; }

void CDictionary::Define(SDefinition def) {
    m_nKinds |= 1u << static_cast<unsigned>(def.eKind);
    std::vector<SDefinition>& defs = m_defs[Key(def.eKind, def.strId)];
    auto it =
        std::upper_bound(defs.begin(), defs.end(), def.nFromMessage,
                         [](std::int64_t n, const SDefinition& d) { return n < d.nFromMessage; });
    if (it != defs.begin() && std::prev(it)->nFromMessage == def.nFromMessage)
        *std::prev(it) = std::move(def);
    else
        defs.insert(it, std::move(def));
}

const SDefinition* CDictionary::Find(EDefKind eKind, std::string_view strId,
                                     std::int64_t nMessage) const {
    const auto found = m_defs.find(Key(eKind, strId));
    if (found == m_defs.end()) return nullptr;
    const std::vector<SDefinition>& defs = found->second;
    // The last definition from a message before nMessage.
    auto it =
        std::lower_bound(defs.begin(), defs.end(), nMessage,
                         [](const SDefinition& d, std::int64_t n) { return d.nFromMessage < n; });
    if (it == defs.begin()) return nullptr;
    const SDefinition& def = *std::prev(it);
    return def.bRemoved ? nullptr : &def;
}

void CDictionary::RemoveAll(EDefKind eKind, std::int64_t nFromMessage) {
    const std::string strPrefix = Key(eKind, "");
    std::vector<SDefinition> removals;
    for (const auto& [strKey, defs] : m_defs) {
        const std::string_view strId = std::string_view(strKey).substr(1);
        if (strKey[0] != strPrefix[0] || !Find(eKind, strId, nFromMessage + 1)) continue;
        SDefinition def;
        def.eKind = eKind;
        def.strId = strId;
        def.bRemoved = true;
        def.nFromMessage = nFromMessage;
        removals.push_back(std::move(def));
    }
    for (SDefinition& def : removals) Define(std::move(def));
}

bool SDefinition::SameMeaning(const SDefinition& o) const {
    return eKind == o.eKind && strId == o.strId && strName == o.strName && strUnits == o.strUnits &&
           strMin == o.strMin && strMax == o.strMax && strDefault == o.strDefault &&
           members == o.members && bRemoved == o.bRemoved;
}
