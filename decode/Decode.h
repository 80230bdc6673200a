#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "model/MsgDoc.h"
#include "model/MsgInfo.h"
#include "model/MsgMgr.h"

// The decoder: message file bytes in, a CMsgInfo out. It owns one CMsgMgr and
// keeps no other state between calls, so one instance serves every file.
// Decode never fails: every byte sequence yields a message, possibly partial.
class CDecode {
public:
    CDecode();
    virtual ~CDecode();
    CDecode(const CDecode&) = delete;
    CDecode& operator=(const CDecode&) = delete;

    // pStyle: the caller's style flag. Set to 1 or 0 only when the file ends
    // in the style byte "1" or "0"; otherwise left alone. May be null.
    // Never reads beyond pData[size - 1]; writes no file. The message keeps
    // the document it was made from (a copy of the bytes, walked once).
    std::unique_ptr<CMsgInfo> Decode(const unsigned char* pData, unsigned int size, int* pStyle);

    // The cells of a document as the classic viewer builds them (see
    // ClassicTree.h), with its header fields, findings and byte map; the
    // message shares the document.
    std::unique_ptr<CMsgInfo> MakeMsgInfo(std::shared_ptr<const CMsgDoc> pDoc);

    // A data row's cell on its own (no parent, no siblings), for views that
    // render one item at a time, made from at most nMaxBytes of its data
    // (whole elements); null for lists and unknown formats. pScratch: an
    // empty message to build in (left empty), for callers making many.
    std::unique_ptr<CMsgCell> MakeCell(const CMsgDoc& doc, std::size_t nRow,
                                       std::size_t nMaxBytes = SIZE_MAX,
                                       CMsgInfo* pScratch = nullptr);

    // Fills the eight header fields from 10 bytes. 0 (and nothing changed)
    // for a null message or one with a negative status.
    int ParseHeader(CMsgInfo* pMsg, const unsigned char* pHeader);

    // Text of one value item as the listing writes it (render/CellText.cpp).
    std::string GetCellText(const CMsgCell* pCell, int nStyle) const;
    // The whole listing (render/MsgText.cpp). Writes only the cells' visit
    // counters. Empty for a null message or a negative status.
    std::string GetMsgText(CMsgInfo* pMsg, int nTabs, int nStyle);

    // Value decoders: nLength data bytes at pData become one cell. They do
    // nothing for a null message or a negative status.
    void DecodeBinary(CMsgInfo* pMsg, const unsigned char* pData, int nLength);
    void DecodeBoolean(CMsgInfo* pMsg, const unsigned char* pData, int nLength);
    void DecodeAscii(CMsgInfo* pMsg, const unsigned char* pData, int nLength);
    void DecodeJis8(CMsgInfo* pMsg, const unsigned char* pData, int nLength);
    void DecodeI8(CMsgInfo* pMsg, const unsigned char* pData, int nLength);
    void DecodeI1(CMsgInfo* pMsg, const unsigned char* pData, int nLength);
    void DecodeI2(CMsgInfo* pMsg, const unsigned char* pData, int nLength);
    void DecodeI4(CMsgInfo* pMsg, const unsigned char* pData, int nLength);
    void DecodeF8(CMsgInfo* pMsg, const unsigned char* pData, int nLength);
    void DecodeF4(CMsgInfo* pMsg, const unsigned char* pData, int nLength);
    void DecodeU8(CMsgInfo* pMsg, const unsigned char* pData, int nLength);
    void DecodeU1(CMsgInfo* pMsg, const unsigned char* pData, int nLength);
    void DecodeU2(CMsgInfo* pMsg, const unsigned char* pData, int nLength);
    void DecodeU4(CMsgInfo* pMsg, const unsigned char* pData, int nLength);

    CMsgMgr* m_pMgr = nullptr;  // owned
};
