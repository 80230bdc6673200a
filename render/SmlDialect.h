#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// Internal to the SML writer: what the dialects differ in.
struct SSmlData {
    int nFormat;
    const unsigned char* pBytes;  // the item's data bytes in the file
    std::size_t nElements;
};

struct SSmlHeader {
    int nStream;
    int nFunction;
    bool bWait;
    int nDevice;
    std::uint32_t nSystem;
};

struct SSmlDialect {
    const char* szName;
    int nIndent;       // blanks per nesting level
    int nFirstIndent;  // blanks before a top-level item
    void (*pHeader)(std::string& out, const SSmlHeader& header);
    void (*pListOpen)(std::string& out, std::size_t nCount);
    const char* szListClose;
    const char* szEmptyList;  // one line for a list without items; null: open and close
    void (*pData)(std::string& out, const SSmlData& data);
    const char* szEmptyBody;  // between the header and the end when there are no items
    const char* szEnd;        // after the last line: the terminator
};

const SSmlDialect& SmlDialectOf(int nDialect);
int SmlDialectCount();
