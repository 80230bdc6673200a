#pragma once

// Element type of CMsgInfo::m_passItems. Nothing in the program creates one;
// the message still releases whatever the list holds.
class CPassItem {
public:
    CPassItem() = default;
    virtual ~CPassItem();
    CPassItem(const CPassItem&) = delete;
    CPassItem& operator=(const CPassItem&) = delete;

    void* m_pBuffer = nullptr;  // malloc'ed, owned
};
