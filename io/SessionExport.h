#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "io/SessionClock.h"
#include "io/SessionIndex.h"
#include "model/MsgDoc.h"

// The session window's exports of a chosen set of messages (rows: indexes
// into the session, in the order written). Every file goes through the
// atomic writer.

// The one place a front end of a session decodes a message: its document,
// holding a copy of its bytes, which every view of it then reads.
std::shared_ptr<const CMsgDoc> SessionMessageDoc(const CSession& session, std::size_t nIndex);

// "// 2026-12-07 10:00:00.000250 UTC  out 10.0.0.1:5000 -> 10.0.0.2:40000  system 0x00000001"
std::string SmlCommentLine(const CSession& session, std::size_t nIndex, const SSessionZone& zone);

// Every message as SML (standard dialect) after its comment line, a blank
// line between messages.
std::string SessionToSml(const CSession& session, const std::vector<std::uint32_t>& rows,
                         const SSessionZone& zone);
// One JSON line per message, named as the folder export names its file.
std::string SessionToJsonLines(const CSession& session, const std::vector<std::uint32_t>& rows);

// Writes strText as strPath (which the person named) through the atomic writer.
bool WriteExportText(const std::string& strPath, const std::string& strText, std::string& strError);

// A folder of message files NNNNNN_SxFy[W].BIG, numbered 1.. in the order of
// rows, then INDEX.tsv as an import writes it. The folder is made when
// missing; one that holds anything is refused, so nothing is replaced.
bool ExportSessionFolder(const CSession& session, const std::vector<std::uint32_t>& rows,
                         const std::string& strDir, std::string& strError);
