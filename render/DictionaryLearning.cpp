#include "render/DictionaryLearning.h"

#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "model/Dictionary.h"
#include "model/FormatTable.h"
#include "render/ExactValue.h"
#include "render/ItemId.h"

namespace {

struct SField {
    const char* szRole;
    std::string SDefinition::*pField;
};

// What one message defines: the kind of id at role szId, the fields that
// sit beside it in its list, and whether a list beside it holds members
// (a report's VIDs, an event's RPTIDs).
struct SLearnRule {
    int nStream;
    int nFunction;
    EDefKind eKind;
    const char* szId;
    SField fields[5];
    bool bMembers;       // the list beside the id holds its members
    bool bEmptyRemoves;  // an id with an empty member list is deleted
};

constexpr SField kNone = {nullptr, nullptr};
constexpr SField kName(const char* sz) { return {sz, &SDefinition::strName}; }
constexpr SField kUnits = {"UNITS", &SDefinition::strUnits};
constexpr SField kEcName = kName("ECNAME");
constexpr SField kMin = {"ECMIN", &SDefinition::strMin};
constexpr SField kMax = {"ECMAX", &SDefinition::strMax};
constexpr SField kDefault = {"ECDEF", &SDefinition::strDefault};

// An event's VIDs (S1F24) are not kept: its members are its reports
// (S2F35), and S6F11 places its values by reports alone.
const SLearnRule kRules[] = {
    {1, 12, EDefKind::kSvid, "SVID", {kName("SVNAME"), kUnits}, false, false},
    {1, 22, EDefKind::kVid, "VID", {kName("DVVALNAME"), kUnits}, false, false},
    {1, 24, EDefKind::kCeid, "CEID", {kName("CENAME")}, false, false},
    {2, 30, EDefKind::kEcid, "ECID", {kEcName, kMin, kMax, kDefault, kUnits}, false, false},
    {2, 33, EDefKind::kRptid, "RPTID", {kNone}, true, true},
    {2, 35, EDefKind::kCeid, "CEID", {kNone}, true, false},
    {5, 1, EDefKind::kAlid, "ALID", {kName("ALTX")}, false, false},
    {5, 6, EDefKind::kAlid, "ALID", {kName("ALTX")}, false, false},
    {5, 8, EDefKind::kAlid, "ALID", {kName("ALTX")}, false, false},
    {7, 20, EDefKind::kPpid, "PPID", {kNone}, false, false},
};

const SLearnRule* FindRule(int nStream, int nFunction) {
    for (const SLearnRule& rule : kRules)
        if (rule.nStream == nStream && rule.nFunction == nFunction) return &rule;
    return nullptr;
}

// One id and what the message says about it.
struct SRecord {
    int nIdItem = -1;
    std::vector<std::pair<std::string SDefinition::*, int>> fields;  // field, item
    std::vector<std::string> members;
    bool bMemberList = false;  // a list beside the id was present
};

// Limits may be floating point: their exact text.
std::string FieldText(const SItemView& item) {
    std::string str = ItemNameText(item);
    if (str.empty() && !item.data.empty())
        str = ExactValueText(item.nFormat, item.data.data(), item.data.size());
    return str;
}

class CLearnWalk {
public:
    CLearnWalk(const SLearnRule& rule, std::span<const SItemView> items,
               const std::vector<const char*>& roles)
        : m_rule(rule),
          m_items(items),
          m_roles(roles),
          m_slot(items.size() + 1, -1),
          m_memberSlot(items.size(), -1) {}

    // Groups the matched items into records, one per id.
    void Run() {
        for (std::size_t i = 0; i < m_items.size(); ++i) {
            const int nParent = m_items[i].nParent;
            if (nParent < -1 || nParent >= static_cast<int>(i)) continue;  // a bad link
            if (nParent >= 0 && m_memberSlot[static_cast<std::size_t>(nParent)] >= 0) {
                AddMember(i, m_memberSlot[static_cast<std::size_t>(nParent)]);
                continue;
            }
            const std::string_view strRole = m_roles[i];
            if (strRole.empty()) {
                NoteMemberList(i, nParent);
            } else if (strRole == m_rule.szId) {
                RecordOf(nParent, true).nIdItem = static_cast<int>(i);
            } else {
                for (const SField& f : m_rule.fields)
                    if (f.szRole && strRole == f.szRole)
                        RecordOf(nParent, false).fields.push_back({f.pField, static_cast<int>(i)});
            }
        }
    }

