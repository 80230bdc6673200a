#pragma once
#include <cstdint>
#include <memory>

#include "model/MsgCell.h"
#include "model/MsgInfo.h"

// Builds the cells of a message in document order. It has no state of its
// own: everything lives in the message it is given. Every operation does
// nothing and returns 0 (or null) when the message is null; int results are
// 1 for success, 0 for failure.
class CMsgMgr {
public:
    CMsgMgr() = default;
    virtual ~CMsgMgr() = default;

    int OpenList(CMsgInfo* pMsg);
    int CloseList(CMsgInfo* pMsg);
    // Links a filled data cell under the current list (or at the top level).
    // A full bounded list refuses it: 0, and the cell is destroyed.
    int AppendCell(CMsgInfo* pMsg, std::unique_ptr<CMsgCell> pCell);

    // Typed appenders: copy nCount elements into a new cell of their format.
    int AppendBinary(CMsgInfo* pMsg, const unsigned char* pValues, int nCount);
    // Copies up to the first NUL and pads with blanks to exactly nCount chars.
    int AppendAscii(CMsgInfo* pMsg, const char* pText, int nCount);
    int AppendJis8(CMsgInfo* pMsg, const unsigned char* pValues, int nCount);
    int AppendI1(CMsgInfo* pMsg, const std::int8_t* pValues, int nCount);
    int AppendU1(CMsgInfo* pMsg, const std::uint8_t* pValues, int nCount);
    int AppendBoolean(CMsgInfo* pMsg, const std::uint16_t* pValues, int nCount);
    int AppendI2(CMsgInfo* pMsg, const std::int16_t* pValues, int nCount);
    int AppendU2(CMsgInfo* pMsg, const std::uint16_t* pValues, int nCount);
    int AppendI4(CMsgInfo* pMsg, const std::int32_t* pValues, int nCount);
    int AppendU4(CMsgInfo* pMsg, const std::uint32_t* pValues, int nCount);
    int AppendI8(CMsgInfo* pMsg, const std::int64_t* pValues, int nCount);
    int AppendF4(CMsgInfo* pMsg, const float* pValues, int nCount);
    int AppendU8(CMsgInfo* pMsg, const double* pValues, int nCount);
    int AppendF8(CMsgInfo* pMsg, const double* pValues, int nCount);

    CMsgCell* FirstCell(CMsgInfo* pMsg);
    void ResetVisits(CMsgInfo* pMsg);

private:
    int AppendTyped(CMsgInfo* pMsg, int nFormat, const void* pValues, int nCount);
    int AppendStore(CMsgInfo* pMsg, int nFormat, void* pStore, int nCount);
    void LinkLastChild(CMsgCell* pList, CMsgCell* pCell);
    void LinkTopLevel(CMsgInfo* pMsg, CMsgCell* pCell);
};
