#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// One message of a session as the comparison of sessions reads it: the key
// it is aligned by, a name for the lines that report it, and a way to its
// bytes (header and body), asked for only when its partner has the same key.
struct SSessionMessage {
    int nStream = 0;
    int nFunction = 0;
    bool bWBit = false;
    // Values of identifying data items ("CEID 4001"), role name first; part
    // of the key unless the role is ignored.
    std::vector<std::string> roles;
    std::string strName;
    std::size_t nIndex = 0;            // where the message is in its source
    std::int64_t nMicros = INT64_MIN;  // when it was logged; INT64_MIN not known
    // False when the bytes cannot be had; the message then counts as changed.
    std::function<bool(std::vector<unsigned char>&)> load;
};

enum class ESessionMatch { kEqual, kChanged, kOnlyA, kOnlyB };

struct SSessionPair {
    ESessionMatch eMatch = ESessionMatch::kEqual;
    int nA = -1;  // index into session A; -1 for kOnlyB
    int nB = -1;
    bool bUnreadable = false;  // kChanged because a side's bytes could not be had
};

struct SSessionDiff {
    std::vector<SSessionPair> pairs;  // in the order of both sessions
    std::size_t nCount[4] = {};       // by ESessionMatch
};

// Aligns the two sequences by key (longest common subsequence, AlignKeys)
// and compares the bodies of partners item by item; header fields (system
// bytes, device id) do not make a pair changed, nor values of the data
// item roles in ignoreRoles (render/DiffIgnore.h).
SSessionDiff DiffSessions(const std::vector<SSessionMessage>& a,
                          const std::vector<SSessionMessage>& b,
                          const std::vector<std::string>& ignoreRoles = {});

// "S6F11W", as message names are written.
std::string SessionKeyText(const SSessionMessage& msg);
