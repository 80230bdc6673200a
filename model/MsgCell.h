#pragma once
#include <cstddef>
#include <string>

// One item of a message body, list or data. The message owns its cells; the
// tree links below never own anything.
class CMsgCell {
public:
    CMsgCell() = default;
    virtual ~CMsgCell();
    CMsgCell(const CMsgCell&) = delete;
    CMsgCell& operator=(const CMsgCell&) = delete;

    int m_nVisit = 0;    // listing scratch: children of this list written so far
    int m_nFormat = -1;  // format code (FormatTable.h); -1 until the builder sets it
    int m_bBounded = 0;  // non-zero: a list whose capacity the builder enforces
    int m_nCapacity = 0;
    std::string m_strComment;
    // Data cell: elements in m_pValues. List cell: children linked so far, or,
    // once the decoder closes it, the declared item count (which exceeds the
    // children when items of an unknown format were skipped).
    int m_nCount = 0;
    // Position in the owner's m_cells (and m_cellBytes), set by the builder;
    // -1 for a cell not yet appended. Fills what was padding after m_nCount.
    int m_nIndex = -1;
    // m_nCount elements of the format's store width, native byte order, plus
    // one zero byte (so byte formats read as a C string). malloc'ed, owned;
    // null for lists.
    void* m_pValues = nullptr;

    CMsgCell* m_pParent = nullptr;
    CMsgCell* m_pFirstChild = nullptr;
    CMsgCell* m_pPrev = nullptr;
    CMsgCell* m_pNext = nullptr;
    // Index of this cell in its message's m_cells, recorded only for a list
    // opened at the top level; kNoPos otherwise.
    static constexpr std::ptrdiff_t kNoPos = -1;
    std::ptrdiff_t m_pos = kNoPos;

    // Last child, so that linking a new last child costs O(1) instead of a
    // walk over all earlier siblings. Not owning.
    CMsgCell* m_pLastChild = nullptr;
};
