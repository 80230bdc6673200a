#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "io/FoundMsg.h"

struct CImportOptions {
    int m_nPort = -1;         // only TCP streams with this port; -1 any stream that frames as HSMS
    bool m_bControl = false;  // keep HSMS control messages too
};

struct CImportResult {
    std::vector<CFoundMsg> m_msgs;  // every file's messages, in file and then capture order
    std::vector<std::string> m_warnings;
    std::size_t m_nSessions = 0;  // sessions used so far, so files never share one
};

// Reads a text log or a pcap/pcapng capture (told apart by its first bytes)
// and appends what it holds. False with a reason when a capture cannot be
// opened at all; a text always gives a result.
bool ImportBytes(const unsigned char* p, std::size_t n, const CImportOptions& opts,
                 CImportResult& result, std::string& strError);

// "000042_S6F11W.BIG", or "000007_Select.req.BIG" for a control message.
std::string ImportFileName(std::size_t nSeq, const CFramedMsg& msg);

// INDEX.tsv: a heading, then per message its sequence number, time, source,
// destination, SxFy, wait bit, system bytes, the sequence number of the
// primary a reply answers (same system bytes, same session) and the reply's
// latency in milliseconds.
std::string ImportIndex(const std::vector<CFoundMsg>& msgs);

struct CImportWrite {
    std::size_t m_nWritten = 0;
    std::vector<std::string> m_errors;  // "PATH: reason"
};

// Writes each message as strDir/ImportFileName and the index as
// strDir/INDEX.tsv, never replacing a file that is there. False when any
// write failed; the others are still done.
bool WriteImport(const std::string& strDir, const std::vector<CFoundMsg>& msgs,
                 CImportWrite& written);
