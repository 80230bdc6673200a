#pragma once
#include <cstddef>
#include <string>

#include "io/MsgFraming.h"

// A message found in a log or a capture, with where and when it was seen.
struct CFoundMsg {
    CFramedMsg m_msg;
    long long m_nMicros = -1;  // µs since the epoch (captures) or since midnight (logs); -1 unknown
    std::string m_strTime;     // as the index shows it; empty when unknown
    std::string m_strSource;   // "10.0.0.1:5000"; empty for logs
    std::string m_strDest;
    std::size_t m_nSession = 0;  // the TCP connection; replies answer within one
};
