#include "model/MsgInfo.h"

#include <chrono>
#include <cstdlib>

CMsgInfo::CMsgInfo() {
    using namespace std::chrono;
    m_dwCreated = static_cast<unsigned int>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

// Cells go last first, so no cell outlives a cell that comes after it in
// document order, and the current-list pointer never dangles meanwhile.
CMsgInfo::~CMsgInfo() {
    while (!m_cells.empty()) {
        CMsgCell* pCell = m_cells.back().get();
        std::free(pCell->m_pValues);
        pCell->m_pValues = nullptr;
        m_pCurrent = nullptr;
        m_cells.pop_back();
    }
    m_pLastTop = nullptr;
    while (!m_passItems.empty()) m_passItems.pop_back();
}
