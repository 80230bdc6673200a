#pragma once
#include <string>

// Float texts that never read the locale. The SML dialects of the SECS
// libraries each lay numbers out the way their language prints them; these
// tables name those ways.
struct SFloatLayout {
    int nSciBelow;      // scientific when the decimal exponent is below this...
    int nSciFrom;       // ...or at least this
    char cExp;          // 'e' or 'E'
    bool bPointZero;    // integral values in fixed form get ".0" (Python)
    const char* szNaN;  // "nan", "NaN"
    const char* szInf;  // "inf", "+Inf", "Infinity"
    const char* szNegInf;
};

// Shortest text that reads back to the same bits (std::to_chars' choice of
// fixed or scientific form): "1.5", "1e+20", "inf", "-nan" (a NaN's payload
// is not kept).
void AppendShortest(std::string& out, double v);
void AppendShortest(std::string& out, float v);

// The shortest round-trip digits of v, laid out as the layout says.
void AppendShortestAs(std::string& out, double v, const SFloatLayout& layout);

// v rounded to nDigits significant digits, trailing zeros dropped, as printf
// "%.*G" lays it out ("-1.23399997", "1E+20"), with the layout's names for
// the non-finite values. bSingle: v is an F4 element and is rounded as one.
void AppendPrecision(std::string& out, double v, bool bSingle, int nDigits,
                     const SFloatLayout& layout);
