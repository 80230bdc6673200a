#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/MsgDoc.h"

// How the classic viewer nests and counts a document's items, which its
// listings and trees show and files in the field depend on:
// - an item of an unknown format makes no cell (but counts in its list);
// - top-level items after the first top-level list join that list;
// - a list that completed shows its declared count (plus the items that
//   joined it); one the walk never closed shows the cells under it. A body
//   that ends in an empty list (at the end of the data or before a 0x00)
//   closes none of the lists around that empty list.
// Reads the rows only; O(depth) memory, so views of huge documents can ask.
class CClassicTree {
public:
    explicit CClassicTree(const CMsgDoc& doc);

    bool HasCell(std::size_t nRow) const { return IsKnownRow(m_doc.m_rows[nRow]); }
    // Row of the list whose cell holds this row's cell; -1 at the top level.
    std::int32_t Parent(std::size_t nRow) const;
    // A list cell's count (m_nCount); data rows: their element count.
    int Count(std::size_t nRow) const;
    // The innermost list still open when the walk ended, else the first
    // top-level list; -1 when there is none.
    std::int32_t Current() const;

private:
    struct SOpenList {
        std::int32_t nRow;
        int nCells;  // cells linked under it
    };
    void FindOpenLists();
    std::size_t OpenIndex(std::int32_t nRow) const;

    const CMsgDoc& m_doc;
    std::int32_t m_nAnchor = -1;    // the first top-level list
    int m_nJoined = 0;              // cells that joined it
    std::vector<SOpenList> m_open;  // lists never closed, outermost first
};
