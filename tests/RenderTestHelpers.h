#pragma once
#include <memory>
#include <string>

#include "model/MsgInfo.h"

// Builds a message through CMsgMgr from a compact script, so that rendering
// can be tested without the decoder:
//   L{ ... }     a list;  L3{ ... } also stores 3 as its count on closing,
//                as the decoder does with a declared count
//   U4(1 2)      a data item: B, BOOL, A, J, I1, I2, I4, I8, U1, U2, U4, U8,
//                F4, F8; B and J take hex bytes, A takes the raw text
//                between the parentheses ("A()" is empty)
// Throws std::invalid_argument on a malformed script.
std::unique_ptr<CMsgInfo> BuildMessage(int nStream, int nFunction, bool bWait,
                                       const std::string& strScript);

// Shows blanks at line ends and tabs, so that a failed comparison of
// listings is readable: "<L[3/1]······" and "→".
std::string Visible(const std::string& str);
