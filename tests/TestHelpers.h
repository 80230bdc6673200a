#pragma once
#include <cstring>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "model/MsgInfo.h"

// "01 02 a5" -> {0x01, 0x02, 0xA5}; blanks and line breaks are ignored.
std::vector<unsigned char> BytesFromHex(const std::string& strHex);

// A compact, one-line picture of the cell tree for assertions:
// L[2]{U1 5, A "x"}; top-level cells are separated by "; ". Lists show their
// stored count, data cells their format's short name and elements.
std::string DumpCells(const CMsgInfo& msg);

// Header bytes for stream/function with the W-bit set, followed by body.
std::vector<unsigned char> MessageBytes(int nStream, int nFunction, const std::string& strBodyHex);
// A message whose body is one list of nItems U1 items (nItems + 1 cells).
std::vector<unsigned char> FlatListMessage(int nItems);
// nLists lists nested one in another around one U1 item (nLists + 1 cells).
std::vector<unsigned char> NestedListMessage(int nLists);

// Decodes bytes copied into a heap block of exactly their size, so that
// AddressSanitizer reports a read even one byte past the end.
std::unique_ptr<CMsgInfo> DecodeExact(const std::vector<unsigned char>& bytes,
                                      int* pStyle = nullptr);

// Decodes MessageBytes(6, 11, strBodyHex) as DecodeExact does.
std::unique_ptr<CMsgInfo> DecodeBody(const std::string& strBodyHex, int* pStyle = nullptr);

// Checks, without recursion, that the tree links and m_cells agree: m_cells
// is the preorder of the tree (top-level cells chained by m_pNext, without a
// parent), every m_pPrev mirrors an m_pNext, every child names its parent,
// and each list's m_pLastChild is the end of its chain. Empty when all
// hold, else the first fault found.
std::string TreeFault(const CMsgInfo& msg);

// A body (after an S6F11W header) and the cells it decodes to.
struct BodyCase {
    const char* name;
    const char* body;
    const char* cells;
};
// Decodes each body as DecodeBody does and checks its cells and tree links.
void ExpectBodies(std::span<const BodyCase> cases);

// One item in builder script and its text in bracket and column style.
struct ItemTextCase {
    const char* name;
    const char* item;
    const char* bracket;
    const char* column;
};

// Depth of a cell below the top level; -1 for null (no current list).
int Depth(const CMsgCell* pCell);

// Element i of a data cell's storage, read without alignment assumptions.
template <typename T>
T Element(const CMsgCell& cell, int i) {
    T v;
    std::memcpy(&v, static_cast<const char*>(cell.m_pValues) + i * sizeof(T), sizeof(T));
    return v;
}

// Builds a message through CMsgMgr from a compact script, so that rendering
// can be tested without the decoder:
//   L{ ... }     a list;  L3{ ... } also stores 3 as its count on closing,
//                as the decoder does with a declared count
//   U4(1 2)      a data item: B, BOOL, A, J, I1, I2, I4, I8, U1, U2, U4, U8,
//                F4, F8; B and J take hex bytes, A takes the raw text
//                between the parentheses ("A()" is empty)
// Throws std::invalid_argument on a malformed script.
std::unique_ptr<CMsgInfo> BuildMessage(int nStream, int nFunction, bool bWait,
                                       const std::string& strScript);
// Built through CMsgMgr with the lists left open, as a cut file leaves them:
// nLists lists one in another around a U1 1, or one list of nItems U1 1.
std::unique_ptr<CMsgInfo> DeepMessage(int nLists);
std::unique_ptr<CMsgInfo> WideMessage(int nItems);

// strPart n times over.
std::string Repeat(const std::string& strPart, int n);
// Expected texts spell a blank at a line end as '`' and a tab as '|', so
// that tables show exactly what the text holds.
std::string Spell(const std::string& str);
// Shows blanks at line ends and tabs, so that a failed comparison of
// listings is readable: "<L[3/1]······" and "→".
std::string Visible(const std::string& str);
// Every line feed stored as CR LF, as listing files are written.
std::string CrLf(const std::string& str);
// The whole content of a file; empty when it cannot be read.
std::string ReadAll(const std::string& strPath);
// A new empty folder in /tmp whose name starts with strPrefix; RemoveTree
// deletes a folder and everything below it, read-only folders included.
std::string MakeTempDir(const std::string& strPrefix);
void RemoveTree(const std::string& strPath);

// Switches the whole C locale to one that writes "1,5" for 1.5 (de_DE,
// generated with localedef into a temporary folder when the system has
// none) and back to "C" when it goes out of scope. Ok() is false when no
// such locale can be had; tests then skip with a clear message.
class CCommaLocale {
public:
    CCommaLocale();
    ~CCommaLocale();
    CCommaLocale(const CCommaLocale&) = delete;
    CCommaLocale& operator=(const CCommaLocale&) = delete;
    bool Ok() const { return m_bOk; }

private:
    bool m_bOk = false;
};

// One TCP segment between a client 10.0.0.1:40000 and a server
// 10.0.0.2:5000, for captures written by the tests themselves. nOffset is
// the position of the data in its direction's byte stream; a SYN has none.
struct CTestSegment {
    bool bToServer;
    unsigned int nOffset;
    std::string strHex;  // payload, as BytesFromHex reads it
    long long nMicros;
    bool bSyn = false;
};
// The segments as an Ethernet/IPv4 capture, classic pcap or pcapng.
std::vector<unsigned char> CaptureBytes(const std::vector<CTestSegment>& segments, bool bPcapng);
// One segment as an Ethernet/IPv4 frame (IP header 20 bytes at offset 14).
std::vector<unsigned char> EthernetFrame(const CTestSegment& seg);
// Frames of any link type as a classic pcap, one microsecond apart.
std::vector<unsigned char> PcapOfFrames(int nLink,
                                        const std::vector<std::vector<unsigned char>>& frames);

// Every ".BIG" file directly in the folders, in path order, with its bytes.
struct SMessageFile {
    std::string strPath;
    std::vector<unsigned char> bytes;
};
std::vector<SMessageFile> ReadBigFiles(const std::vector<std::string>& folders);
