#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "io/HexText.h"

enum class EFraming { kBare, kHsms, kSecsI };

// One message with its framing stripped: the bytes a .BIG file holds.
struct CFramedMsg {
    std::vector<unsigned char> m_bytes;  // 10-byte header, body, perhaps the style byte
    EFraming m_eFraming = EFraming::kBare;
    int m_nSType = 0;          // HSMS session type; 0 is a data message
    std::string m_strNote;     // what was stripped, and anything doubtful
    bool m_bWarning = false;   // the note holds something doubtful
    std::size_t m_nBlock = 0;  // index of the text block it came from
};

// Splits one run of bytes into messages. HSMS (4-byte length) and SECS-I
// (length byte, 2-byte checksum) framing is taken only when a chain of frames
// covers the bytes exactly; bStrictSums also asks every SECS-I checksum to
// match, else a wrong sum is a warning. Anything else is one bare message.
std::vector<CFramedMsg> FrameBytes(const unsigned char* p, std::size_t n, bool bStrictSums);

// True when FrameBytes finds HSMS or SECS-I framing in the run; false for a
// bare message, which is the run itself.
bool IsFramedRun(const unsigned char* p, std::size_t n, bool bStrictSums);

// Joins SECS-I blocks of one message (same system bytes, block numbers
// counting up, the last with the E-bit) into one message with the E-bit.
void JoinSecsIBlocks(std::vector<CFramedMsg>& msgs);

// Every message of a hex text: each block framed, then SECS-I blocks joined.
// Plain texts (only hex digits) strip only framing whose sums all match.
std::vector<CFramedMsg> MessagesFromHexText(const CHexText& text);

// Decimal text of n, independent of the locale.
std::string DecimalText(unsigned long long n);