    std::vector<SRecord> m_records;

private:
    // The record of the list nParent (-1: the top level); a second id in the
    // same list starts a new one (S7F20's PPIDs).
    SRecord& RecordOf(int nParent, bool bForId) {
        int& nSlot = m_slot[static_cast<std::size_t>(nParent + 1)];
        if (nSlot < 0 || (bForId && m_records[static_cast<std::size_t>(nSlot)].nIdItem >= 0)) {
            nSlot = static_cast<int>(m_records.size());
            m_records.emplace_back();
        }
        return m_records[static_cast<std::size_t>(nSlot)];
    }

    // Members keep their places: one that is no id leaves its place empty,
    // so that the values of a report never shift onto the wrong VIDs.
    void AddMember(std::size_t i, int nSlot) {
        std::string strId;
        ItemIdText(m_items[i], strId);
        m_records[static_cast<std::size_t>(nSlot)].members.push_back(std::move(strId));
    }

    // A list beside an id holds its members.
    void NoteMemberList(std::size_t i, int nParent) {
        if (!m_rule.bMembers || m_items[i].nFormat != kFormatList) return;
        const int nSlot = m_slot[static_cast<std::size_t>(nParent + 1)];
        if (nSlot < 0) return;
        m_records[static_cast<std::size_t>(nSlot)].bMemberList = true;
        m_memberSlot[i] = nSlot;
    }

    const SLearnRule& m_rule;
    std::span<const SItemView> m_items;
    const std::vector<const char*>& m_roles;
    std::vector<int> m_slot;        // per list item + 1 (0: the top level): its record, or -1
    std::vector<int> m_memberSlot;  // per list item: the record whose members it holds, or -1
};

bool Store(const SLearnRule& rule, const SRecord& rec, std::span<const SItemView> items,
           std::int64_t nMessage, CDictionary& dict) {
    std::string strId;
    if (rec.nIdItem < 0 || !ItemIdText(items[static_cast<std::size_t>(rec.nIdItem)], strId))
        return false;
    // The definition in force, this message's own earlier ones included.
    const SDefinition* pOld = dict.Find(rule.eKind, strId, nMessage + 1);
    SDefinition def = pOld ? *pOld : SDefinition{};
    def.eKind = rule.eKind;
    def.strId = std::move(strId);
    for (const auto& [pField, nItem] : rec.fields)
        def.*pField = FieldText(items[static_cast<std::size_t>(nItem)]);
    if (rule.bMembers) def.members = rec.members;
    def.bRemoved = rule.bEmptyRemoves && rec.bMemberList && rec.members.empty();
    if (!pOld && def.bRemoved) return false;
    if (pOld && pOld->SameMeaning(def)) return false;
    def.nFromMessage = nMessage;
    dict.Define(std::move(def));
    return true;
}

}  // namespace

int LearnDefinitions(int nStream, int nFunction, std::span<const SItemView> items,
                     std::int64_t nMessage, CDictionary& dict) {
    const SLearnRule* pRule = FindRule(nStream, nFunction);
    if (!pRule) return 0;
    const SStructureMatch match = MatchStructure(nStream, nFunction, items);
    if (!match.bKnown) return 0;
    CLearnWalk walk(*pRule, items, match.roles);
    walk.Run();
    // A body that fits its structure and holds no report at all is S2F33's
    // "delete every report".
    if (pRule->bEmptyRemoves && walk.m_records.empty() && !items.empty() && match.notes.empty()) {
        dict.RemoveAll(pRule->eKind, nMessage);
        return 1;
    }
    int nStored = 0;
    for (const SRecord& rec : walk.m_records) nStored += Store(*pRule, rec, items, nMessage, dict);
    return nStored;
}

bool LearnsFrom(int nStream, int nFunction) { return FindRule(nStream, nFunction) != nullptr; }
