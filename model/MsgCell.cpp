#include "model/MsgCell.h"

#include <cstdlib>

CMsgCell::~CMsgCell() {
    std::free(m_pValues);
    m_pValues = nullptr;
    m_pParent = m_pFirstChild = m_pPrev = m_pNext = m_pLastChild = nullptr;
}
