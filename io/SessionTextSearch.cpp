#include "io/SessionTextSearch.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

constexpr std::size_t kFirstWindow = 4u << 10;
constexpr std::size_t kLastWindow = 4u << 20;
constexpr std::size_t kSamples = 16;
constexpr std::size_t kSampleSize = 4u << 10;

// Byte counts of a few slices spread over the store: enough to tell a rare
// byte from a common one.
std::array<std::size_t, 256> ByteCounts(std::span<const unsigned char> store, std::size_t& nSeen) {
    std::array<std::size_t, 256> counts{};
    nSeen = 0;
    const std::size_t nStep = std::max<std::size_t>(store.size() / kSamples, 1);
    for (std::size_t nAt = 0; nAt < store.size(); nAt += nStep) {
        const std::size_t nEnd = std::min(store.size(), nAt + kSampleSize);
        for (std::size_t i = nAt; i < nEnd; ++i) ++counts[store[i]];
        nSeen += nEnd - nAt;
    }
    return counts;
}

// First place in [pFrom, pTo) where str lies wholly; null when none. With
// a rare byte the search runs memchr over it, many times faster than
// memmem; a text of common bytes keeps memmem.
const unsigned char* Find(const unsigned char* pFrom, const unsigned char* pTo,
                          const std::string& str, int nRare) {
    const std::size_t nLen = str.size();
    if (static_cast<std::size_t>(pTo - pFrom) < nLen) return nullptr;
    if (nRare < 0)
        return static_cast<const unsigned char*>(memmem(pFrom, pTo - pFrom, str.data(), nLen));
    const unsigned char cRare = static_cast<unsigned char>(str[nRare]);
    const unsigned char* p = pFrom + nRare;
    const unsigned char* pEnd = pTo - nLen + nRare + 1;
    while (p < pEnd) {
        p = static_cast<const unsigned char*>(std::memchr(p, cRare, pEnd - p));
        if (!p) return nullptr;
        if (std::memcmp(p - nRare, str.data(), nLen) == 0) return p - nRare;
        ++p;
    }
    return nullptr;
}

}  // namespace

CSessionTextSearch::CSessionTextSearch(const CSession& session,
                                       const std::vector<std::string>& texts)
    : m_session(session) {
    for (const std::string& str : texts)
        if (!str.empty()) m_texts.push_back({str, {}});
}

bool CSessionTextSearch::Holds(std::size_t nIndex) {
    if (m_texts.empty()) return false;
    m_session.Runs(nIndex, m_runs);
    for (SText& text : m_texts) {
        for (const CSession::SByteRun& run : m_runs)
            if (InRun(text, run.bytes, run.store)) return true;
        if (m_runs.size() > 1 && AcrossJoin(text, m_runs)) return true;
    }
    return false;
}

void CSessionTextSearch::Prepare(SText& text, SCursor& cursor,
                                 std::span<const unsigned char> store) const {
    cursor.bReady = true;
    cursor.pStore = store.data();
    cursor.nWindow = kFirstWindow;
    std::size_t nSeen = 0;
    const std::array<std::size_t, 256> counts = ByteCounts(store, nSeen);
    std::size_t nLeast = SIZE_MAX;
    for (std::size_t i = 0; i < text.str.size(); ++i) {
        const std::size_t n = counts[static_cast<unsigned char>(text.str[i])];
        if (n < nLeast) {
            nLeast = n;
            cursor.nRare = static_cast<int>(i);
        }
    }
    // A byte in more than one place in 64 stops memchr too often.
    if (nLeast * 64 > nSeen) cursor.nRare = -1;
}

// The window is searched again only when the run leaves it or begins after
// its first hit; it grows while the runs move forward, and starts small
// again when one moves back (a stream found late in a capture).
bool CSessionTextSearch::InRun(SText& text, std::span<const unsigned char> run,
                               std::span<const unsigned char> store) {
    const std::size_t nLen = text.str.size();
    if (run.size() < nLen) return false;
    SCursor& c = !text.cursors[0].bReady || text.cursors[0].pStore == store.data()
                     ? text.cursors[0]
                     : text.cursors[1];
    if (!c.bReady) Prepare(text, c, store);
    const unsigned char* pBegin = run.data();
    const unsigned char* pEnd = pBegin + run.size();
    const bool bKnown =
        c.pFrom && c.pFrom <= pBegin && pEnd <= c.pTo && (!c.pHit || c.pHit >= pBegin);
    if (!bKnown) {
        c.nWindow =
            c.pFrom && pBegin >= c.pFrom ? std::min(c.nWindow * 2, kLastWindow) : kFirstWindow;
        const std::size_t nLeft = static_cast<std::size_t>(store.data() + store.size() - pBegin);
        c.pFrom = pBegin;
        c.pTo = pBegin + std::min(nLeft, std::max(run.size(), c.nWindow));
        c.pHit = Find(c.pFrom, c.pTo, text.str, c.nRare);
    }
    return c.pHit && c.pHit + nLen <= pEnd;
}

bool CSessionTextSearch::AcrossJoin(const SText& text,
                                    const std::vector<CSession::SByteRun>& runs) const {
    const std::size_t nKeep = text.str.size() - 1;
    if (nKeep == 0) return false;
    std::string strTail;  // the last nKeep bytes before the join
    for (const CSession::SByteRun& run : runs) {
        if (!strTail.empty()) {
            std::string strJoin = strTail;
            strJoin.append(reinterpret_cast<const char*>(run.bytes.data()),
                           std::min(nKeep, run.bytes.size()));
            if (strJoin.find(text.str) != std::string::npos) return true;
        }
        strTail.append(reinterpret_cast<const char*>(run.bytes.data()), run.bytes.size());
        if (strTail.size() > nKeep) strTail.erase(0, strTail.size() - nKeep);
    }
    return false;
}
