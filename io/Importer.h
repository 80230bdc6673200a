#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "io/SessionIndex.h"

// An import is an export of session indexes: every message as a file of its
// own, numbered across the sessions in order, and an index.

// "000042_S6F11W.BIG", or "000007_Select.req.BIG" for a control message.
std::string ImportFileName(std::size_t nSeq, const std::string& strMessageName);

// INDEX.tsv: a heading, then per message its sequence number, time (UTC),
// source, destination, SxFy, wait bit, system bytes, the sequence number of
// the primary a reply answers and the reply's latency in milliseconds.
// HSMS control messages are left out unless bControl.
std::string ImportIndex(const std::vector<const CSession*>& sessions, bool bControl);

struct CImportWrite {
    std::size_t m_nMessages = 0;  // messages to write
    std::size_t m_nWritten = 0;
    std::vector<std::string> m_errors;  // "PATH: reason"
};

// Writes each message as strDir/ImportFileName, never replacing a file that
// is there, and then, only when every one was written, INDEX.tsv: a folder
// without an index is never a finished import. False when any write failed;
// the other messages are still written.
bool WriteImport(const std::string& strDir, const std::vector<const CSession*>& sessions,
                 bool bControl, CImportWrite& written);
