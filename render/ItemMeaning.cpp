#include "render/ItemMeaning.h"

#include <string_view>

#include "model/FormatTable.h"
#include "render/ItemId.h"

namespace {

// Values whose ids stand in the request: the reply's k-th value is the
// request's k-th id.
struct SPairing {
    int nStream, nFunction;
    const char* szValue;  // role in the reply
    const char* szId;     // role in the request
    EDefKind eKind;
};
const SPairing kPairings[] = {
    {1, 4, "SV", "SVID", EDefKind::kSvid},
    {2, 14, "ECV", "ECID", EDefKind::kEcid},
};

// Messages whose list name comes from an item: the definition of an id, or
// the item's own text.
struct SSummarySource {
    int nStream, nFunction;
    const char* szRole;
};
const SSummarySource kSummaries[] = {
    {5, 1, "ALTX"},  {5, 1, "ALID"},  {6, 11, "CEID"},
    {6, 13, "CEID"}, {6, 16, "CEID"}, {6, 18, "CEID"},
};

// The request's ids by their place in its list ("" where a place holds
// none); nothing when the reply holds a different number of values, as
// then no value can be said to answer a given id.
std::vector<std::string> PrimaryIds(const SPairing& pairing, std::span<const SItemView> items,
                                    std::span<const SItemView> primary) {
    std::vector<std::string> ids;
    if (items.empty() || primary.empty() || items[0].nFormat != kFormatList ||
        primary[0].nFormat != kFormatList || items[0].nCount != primary[0].nCount)
        return ids;
    ids.resize(primary[0].nCount);
    const SStructureMatch match = MatchStructure(pairing.nStream, pairing.nFunction - 1, primary);
    for (std::size_t i = 1, nth = 0; i < primary.size() && nth < ids.size(); ++i) {
        if (primary[i].nParent != 0) continue;
        if (std::string_view(match.roles[i]) == pairing.szId) ItemIdText(primary[i], ids[nth]);
        ++nth;
    }
    return ids;
}

class CAnnotation {
public:
    CAnnotation(std::span<const SItemView> items, std::int64_t nMessage, const CDictionary& dict)
        : m_items(items),
          m_nMessage(nMessage),
          m_dict(dict),
          m_nth(items.size(), 0),
          m_report(items.size()) {}

    std::vector<SItemMeaning> Run(const std::vector<const char*>& roles, const SPairing* pPairing,
                                  const std::vector<std::string>& primaryIds) {
        std::vector<SItemMeaning> out(m_items.size());
        for (std::size_t i = 0; i < m_items.size(); ++i) {
            const int nParent = m_items[i].nParent;
            if (nParent >= static_cast<int>(i)) continue;
            const std::uint32_t nth = nParent < 0 ? 0 : m_nth[static_cast<std::size_t>(nParent)]++;
            SItemMeaning& m = out[i];
            m.szRole = roles[i];
            if (!*m.szRole) continue;
            const std::string_view strRole = m.szRole;
            if (KindOfRole(m.szRole, m.eKind)) {
                m.bKeyed = m.bIdIsValue = ItemIdText(m_items[i], m.strId);
                if (m.eKind == EDefKind::kRptid && nParent >= 0 && m.bKeyed)
                    m_report[static_cast<std::size_t>(nParent)] =
                        m_dict.Find(EDefKind::kRptid, m.strId, m_nMessage);
            } else if (strRole == "V") {
                PlaceReportValue(m, nParent, nth);
            } else if (pPairing && strRole == pPairing->szValue && nth < primaryIds.size()) {
                m.eKind = pPairing->eKind;
                m.strId = primaryIds[nth];
                m.bKeyed = !m.strId.empty();
            }
            if (m.bKeyed) m.pDef = FindDefinition(m.eKind, m.strId);
        }
        return out;
    }

private:
    // Roles point into the structure table, so a role seen before is
    // looked up by its address: a large message repeats a few roles.
    bool KindOfRole(const char* szRole, EDefKind& eKind) {
        for (const SRoleKind& r : m_roleKinds)
            if (r.szRole == szRole) {
                eKind = r.eKind;
                return r.bKind;
            }
        SRoleKind r{szRole, DefKindFromName(szRole, r.eKind), r.eKind};
        m_roleKinds.push_back(r);
        eKind = r.eKind;
        return r.bKind;
    }

