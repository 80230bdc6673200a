#pragma once
#include <memory>
#include <vector>

#include "model/ByteMap.h"
#include "model/Diagnostic.h"
#include "model/MsgCell.h"
#include "model/MsgDoc.h"
#include "model/PassItem.h"

// One decoded message: header fields, building state and every cell in
// document order (a list precedes its children, children precede the list's
// next sibling). Created by CDecode::Decode and owned by its caller.
class CMsgInfo {
public:
    CMsgInfo();
    virtual ~CMsgInfo();
    CMsgInfo(const CMsgInfo&) = delete;
    CMsgInfo& operator=(const CMsgInfo&) = delete;

    int m_nStatus = 0;  // negative: a message nobody may touch (never set by the program)
    int m_nStream = 0;
    int m_nFunction = 0;
    int m_bWBit = 0;
    int m_bEBit = 0;
    int m_bRBit = 0;
    int m_nDeviceId = 0;
    int m_nBlock = 0;
    unsigned int m_dwSystemBytes = 0;
    int m_bIncomplete = 0;  // a single non-final block whose body was not decoded

    // Innermost open list: receives the next cell. Null until the first list
    // opens; closing the outermost list leaves that list current.
    CMsgCell* m_pCurrent = nullptr;
    // Owns the cells, in document order. A cell's address never changes.
    std::vector<std::unique_ptr<CMsgCell>> m_cells;
    std::vector<std::unique_ptr<CPassItem>> m_passItems;
    unsigned int m_dwCreated = 0;  // milliseconds since an arbitrary epoch

    // Last cell added at the top level, so that each further top-level cell
    // becomes its next sibling. Not owning.
    CMsgCell* m_pLastTop = nullptr;

    // Filled by the decoder only (empty for a message built by hand):
    // m_cellBytes[i] says where m_cells[i] came from in the file, and
    // m_diagnostics how the walk ended and what was wrong, in file order.
    std::vector<SCellBytes> m_cellBytes;
    std::vector<SDiagnostic> m_diagnostics;
    // The document the decoder made this message from; null for a message
    // built by hand. Shared with the views that read the bytes.
    std::shared_ptr<const CMsgDoc> m_pDoc;
};

// True when the decoder found nothing wrong (IsDamage of no diagnostic).
bool IsCleanMessage(const CMsgInfo& msg);

// Index of the cell whose own bytes hold nOffset (a list's format and length
// bytes, a data item's whole item), or else of the innermost list whose
// items span it; -1 when none does or the message has no byte map.
int CellAtOffset(const CMsgInfo& msg, std::uint64_t nOffset);

// Row of m_pDoc that cell nCell was made from; -1 without a document.
int RowOfCell(const CMsgInfo& msg, int nCell);
