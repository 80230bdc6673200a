#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "render/DiffInput.h"

enum class EDiffKind { kValue, kFormat, kOnlyA, kOnlyB };

// One side of a difference; nItem is -1 on the side that lacks the item.
struct SDiffSide {
    int nItem = -1;
    std::string strPath;  // "/3/1/2": 1-based child positions below the top item
    std::size_t nOffset = 0;
    int nFormat = 0;
    std::size_t nCount = 0;  // elements, or children present for a list
    std::string strValue;    // exact value; empty for lists and unknown formats
};

// kValue: same format and count, other data. kFormat: another format or
// count (a list against a data item included). kOnlyA/kOnlyB: the item and
// everything below it has no partner.
struct SItemDiff {
    EDiffKind eKind = EDiffKind::kValue;
    SDiffSide a;
    SDiffSide b;
};

struct SHeaderDiff {
    const char* szField;  // "stream", "function", "W-bit", "device id", "system bytes"
    std::uint32_t nA;
    std::uint32_t nB;
};

// One line of the two trees side by side, in document order of both: an
// item of A and its partner in B (-1 where one side has none), the depth
// below the top, and the difference it belongs to (-1: none).
struct SDiffRow {
    int nItemA = -1;
    int nItemB = -1;
    int nDepth = 0;
    int nDiff = -1;
};

struct SMessageDiff {
    std::vector<SHeaderDiff> header;
    std::vector<SItemDiff> items;  // document order
    std::vector<SDiffRow> rows;
};

// Compares two messages item by item. The children of two partnered lists
// are aligned in three passes: whole equal subtrees as a longest common
// subsequence; in the gaps between them, items of the same shape (the
// format; for a list, its first child when that is a data item, which in
// SECS-II is mostly an identifier such as a report id); what is left pairs
// by position. Never recurses; bad parent links count as top-level items.
SMessageDiff DiffMessages(const SDiffMessage& a, const SDiffMessage& b);

// Path of child nPosition (1-based) of strParent. Under "" (the top): "/"
// for the first item, "#2", "#3", ... for others; below: "/3", "/3/1", "#2/1".
std::string ChildPath(const std::string& strParent, std::size_t nPosition);
