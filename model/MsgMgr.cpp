#include "model/MsgMgr.h"

#include <cstdlib>
#include <cstring>

#include "model/FormatTable.h"

// Every cell is created in document order, so appending at the tail of
// m_cells keeps it in document order: the "insert after the previous
// sibling's node" of the classic builder always lands at the tail too.

void CMsgMgr::LinkLastChild(CMsgCell* pList, CMsgCell* pCell) {
    if (!pList->m_pFirstChild) {
        pList->m_pFirstChild = pCell;
    } else {
        CMsgCell* pLast = pList->m_pLastChild;
        pCell->m_pPrev = pLast;
        pLast->m_pNext = pCell;
    }
    pList->m_pLastChild = pCell;
}

// Top-level cells are siblings of each other, so that a body of several
// top-level items can be listed and shown whole.
void CMsgMgr::LinkTopLevel(CMsgInfo* pMsg, CMsgCell* pCell) {
    if (pMsg->m_pLastTop) {
        pCell->m_pPrev = pMsg->m_pLastTop;
        pMsg->m_pLastTop->m_pNext = pCell;
    }
    pMsg->m_pLastTop = pCell;
}

int CMsgMgr::OpenList(CMsgInfo* pMsg) {
    if (!pMsg) return 0;
    auto pOwned = std::make_unique<CMsgCell>();
    CMsgCell* pCell = pOwned.get();
    pCell->m_nFormat = kFormatList;
    CMsgCell* pCurrent = pMsg->m_pCurrent;
    pCell->m_nIndex = static_cast<int>(pMsg->m_cells.size());
    pMsg->m_cells.push_back(std::move(pOwned));
    if (!pCurrent) {
        pCell->m_pos = static_cast<std::ptrdiff_t>(pMsg->m_cells.size() - 1);
        LinkTopLevel(pMsg, pCell);
    } else {
        pCurrent->m_nCount += 1;
        pCell->m_pParent = pCurrent;
        LinkLastChild(pCurrent, pCell);
    }
    pMsg->m_pCurrent = pCell;
    return 1;
}

int CMsgMgr::CloseList(CMsgInfo* pMsg) {
    if (!pMsg || !pMsg->m_pCurrent) return 0;
    CMsgCell* pCurrent = pMsg->m_pCurrent;
    if (pCurrent->m_pParent) pCurrent = pCurrent->m_pParent;
    while (pCurrent->m_bBounded && pCurrent->m_nCount == pCurrent->m_nCapacity &&
           pCurrent->m_pParent)
        pCurrent = pCurrent->m_pParent;
    pMsg->m_pCurrent = pCurrent;
    return 1;
}

int CMsgMgr::AppendCell(CMsgInfo* pMsg, std::unique_ptr<CMsgCell> pOwned) {
    if (!pMsg || !pOwned) return 0;
    CMsgCell* pCurrent = pMsg->m_pCurrent;
    if (pCurrent) {
        if (pCurrent->m_bBounded && pCurrent->m_nCount >= pCurrent->m_nCapacity) return 0;
        pCurrent->m_nCount += 1;
    }
    CMsgCell* pCell = pOwned.get();
    pCell->m_nIndex = static_cast<int>(pMsg->m_cells.size());
    pMsg->m_cells.push_back(std::move(pOwned));
    if (!pCurrent) {
        LinkTopLevel(pMsg, pCell);
        return 1;
    }
    LinkLastChild(pCurrent, pCell);
    if (pCurrent->m_bBounded && pCurrent->m_nCount == pCurrent->m_nCapacity) CloseList(pMsg);
    return 1;
}

// Takes ownership of pStore (count elements plus the zero byte) whatever
// happens: a refused cell is destroyed with its storage.
int CMsgMgr::AppendStore(CMsgInfo* pMsg, int nFormat, void* pStore, int nCount) {
    auto pCell = std::make_unique<CMsgCell>();
    pCell->m_pValues = pStore;
    pCell->m_pParent = pMsg->m_pCurrent;
    pCell->m_nCount = nCount;
    pCell->m_nFormat = nFormat;
    return AppendCell(pMsg, std::move(pCell));
}

