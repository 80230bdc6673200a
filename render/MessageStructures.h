#pragma once
#include <string_view>

// What the body of each named SECS-II message should hold, and what each
// data item may be. Sources: docs/message-structures.md.
//
// A shape is written in a small SML-like notation:
//   NAME          a data item of the dictionary below ("CEID")
//   L[3]{a b c}   a list of exactly these items
//   L[2|0]{a b}   the same, or an empty list
//   L[n]{a}       a list of any number of items shaped like a
//   -             no body (header only)
//   x | y         either shape (where sources disagree or the sender decides)
struct SMessageStructure {
    int nStream;
    int nFunction;
    const char* szShape;  // "L[3]{DATAID CEID L[n]{L[2]{RPTID L[n]{V}}}}"
};

// A data item and the formats it may have, by their short names; "[1]"
// after the formats bounds its element count ("B[1]": one byte at most).
struct SDataItemFormats {
    const char* szName;     // "CEID"
    const char* szFormats;  // "U1 U2 U4 U8 I1 I2 I4 I8 A"
};

// Every entry, ordered by stream and then function.
const SMessageStructure* AllMessageStructures(int* pCount);
// Null for a message the table does not hold.
const SMessageStructure* FindMessageStructure(int nStream, int nFunction);

const SDataItemFormats* AllDataItemFormats(int* pCount);
// Null for a name the dictionary does not hold.
const SDataItemFormats* FindDataItemFormats(std::string_view strName);
