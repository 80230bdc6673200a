#pragma once
#include <cstddef>
#include <string>

#include "model/MsgInfo.h"

// How the bytes of an ASCII item are read. Equipment often puts Japanese or
// Chinese text into ASCII items; the C library's iconv reads it.
enum class ETextReading { kEscaped, kUtf8, kShiftJis, kGbk };

// The exact value of one item from its data bytes as they stand in the file
// (big-endian), elements separated by one blank: U8 and I8 as exact 64-bit
// decimals, F4/F8 as the shortest text that reads back to the same bits
// followed by the raw bits ("0.1 (0x3DCCCCCD)"), binary as hex bytes, boolean
// as true/false, ASCII and JIS-8 quoted with control bytes escaped. Bytes
// after the last whole element are shown as "(extra 0x..)". Empty for a list
// or an unknown format. Never reads locale settings.
std::string ExactValueText(int nFormat, const unsigned char* pData, std::size_t nSize,
                           ETextReading eReading = ETextReading::kEscaped);

// A value shown in pieces: the exact value of its first nLimit data bytes
// (whole elements only) and, when that is not all of it, a last line such
// as "first 64 KiB of 10 MiB shown". Sizes in binary units, locale-free.
std::string ExactValuePreview(int nFormat, const unsigned char* pData, std::size_t nSize,
                              std::size_t nLimit, ETextReading eReading = ETextReading::kEscaped);

// ExactValueText of a decoded cell, its bytes found through the message's
// byte map in the file the message was decoded from. Empty when the message
// has no byte map or the file is shorter than the map says.
std::string CellExactValue(const CMsgInfo& msg, const CMsgCell& cell, const unsigned char* pFile,
                           std::size_t nFileSize, ETextReading eReading = ETextReading::kEscaped);
