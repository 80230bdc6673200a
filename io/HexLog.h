#pragma once
#include <string>
#include <vector>

// Cleans pasted hex-log text as the converter does: trims white space at both
// ends, upper-cases, then removes every CR, LF, tab and blank. Anything else
// (colons, offsets, form feeds inside) stays and takes part in conversion.
std::string CleanHexLog(std::string strText);

// Converts cleaned text two characters at a time, as a "%2X" scan would:
// ceil(L / 2) bytes. A pair that cannot be read repeats the previous byte; a
// first pair that cannot be read gives 0x00, and so does "0X".
std::vector<unsigned char> HexTextToBytes(const std::string& strCleaned);
