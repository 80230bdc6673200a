#pragma once
#include <memory>
#include <string>
#include <vector>

#include "model/MsgInfo.h"

// "01 02 a5" -> {0x01, 0x02, 0xA5}; blanks and line breaks are ignored.
std::vector<unsigned char> BytesFromHex(const std::string& strHex);

// A compact, one-line picture of the cell tree for assertions:
// L[2]{U1 5, A "x"}; top-level cells are separated by "; ". Lists show their
// stored count, data cells their format's short name and elements.
std::string DumpCells(const CMsgInfo& msg);

// Header bytes for stream/function with the W-bit set, followed by body.
std::vector<unsigned char> MessageBytes(int nStream, int nFunction, const std::string& strBodyHex);

// Decodes bytes copied into a heap block of exactly their size, so that
// AddressSanitizer reports a read even one byte past the end.
std::unique_ptr<CMsgInfo> DecodeExact(const std::vector<unsigned char>& bytes,
                                      int* pStyle = nullptr);

// Decodes MessageBytes(6, 11, strBodyHex) as DecodeExact does.
std::unique_ptr<CMsgInfo> DecodeBody(const std::string& strBodyHex, int* pStyle = nullptr);

// Checks, without recursion, that the tree links and m_cells agree: m_cells
// is the preorder of the tree (top-level cells chained by m_pNext), every
// m_pPrev mirrors an m_pNext, every child names its parent, and each list's
// m_pLastChild is the end of its chain. Empty when all hold, else the first
// fault found.
std::string TreeFault(const CMsgInfo& msg);
