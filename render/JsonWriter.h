#pragma once
#include <cstddef>
#include <string>

#include "model/MsgDoc.h"
#include "render/TextFlush.h"

// One message file as one line of JSON (JSON Lines), described by
// docs/brevix-dump.schema.json: file name and size, the header read as
// SECS-I and as HSMS, the message name where known, the style byte, the
// document's findings, and the items as nested objects with exact values
// read from the bytes. Ends in a line feed. Appended to out, which goes to
// flush in pieces when flush is set.
void AppendMessageJson(std::string& out, const std::string& strFile, const CMsgDoc& doc,
                       const TextFlush& flush = {});
std::string MessageToJson(const std::string& strFile, const CMsgDoc& doc);

// str as a JSON string literal, quotes included; every byte from 0x80 up is
// taken as the Latin-1 character of that code.
void AppendJsonString(std::string& out, const unsigned char* p, std::size_t n);
