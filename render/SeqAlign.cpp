#include "render/SeqAlign.h"

#include <algorithm>

namespace {

using Keys = std::span<const std::uint64_t>;

// A region still to align: [nA0, nA1) of a against [nB0, nB1) of b.
struct SBox {
    std::size_t nA0, nA1, nB0, nB1;
};

struct SSplit {
    bool bFound = false;
    std::size_t nX = 0;  // the split point, relative to the box
    std::size_t nY = 0;
};

// Runs the forward and the backward search of Myers' algorithm at once and
// returns where they first overlap: a point on a shortest edit path. Both
// ends of the box differ (common ends are trimmed before), so the point
// splits it into two smaller boxes.
class CMiddleSplit {
public:
    CMiddleSplit(Keys a, Keys b, std::size_t nMaxCost) : m_a(a), m_b(b), m_nMaxCost(nMaxCost) {}

    SSplit Find() {
        const long n = static_cast<long>(m_a.size());
        const long m = static_cast<long>(m_b.size());
        const long nMaxD = std::min<long>((n + m + 1) / 2, static_cast<long>(m_nMaxCost));
        m_nOff = nMaxD + 1;
        m_forward.assign(static_cast<std::size_t>(2 * m_nOff + 1), -1);
        m_backward.assign(m_forward.size(), -1);
        At(m_forward, 1) = 0;
        At(m_backward, 1) = 0;
        const long nDelta = n - m;
        const bool bOdd = (nDelta & 1) != 0;
        // Diagonals whose paths left the grid are not followed further.
        long nStart1 = 0, nEnd1 = 0, nStart2 = 0, nEnd2 = 0;
        for (long d = 0; d <= nMaxD; ++d) {
            for (long k = -d + nStart1; k <= d - nEnd1; k += 2) {
                const long x = Extend(m_forward, k, d, n, m, false);
                if (x > n) {
                    nEnd1 += 2;
                } else if (x - k > m) {
                    nStart1 += 2;
                } else if (bOdd) {
                    const long k2 = nDelta - k;
                    if (k2 >= -m_nOff && k2 <= m_nOff && At(m_backward, k2) >= 0 &&
                        x >= n - At(m_backward, k2))
                        return {true, static_cast<std::size_t>(x), static_cast<std::size_t>(x - k)};
                }
            }
            for (long k = -d + nStart2; k <= d - nEnd2; k += 2) {
                const long x = Extend(m_backward, k, d, n, m, true);
                if (x > n) {
                    nEnd2 += 2;
                } else if (x - k > m) {
                    nStart2 += 2;
                } else if (!bOdd) {
                    const long k1 = nDelta - k;
                    if (k1 >= -m_nOff && k1 <= m_nOff && At(m_forward, k1) >= 0 &&
                        At(m_forward, k1) >= n - x)
                        return {true, static_cast<std::size_t>(At(m_forward, k1)),
                                static_cast<std::size_t>(At(m_forward, k1) - k1)};
                }
            }
        }
        return FurthestForward(n, m);
    }

private:
    // Too many differences: split where the forward search got furthest, as
    // GNU diff does, so that the two halves are still aligned on their own.
    SSplit FurthestForward(long n, long m) {
        SSplit best;
        long nBest = 0;
        for (long k = -m_nOff + 1; k < m_nOff; ++k) {
            const long x = At(m_forward, k), y = x - k;
            if (x < 0 || x > n || y < 0 || y > m || x + y <= nBest) continue;
            nBest = x + y;
            best = {true, static_cast<std::size_t>(x), static_cast<std::size_t>(y)};
        }
        return best;
    }

    long& At(std::vector<long>& v, long k) { return v[static_cast<std::size_t>(m_nOff + k)]; }

    // Furthest x on diagonal k after d edits, following equal keys; the
    // backward search counts x and y from the ends.
    long Extend(std::vector<long>& v, long k, long d, long n, long m, bool bBackward) {
        long x =
            (k == -d || (k != d && At(v, k - 1) < At(v, k + 1))) ? At(v, k + 1) : At(v, k - 1) + 1;
        long y = x - k;
        while (x >= 0 && y >= 0 && x < n && y < m && Same(x, y, n, m, bBackward)) {
            ++x;
            ++y;
        }
        At(v, k) = x;
        return x;
    }

    bool Same(long x, long y, long n, long m, bool bBackward) const {
        if (bBackward)
            return m_a[static_cast<std::size_t>(n - 1 - x)] ==
                   m_b[static_cast<std::size_t>(m - 1 - y)];
        return m_a[static_cast<std::size_t>(x)] == m_b[static_cast<std::size_t>(y)];
    }

    Keys m_a;
    Keys m_b;
    std::size_t m_nMaxCost;
    long m_nOff = 0;
    std::vector<long> m_forward;
    std::vector<long> m_backward;
};

}  // namespace

std::vector<SAlignPair> AlignKeys(Keys a, Keys b, std::size_t nMaxCost) {
    std::vector<SAlignPair> pairs;
    std::vector<SBox> todo{{0, a.size(), 0, b.size()}};
    while (!todo.empty()) {
        SBox box = todo.back();
        todo.pop_back();
        while (box.nA0 < box.nA1 && box.nB0 < box.nB1 && a[box.nA0] == b[box.nB0])
            pairs.push_back({box.nA0++, box.nB0++});
        while (box.nA0 < box.nA1 && box.nB0 < box.nB1 && a[box.nA1 - 1] == b[box.nB1 - 1])
            pairs.push_back({--box.nA1, --box.nB1});
        if (box.nA0 == box.nA1 || box.nB0 == box.nB1) continue;
        const SSplit split = CMiddleSplit(a.subspan(box.nA0, box.nA1 - box.nA0),
                                          b.subspan(box.nB0, box.nB1 - box.nB0), nMaxCost)
                                 .Find();
        // A corner would not split the box; only a broken search gives one.
        const bool bCorner = (split.nX == 0 && split.nY == 0) ||
                             (split.nX == box.nA1 - box.nA0 && split.nY == box.nB1 - box.nB0);
        if (!split.bFound || bCorner) continue;
        todo.push_back({box.nA0, box.nA0 + split.nX, box.nB0, box.nB0 + split.nY});
        todo.push_back({box.nA0 + split.nX, box.nA1, box.nB0 + split.nY, box.nB1});
    }
    std::sort(pairs.begin(), pairs.end(),
              [](const SAlignPair& l, const SAlignPair& r) { return l.nA < r.nA; });
    return pairs;
}
