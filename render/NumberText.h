#pragma once
#include <cstdint>
#include <string>

// Numbers as the C library's "%f" and "%G" print them in the "C" locale,
// built without printf so that no locale (LC_NUMERIC, or one a Qt
// application adopted) can turn the decimal point into a comma.

// "%f": six decimals, round-half-even on the exact binary value as glibc
// rounds; "inf", "-inf", "nan", "-nan" for the special values.
void AppendFixed6(std::string& out, double v);

// "%G" with an exponent of at least three digits ("1.23457E+008"), the form
// the listings have always shown; "INF", "NAN" for the special values.
void AppendG3(std::string& out, double v);

// Decimal integer as "%d" writes it, right-aligned in nWidth columns as
// "%5d" does (nWidth 0: no padding).
void AppendDecimal(std::string& out, long long v, int nWidth = 0);

// Decimal, as many digits as needed.
void AppendUnsigned(std::string& out, std::uint64_t v);
// "0x" and exactly nDigits upper-case hex digits (more if v needs them).
void AppendHex(std::string& out, std::uint64_t v, int nDigits);
// Decimal followed by " (0x..)" hex: "36 (0x24)".
void AppendOffset(std::string& out, std::uint64_t v);

// A count and its noun, which takes an "s" unless the count is 1: "1 packet",
// "0 packets", "3 data bytes". Every count a person reads is written so.
void AppendCount(std::string& out, std::uint64_t n, const char* szNoun);
std::string CountText(std::uint64_t n, const char* szNoun);
