#pragma once
#include <cstddef>
#include <cstdint>

// The 10 header bytes read both ways: as a SECS-I block header and as an
// HSMS message header. Both share the system bytes (6 to 9).
struct SHeaderFields {
    // SECS-I
    int bRBit = 0;
    int nDeviceId = 0;  // bytes 0-1 without the R-bit
    int bWBit = 0;
    int nStream = 0;
    int nFunction = 0;
    int bEBit = 0;
    int nBlock = 0;  // bytes 4-5 without the E-bit
    // HSMS
    int nSessionId = 0;  // bytes 0-1 whole
    int nByte2 = 0;      // W-bit and stream in a data message
    int nByte3 = 0;      // function in a data message
    int nPType = 0;      // byte 4; 0 is SECS-II
    int nSType = 0;      // byte 5; 0 is a data message, others control messages
    std::uint32_t dwSystemBytes = 0;
    int nPresent = 0;  // header bytes the file held (0 to 10)
};

// Header bytes missing from a short file read as zero, as the decoder does.
SHeaderFields ReadHeaderFields(const unsigned char* pData, std::size_t nSize);

// HSMS session type name ("Select.req"); null for a type HSMS does not define.
const char* HsmsSTypeName(int nSType);
