#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// An item as the structure matcher sees it. A message is a table of these in
// document order: a list comes before its children, and a child names its
// list by index (render/DocViews.h makes them from a document).
struct SItemView {
    int nFormat = 0;           // format code (model/FormatTable.h); may be unknown
    std::uint32_t nCount = 0;  // list: its declared item count; otherwise its elements
    int nParent = -1;          // index of the enclosing list in the table; -1 at the top
    std::size_t nOffset = 0;   // where the item starts; notes name it as given
    // The item's data bytes that are present (fewer than its length says when
    // the message is cut); empty for a list. Viewed, not owned: the bytes
    // must outlive the view. Ids and names are read from here.
    std::span<const unsigned char> data;
};

// What matching a message against its structure gives. Notes say where the
// message differs from every shape its sources allow; they are not damage
// findings (a cut list or an unknown format is the decoder's to report, and
// gets neither a role nor a note here).
struct SStructureMatch {
    bool bKnown = false;             // the table holds a structure for the message
    std::vector<const char*> roles;  // per item: data item name ("CEID"), or ""
    std::vector<std::string> notes;  // "S6F11: item at offset 14 is L, CEID expects ..."
};

// Never recurses and never trusts the table: a parent index that does not
// point back to an earlier item leaves that item unmatched. Where a message
// has several allowed shapes, the one with the fewest notes wins.
SStructureMatch MatchStructure(int nStream, int nFunction, std::span<const SItemView> items);
