#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "model/MsgDoc.h"
#include "model/MsgInfo.h"
#include "render/TextFlush.h"

// SML, the SECS Message Language, in the dialect that SML's originators put
// in the public domain and in those of three widespread SECS libraries, each
// written byte for byte as that library writes the same message.
enum class ESmlDialect { kStandard, kSecs4net, kSecsgem, kGoSecs };

// "standard" (also ""), "secs4net", "secsgem", "go-secs". False for others.
bool FindSmlDialect(const std::string& strName, ESmlDialect& eDialect);

// The message of a document: header line, items with exact values (every
// bit of 8-byte integers, floats in each dialect's round-trip form),
// terminator, then one "// damage at offset N: ..." line for each damage the
// walk found. Appended to out, which goes to flush in pieces when it is set.
// pComments, where given, holds per row a comment ("// CEID LotStarted")
// put at the end of that item's line; an empty one, or a row past its end,
// puts none.
void AppendMessageSml(std::string& out, const CMsgDoc& doc, ESmlDialect eDialect,
                      const TextFlush& flush = {},
                      const std::vector<std::string>* pComments = nullptr);
std::string MessageToSml(const CMsgDoc& doc, ESmlDialect eDialect);

// One item (row nRow) and everything under it, without header or
// terminator, in the dialect's indentation for the top level.
std::string ItemToSml(const CMsgDoc& doc, std::size_t nRow, ESmlDialect eDialect);

// "Copy as SML" of the viewer's tree, in the standard dialect: cell nNode of
// msg (as BuildLabelTree numbers the nodes) and its subtree, followed by the
// damage lines of the findings within its bytes, or the whole message for
// -1; ends in a line feed. Empty for a message without a document.
std::string TreeNodeToSml(const CMsgInfo& msg, int nNode);
// The same for row nRow of a document (-1: the whole message).
std::string DocNodeToSml(const CMsgDoc& doc, int nRow);
