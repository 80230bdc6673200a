#pragma once
#include <cstdint>
#include <string>

// Locale-free number text for the inspector texts (header, diagnostics,
// exact values): std::to_chars and a digit table, never printf.

// Decimal, as many digits as needed.
void AppendUnsigned(std::string& out, std::uint64_t v);
void AppendSigned(std::string& out, std::int64_t v);
// "0x" and exactly nDigits upper-case hex digits (more if v needs them).
void AppendHex(std::string& out, std::uint64_t v, int nDigits);
// Decimal followed by " (0x..)" hex: "36 (0x24)".
void AppendOffset(std::string& out, std::uint64_t v);
