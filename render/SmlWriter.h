#pragma once
#include <cstddef>
#include <string>

#include "decode/WireItems.h"
#include "model/MsgInfo.h"

// SML, the SECS Message Language, in the dialect that SML's originators put
// in the public domain and in those of three widespread SECS libraries, each
// written byte for byte as that library writes the same message.
enum class ESmlDialect { kStandard, kSecs4net, kSecsgem, kGoSecs };

// "standard" (also ""), "secs4net", "secsgem", "go-secs". False for others.
bool FindSmlDialect(const std::string& strName, ESmlDialect& eDialect);

// The message of a file: header line, items with exact values (every bit of
// 8-byte integers, floats in each dialect's round-trip form), terminator,
// then one "// damage at offset N: ..." line for each damage the decoder
// recorded in msg. The header comes from msg, the items from the bytes.
std::string MessageToSml(const CMsgInfo& msg, const unsigned char* pData, std::size_t nSize,
                         ESmlDialect eDialect);

// One item and everything under it, without header or terminator, in the
// dialect's indentation for the top level.
std::string ItemToSml(const SWireMessage& wire, std::size_t nItem, const unsigned char* pData,
                      ESmlDialect eDialect);

// "Copy as SML" of the viewer's tree, in the standard dialect: node nNode
// (cell nNode of msg, as BuildLabelTree numbers them) and its subtree, or the
// whole message for -1; ends in a line feed. Empty for a node without a
// wire item.
std::string TreeNodeToSml(const CMsgInfo& msg, const unsigned char* pData, std::size_t nSize,
                          int nNode);

// The wire item that cell nCell (document order) of the decoded message was
// made from: lists and items of known formats each have a cell. -1 if none.
int WireItemOfCell(const SWireMessage& wire, int nCell);
