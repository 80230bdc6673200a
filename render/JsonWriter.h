#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "model/MsgDoc.h"
#include "render/MeaningText.h"
#include "render/TextFlush.h"

// One message file as one line of JSON (JSON Lines), described by
// docs/brevix-dump.schema.json: file name and size, the header read as
// SECS-I and as HSMS, the message name where known, the style byte, the
// document's findings, and the items as nested objects with exact values
// read from the bytes. Ends in a line feed. Appended to out, which goes to
// flush in pieces when flush is set.
// Optional fields: what a session or dictionary says of the message.
struct SJsonExtras {
    std::size_t nNumber = 0;  // "number": the message's place in its source, from 1; 0 none
    // Per row: "role", "name" and "units" of the item, each left out when empty.
    const std::vector<SJsonMeaning>* pItems = nullptr;
};
void AppendMessageJson(std::string& out, const std::string& strFile, const CMsgDoc& doc,
                       const TextFlush& flush = {}, const SJsonExtras& extras = {});
std::string MessageToJson(const std::string& strFile, const CMsgDoc& doc);

// str as a JSON string literal, quotes included; every byte from 0x80 up is
// taken as the Latin-1 character of that code.
void AppendJsonString(std::string& out, const unsigned char* p, std::size_t n);
