#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// One message read from SML text: what its header line says and its item
// stream, every item with the fewest length bytes that hold its length.
struct SSmlMessage {
    int nStream = 0;
    int nFunction = 0;
    bool bWait = false;
    int nDevice = 0;         // "device=N" on the header line, else 0
    long long nSystem = -1;  // "system=N" on the header line, else -1: counted
    std::vector<unsigned char> body;
};

// Where reading stopped and what was expected there; line and column count
// from 1, columns in bytes.
struct SSmlError {
    int nLine = 0;
    int nColumn = 0;
    std::string strText;  // "expected \">\""
};

// Reads every message of the text: the standard dialect and those of
// secs4net, secsgem and go-secs ("S6F11 W device=2 system=42" may set the
// header fields SML does not carry); comments /* */ and //; W or not; counts in
// brackets optional (checked when given, except on texts); "." or the end
// as terminator.
// False, with messages left empty, at the first error. Never recurses: any
// nesting depth is read in one loop.
bool ReadSml(std::string_view strText, std::vector<SSmlMessage>& messages, SSmlError& error);

// The message file: a 10-byte header (device id, the W-bit, stream,
// function, end bit with block 1 as a single block carries it, the system
// bytes: the message's own, else nCountedSystem) and the body.
std::vector<unsigned char> SmlMessageFile(const SSmlMessage& msg, std::uint32_t nCountedSystem);
