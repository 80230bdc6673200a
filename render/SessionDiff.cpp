#include "render/SessionDiff.h"

#include <algorithm>

#include "render/DiffIgnore.h"
#include "render/MessageDiff.h"
#include "render/NumberText.h"
#include "render/SeqAlign.h"

namespace {

// A role value ("CEID 7") counts in the key unless its role is ignored.
bool Counts(const std::string& strRole, const std::vector<std::string>& ignore) {
    for (const std::string& s : ignore)
        if (strRole.size() > s.size() && strRole.compare(0, s.size(), s) == 0 &&
            strRole[s.size()] == ' ')
            return false;
    return true;
}

std::uint64_t KeyOf(const SSessionMessage& m, const std::vector<std::string>& ignore) {
    std::uint64_t h = MixKey(static_cast<std::uint64_t>(m.nStream),
                             static_cast<std::uint64_t>(m.nFunction) * 2 + m.bWBit);
    for (const std::string& s : m.roles) {
        if (!Counts(s, ignore)) continue;
        std::uint64_t r = 0xCBF29CE484222325ull;
        for (unsigned char c : s) r = (r ^ c) * 0x100000001B3ull;
        h = MixKey(h, r);
    }
    return h;
}

bool SameKey(const SSessionMessage& a, const SSessionMessage& b,
             const std::vector<std::string>& ignore) {
    if (a.nStream != b.nStream || a.nFunction != b.nFunction || a.bWBit != b.bWBit) return false;
    std::size_t i = 0, j = 0;
    for (;; ++i, ++j) {
        while (i < a.roles.size() && !Counts(a.roles[i], ignore)) ++i;
        while (j < b.roles.size() && !Counts(b.roles[j], ignore)) ++j;
        if (i == a.roles.size() || j == b.roles.size()) break;
        if (a.roles[i] != b.roles[j]) return false;
    }
    return i == a.roles.size() && j == b.roles.size();
}

// Equal bytes need no item walk; otherwise header fields are left out.
SSessionPair ComparePartners(const SSessionMessage& a, const SSessionMessage& b, int nA, int nB,
                             const std::vector<std::string>& ignoreRoles) {
    SSessionPair pair{ESessionMatch::kChanged, nA, nB};
    std::vector<unsigned char> bytesA, bytesB;
    if (!a.load || !b.load || !a.load(bytesA) || !b.load(bytesB)) {
        pair.bUnreadable = true;
        return pair;
    }
    constexpr std::size_t kHeader = 10;
    const bool bSameBody =
        bytesA.size() >= kHeader && bytesB.size() >= kHeader &&
        std::equal(bytesA.begin() + kHeader, bytesA.end(), bytesB.begin() + kHeader, bytesB.end());
    if (bSameBody || DiffMessages(DiffMessageIgnoring(bytesA.data(), bytesA.size(), ignoreRoles),
                                  DiffMessageIgnoring(bytesB.data(), bytesB.size(), ignoreRoles))
                         .items.empty())
        pair.eMatch = ESessionMatch::kEqual;
    return pair;
}

void Add(SSessionDiff& diff, const SSessionPair& pair) {
    diff.pairs.push_back(pair);
    ++diff.nCount[static_cast<int>(pair.eMatch)];
}

// Messages left between two partners: A's first, then B's.
void AddUnmatched(SSessionDiff& diff, std::size_t nA0, std::size_t nA1, std::size_t nB0,
                  std::size_t nB1) {
    for (std::size_t i = nA0; i < nA1; ++i)
        Add(diff, {ESessionMatch::kOnlyA, static_cast<int>(i), -1});
    for (std::size_t j = nB0; j < nB1; ++j)
        Add(diff, {ESessionMatch::kOnlyB, -1, static_cast<int>(j)});
}

}  // namespace

SSessionDiff DiffSessions(const std::vector<SSessionMessage>& a,
                          const std::vector<SSessionMessage>& b,
                          const std::vector<std::string>& ignoreRoles) {
    std::vector<std::uint64_t> ka, kb;
    ka.reserve(a.size());
    kb.reserve(b.size());
    for (const SSessionMessage& m : a) ka.push_back(KeyOf(m, ignoreRoles));
    for (const SSessionMessage& m : b) kb.push_back(KeyOf(m, ignoreRoles));
    SSessionDiff diff;
    std::size_t nA = 0, nB = 0;
    for (const SAlignPair& p : AlignKeys(ka, kb)) {
        if (!SameKey(a[p.nA], b[p.nB], ignoreRoles)) continue;  // keys that only hash alike
        AddUnmatched(diff, nA, p.nA, nB, p.nB);
        Add(diff, ComparePartners(a[p.nA], b[p.nB], static_cast<int>(p.nA), static_cast<int>(p.nB),
                                  ignoreRoles));
        nA = p.nA + 1;
        nB = p.nB + 1;
    }
    AddUnmatched(diff, nA, a.size(), nB, b.size());
    return diff;
}

std::string SessionKeyText(const SSessionMessage& msg) {
    std::string str = "S";
    AppendUnsigned(str, static_cast<std::uint64_t>(msg.nStream));
    str += 'F';
    AppendUnsigned(str, static_cast<std::uint64_t>(msg.nFunction));
    if (msg.bWBit) str += 'W';
    return str;
}
