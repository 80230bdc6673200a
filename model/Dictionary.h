#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// What the identifiers of a session mean: names, units and links of status
// variables, constants, events, reports, alarms and process programs, as a
// file or the messages of a session define them.

enum class EDefKind { kSvid, kVid, kEcid, kCeid, kRptid, kAlid, kPpid };

// "SVID" -> kSvid; false for a name that is not a kind.
bool DefKindFromName(std::string_view strName, EDefKind& eKind);
const char* DefKindName(EDefKind eKind);

// Definitions from a file come before every message of a session.
inline constexpr std::int64_t kBeforeAllMessages = -1;

struct SDefinition {
    EDefKind eKind = EDefKind::kVid;
    std::string strId;  // the value's exact text: "4001" for U4 4001, "LOT" for A "LOT"
    std::string strName;
    std::string strUnits;
    std::string strMin, strMax, strDefault;  // equipment constants
    std::vector<std::string> members;        // a report's VIDs, an event's RPTIDs
    bool bRemoved = false;                   // the definition was deleted (S2F33 with no VIDs, ...)
    std::int64_t nFromMessage = kBeforeAllMessages;  // index of the defining message

    // The same meaning, wherever it came from.
    bool SameMeaning(const SDefinition& other) const;
};

// A definition applies to the messages after the one it came from; a later
// definition of the same kind and id replaces it from then on, and one from
// the same message replaces it outright.
class CDictionary {
public:
    void Define(SDefinition def);
    // The definition in force for message nMessage; null when there is none
    // or it was removed.
    const SDefinition* Find(EDefKind eKind, std::string_view strId, std::int64_t nMessage) const;
    // Removes, from message nFromMessage on, every definition of the kind
    // in force then (S2F33 with an empty list deletes all reports).
    void RemoveAll(EDefKind eKind, std::int64_t nFromMessage);
    bool Empty() const { return m_defs.empty(); }
    // Whether any definition of the kind was ever stored (a removal counts).
    bool HasKind(EDefKind eKind) const { return m_nKinds & (1u << static_cast<unsigned>(eKind)); }

private:
    // Keyed by kind and id (Key()); each list ordered by nFromMessage.
    // Hashed: a large message looks up every value's VID.
    std::unordered_map<std::string, std::vector<SDefinition>> m_defs;
    unsigned m_nKinds = 0;  // HasKind's bits
};