    // Status variables and constants are variables too, with their own
    // names: a VID no data variable definition names may be one of them.
    const SDefinition* FindDefinition(EDefKind eKind, const std::string& strId) const {
        const SDefinition* pDef = m_dict.Find(eKind, strId, m_nMessage);
        if (pDef || eKind != EDefKind::kVid) return pDef;
        pDef = m_dict.Find(EDefKind::kSvid, strId, m_nMessage);
        return pDef ? pDef : m_dict.Find(EDefKind::kEcid, strId, m_nMessage);
    }

    // A report's values sit in a list beside its RPTID: the nth is the
    // report's nth VID.
    void PlaceReportValue(SItemMeaning& m, int nParent, std::uint32_t nth) {
        if (nParent < 0) return;
        const int nReport = m_items[static_cast<std::size_t>(nParent)].nParent;
        if (nReport < 0 || nReport >= nParent) return;
        const SDefinition* pReport = m_report[static_cast<std::size_t>(nReport)];
        if (!pReport || nth >= pReport->members.size() || pReport->members[nth].empty()) return;
        m.bKeyed = true;
        m.eKind = EDefKind::kVid;
        m.strId = pReport->members[nth];
    }

    std::span<const SItemView> m_items;
    std::int64_t m_nMessage;
    const CDictionary& m_dict;
    std::vector<std::uint32_t> m_nth;          // per list: children seen so far
    std::vector<const SDefinition*> m_report;  // per report list: its RPTID's definition
    struct SRoleKind {
        const char* szRole;
        bool bKind;
        EDefKind eKind;
    };
    std::vector<SRoleKind> m_roleKinds;
};

// An id names nothing by itself: only its definition does. Other items
// (ALTX) are their own text.
std::string NameOf(const SItemView& item, const SItemMeaning& m) {
    EDefKind eKind;
    if (DefKindFromName(m.szRole, eKind)) return m.pDef ? m.pDef->strName : "";
    return ItemNameText(item);
}

}  // namespace

std::vector<SItemMeaning> AnnotateItems(int nStream, int nFunction,
                                        std::span<const SItemView> items, std::int64_t nMessage,
                                        const CDictionary& dict, std::span<const SItemView> primary,
                                        std::vector<std::string>* pNotes) {
    SStructureMatch match = MatchStructure(nStream, nFunction, items);
    if (pNotes) *pNotes = std::move(match.notes);
    const SPairing* pPairing = nullptr;
    for (const SPairing& p : kPairings)
        if (p.nStream == nStream && p.nFunction == nFunction) pPairing = &p;
    std::vector<std::string> primaryIds;
    if (pPairing) primaryIds = PrimaryIds(*pPairing, items, primary);
    return CAnnotation(items, nMessage, dict).Run(match.roles, pPairing, primaryIds);
}

bool SummarisesFrom(int nStream, int nFunction) {
    for (const SSummarySource& s : kSummaries)
        if (s.nStream == nStream && s.nFunction == nFunction) return true;
    return false;
}

std::string MessageSummary(int nStream, int nFunction, std::span<const SItemView> items,
                           std::span<const SItemMeaning> meanings) {
    for (const SSummarySource& s : kSummaries) {
        if (s.nStream != nStream || s.nFunction != nFunction) continue;
        for (std::size_t i = 0; i < items.size() && i < meanings.size(); ++i) {
            const SItemMeaning& m = meanings[i];
            if (std::string_view(m.szRole) != s.szRole) continue;
            const std::string strName = NameOf(items[i], m);
            if (strName.empty()) break;
            return "S" + std::to_string(nStream) + "F" + std::to_string(nFunction) + " " + strName;
        }
    }
    return {};
}
