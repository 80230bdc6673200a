#include "decode/HexBits.h"

#include <cmath>

#include "model/Bytes.h"

std::string BytesToHex(const unsigned char* pBytes, std::size_t n) {
    std::string strHex(2 * n, '0');
    for (std::size_t i = 0; i < n; ++i) {
        strHex[2 * i] = kUpperHexDigits[pBytes[i] >> 4];
        strHex[2 * i + 1] = kUpperHexDigits[pBytes[i] & 0x0F];
    }
    return strHex;
}

double BitsToDouble(const std::string& strBits, int e) {
    std::string s = "1" + strBits;
    std::size_t nInt = 0;  // integer digits at the front of s
    if (e < 0) {
        s.insert(0, static_cast<std::size_t>(-e - 1), '0');
    } else {
        nInt = static_cast<std::size_t>(e) + 1;
        if (s.size() < nInt) s.resize(nInt, '0');
    }
    double dInt = 0.0;
    for (std::size_t i = 0; i < nInt; ++i)
        if (s[i] == '1') dInt += std::ldexp(1.0, static_cast<int>(nInt - 1 - i));
    double dFrac = 0.0;
    for (std::size_t j = 1; nInt + j - 1 < s.size(); ++j) {
        if (s[nInt + j - 1] != '1') continue;
        if (j > 30) break;
        dFrac += std::ldexp(1.0, -static_cast<int>(j));
    }
    return dInt + dFrac;
}
