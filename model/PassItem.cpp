#include "model/PassItem.h"

#include <cstdlib>

CPassItem::~CPassItem() { std::free(m_pBuffer); }
