#pragma once
#include <iosfwd>
#include <span>
#include <string>
#include <vector>

#include "cli/DumpOptions.h"
#include "model/Dictionary.h"
#include "model/MsgDoc.h"
#include "render/TextFlush.h"

// Loads every --dict file into dict; each line it cannot use goes to err as
// "brevix-dump: DICT:LINE: reason". False when a file cannot be read at all.
bool LoadDumpDictionaries(const CDumpOptions& opts, CDictionary& dict, std::ostream& err,
                          std::istream& in);

// Whether FILE's bytes are a log or capture rather than one message file.
bool IsSessionInput(const std::string& strPath, std::span<const unsigned char> bytes);

// --sml or --json of one message file: its items annotated with dict.
void WriteMessageMeaning(const CDumpOptions& opts, const std::string& strPath, const CMsgDoc& doc,
                         const CDictionary& dict, const TextFlush& flush);

// --sml or --json of a log, capture or folder: its data messages in order,
// each annotated with dict and what the session defined before it; warnings
// on err. The session is made from *pBytes (taken over), or opened from
// strPath when pBytes is null. False when it does not read as a session.
bool WriteSessionMeaning(const CDumpOptions& opts, const std::string& strPath,
                         std::vector<unsigned char>* pBytes, const CDictionary& dict,
                         const TextFlush& flush, std::ostream& err);