int CMsgMgr::AppendTyped(CMsgInfo* pMsg, int nFormat, const void* pValues, int nCount) {
    if (!pMsg || nCount < 0 || (nCount > 0 && !pValues)) return 0;
    const SFormat* pFormat = FindFormat(nFormat);
    const std::size_t nBytes = static_cast<std::size_t>(nCount) * pFormat->nStoreWidth;
    // Every byte but the last is copied over, so only that one needs zeroing.
    auto* pStore = static_cast<unsigned char*>(std::malloc(nBytes + 1));
    if (!pStore) return 0;
    if (nBytes) std::memcpy(pStore, pValues, nBytes);
    pStore[nBytes] = 0;
    return AppendStore(pMsg, nFormat, pStore, nCount);
}

int CMsgMgr::AppendAscii(CMsgInfo* pMsg, const char* pText, int nCount) {
    if (!pMsg || nCount < 0 || (nCount > 0 && !pText)) return 0;
    const std::size_t nLen = nCount ? strnlen(pText, static_cast<std::size_t>(nCount)) : 0;
    char* pStore = static_cast<char*>(std::calloc(static_cast<std::size_t>(nCount) + 1, 1));
    if (!pStore) return 0;
    std::memset(pStore, ' ', static_cast<std::size_t>(nCount));
    if (nLen) std::memcpy(pStore, pText, nLen);
    return AppendStore(pMsg, kFormatAscii, pStore, nCount);
}

int CMsgMgr::AppendBinary(CMsgInfo* p, const unsigned char* v, int n) {
    return AppendTyped(p, kFormatBinary, v, n);
}
int CMsgMgr::AppendJis8(CMsgInfo* p, const unsigned char* v, int n) {
    return AppendTyped(p, kFormatJis8, v, n);
}
int CMsgMgr::AppendI1(CMsgInfo* p, const std::int8_t* v, int n) {
    return AppendTyped(p, kFormatI1, v, n);
}
int CMsgMgr::AppendU1(CMsgInfo* p, const std::uint8_t* v, int n) {
    return AppendTyped(p, kFormatU1, v, n);
}
int CMsgMgr::AppendBoolean(CMsgInfo* p, const std::uint16_t* v, int n) {
    return AppendTyped(p, kFormatBoolean, v, n);
}
int CMsgMgr::AppendI2(CMsgInfo* p, const std::int16_t* v, int n) {
    return AppendTyped(p, kFormatI2, v, n);
}
int CMsgMgr::AppendU2(CMsgInfo* p, const std::uint16_t* v, int n) {
    return AppendTyped(p, kFormatU2, v, n);
}
int CMsgMgr::AppendI4(CMsgInfo* p, const std::int32_t* v, int n) {
    return AppendTyped(p, kFormatI4, v, n);
}
int CMsgMgr::AppendU4(CMsgInfo* p, const std::uint32_t* v, int n) {
    return AppendTyped(p, kFormatU4, v, n);
}
int CMsgMgr::AppendI8(CMsgInfo* p, const std::int64_t* v, int n) {
    return AppendTyped(p, kFormatI8, v, n);
}
int CMsgMgr::AppendF4(CMsgInfo* p, const float* v, int n) {
    return AppendTyped(p, kFormatF4, v, n);
}
int CMsgMgr::AppendU8(CMsgInfo* p, const double* v, int n) {
    return AppendTyped(p, kFormatU8, v, n);
}
int CMsgMgr::AppendF8(CMsgInfo* p, const double* v, int n) {
    return AppendTyped(p, kFormatF8, v, n);
}

CMsgCell* CMsgMgr::FirstCell(CMsgInfo* pMsg) {
    if (!pMsg || pMsg->m_cells.empty()) return nullptr;
    return pMsg->m_cells.front().get();
}

void CMsgMgr::ResetVisits(CMsgInfo* pMsg) {
    if (!pMsg) return;
    for (auto& pCell : pMsg->m_cells) pCell->m_nVisit = 0;
}
