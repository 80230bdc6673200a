#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// Positions of one element of sequence A and one of B that the alignment
// keeps together.
struct SAlignPair {
    std::size_t nA = 0;
    std::size_t nB = 0;
};

// A longest common subsequence of a and b under equality of keys, as pairs
// increasing in both positions: Myers' O(ND) difference algorithm, split at
// the middle of each edit path so that it needs memory linear in the input
// and no recursion. A region whose edit distance grows past 2 * nMaxCost is
// split where the forward search got furthest (GNU diff's heuristic) and
// its halves aligned on their own: the result may then be a little shorter
// than the longest, and unrelated inputs cost O((N + M) * nMaxCost) instead
// of O(N * M).
std::vector<SAlignPair> AlignKeys(std::span<const std::uint64_t> a,
                                  std::span<const std::uint64_t> b, std::size_t nMaxCost = 2048);

// Mixes v into h; order matters. For building keys out of several fields.
inline std::uint64_t MixKey(std::uint64_t h, std::uint64_t v) {
    h ^= v + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2);
    h ^= h >> 31;
    h *= 0xBF58476D1CE4E5B9ull;
    return h ^ (h >> 29);
}
