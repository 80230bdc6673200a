#pragma once
#include <cstddef>
#include <functional>
#include <string>

// Takes the text a view has made so far and empties the string: a large
// text (a listing, JSON or SML of millions of items) goes out in pieces
// instead of being held whole.
using TextFlush = std::function<void(std::string&)>;

// Hands out over once it holds about 64 KiB; no flush set, nothing happens.
inline void FlushIfFull(std::string& out, const TextFlush* pFlush) {
    constexpr std::size_t kFlushSize = 64 * 1024;
    if (pFlush && *pFlush && out.size() >= kFlushSize) (*pFlush)(out);
}
