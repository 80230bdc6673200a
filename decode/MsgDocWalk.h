#pragma once
#include <vector>

#include "decode/HeaderFields.h"
#include "model/MsgDoc.h"

// Walks a message file once and returns its document: the bytes (moved in,
// not copied), one row per item and the findings. Never fails, never reads
// past the end, never recurses, does no file I/O. The rules: a lone last
// byte at an item boundary is the style byte; a 0x00 where a format byte
// belongs ends the body; an item cut by the end of the file ends it too; a
// single 254-byte block that is not the last of its message and a bare
// header have no body to walk.
CMsgDoc DecodeMsgDoc(std::vector<unsigned char> bytes);

// Sets the viewer's style flag from the style byte: "1" column style, "0"
// bracket style; any other byte, or none, leaves it as it was.
void ApplyStyleByte(const CMsgDoc& doc, int* pStyle);

// The header fields of a document (missing bytes of a short file as zero).
SHeaderFields DocHeader(const CMsgDoc& doc);
