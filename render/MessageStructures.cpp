#include "render/MessageStructures.h"

#include <algorithm>
#include <iterator>

namespace {

// Shapes written for this program from the sources in
// docs/message-structures.md; messages no source supports are left out and
// listed there.
constexpr SMessageStructure kStructures[] = {
    {1, 1, "-"},
    {1, 2, "L[2|0]{MDLN SOFTREV}"},
    {1, 3, "L[n]{SVID}"},
    {1, 4, "L[n]{SV}"},
    {1, 11, "L[n]{SVID}"},
    {1, 12, "L[n]{L[3]{SVID SVNAME UNITS}}"},
    {1, 13, "L[2|0]{MDLN SOFTREV}"},
    {1, 14, "L[2]{COMMACK L[2|0]{MDLN SOFTREV}}"},
    {1, 15, "-"},
    {1, 16, "OFLACK"},
    {1, 17, "-"},
    {1, 18, "ONLACK"},
    {1, 21, "L[n]{VID}"},
    {1, 22, "L[n]{L[3]{VID DVVALNAME UNITS}}"},
    {1, 24, "L[n]{L[3]{CEID CENAME L[n]{VID}}}"},
    {2, 13, "L[n]{ECID}"},
    {2, 14, "L[n]{ECV}"},
    {2, 15, "L[n]{L[2]{ECID ECV}}"},
    {2, 16, "EAC"},
    {2, 17, "-"},
    {2, 18, "TIME"},
    {2, 23, "L[5]{TRID DSPER TOTSMP REPGSZ L[n]{SVID}}"},
    {2, 24, "TIAACK"},
    {2, 25, "ABS"},
    {2, 26, "ABS"},
    {2, 29, "L[n]{ECID}"},
    {2, 30, "L[n]{L[6]{ECID ECNAME ECMIN ECMAX ECDEF UNITS}}"},
    {2, 31, "TIME"},
    {2, 32, "TIACK"},
    {2, 33, "L[2]{DATAID L[n]{L[2]{RPTID L[n]{VID}}}}"},
    {2, 34, "DRACK"},
    {2, 35, "L[2]{DATAID L[n]{L[2]{CEID L[n]{RPTID}}}}"},
    {2, 36, "LRACK"},
    {2, 37, "L[2]{CEED L[n]{CEID}}"},
    {2, 38, "ERACK"},
    {2, 39, "L[2]{DATAID DATALENGTH}"},
    {2, 40, "GRANT"},
    {2, 41, "L[2]{RCMD L[n]{L[2]{CPNAME CPVAL}}}"},
    {2, 42, "L[2]{HCACK L[n]{L[2]{CPNAME CPACK}}}"},
    {2, 43, "L[n]{L[2]{STRID L[n]{FCNID}}}"},
    {2, 44, "L[2]{RSPACK L[n]{L[3]{STRID STRACK L[n]{FCNID}}}}"},
    {2, 45, "L[2]{DATAID L[n]{L[2]{VID L[n]{L[2]{LIMITID L[2|0]{UPPERDB LOWERDB}}}}}}"},
    {2, 46, "L[2]{VLAACK L[n]{L[3]{VID LVACK L[2|0]{LIMITID LIMITACK}}}}"},
    {2, 47, "L[n]{VID}"},
    {2, 48, "L[n]{L[2]{VID L[4|0]{UNITS LIMITMIN LIMITMAX L[n]{L[3]{LIMITID UPPERDB LOWERDB}}}}}"},
    {2, 49, "L[4]{DATAID OBJSPEC RCMD L[n]{L[2]{CPNAME CEPVAL}}}"},
    {5, 1, "L[3]{ALCD ALID ALTX}"},
    {5, 2, "ACKC5"},
    {5, 3, "L[2]{ALED ALID}"},
    {5, 4, "ACKC5"},
    {5, 5, "ALID | L[n]{ALID}"},
    {5, 6, "L[n]{L[3]{ALCD ALID ALTX}}"},
    {5, 7, "-"},
    {5, 8, "L[n]{L[3]{ALCD ALID ALTX}}"},
    {5, 9, "L[5]{TIMESTAMP EXID EXTYPE EXMESSAGE L[n]{EXRECVRA}}"},
    {5, 11, "L[4]{TIMESTAMP EXID EXTYPE EXMESSAGE}"},
    {5, 13, "L[2]{EXID EXRECVRA}"},
    {5, 15, "L[3]{TIMESTAMP EXID L[2]{ACKA L[2|0]{ERRCODE ERRTEXT}}}"},
    {5, 17, "EXID"},
    {6, 1, "L[4]{TRID SMPLN STIME L[n]{SV}}"},
    {6, 2, "ACKC6"},
    {6, 3, "L[3]{DATAID CEID L[n]{L[2]{DSID L[n]{L[2]{DVNAME DVVAL}}}}}"},
    {6, 5, "L[2]{DATAID DATALENGTH}"},
    {6, 6, "GRANT6"},
    {6, 7, "DATAID"},
    {6, 11, "L[3]{DATAID CEID L[n]{L[2]{RPTID L[n]{V}}}}"},
    {6, 12, "ACKC6"},
    {6, 13, "L[3]{DATAID CEID L[n]{L[2]{RPTID L[n]{L[2]{VID V}}}}}"},
    {6, 14, "ACKC6"},
    {6, 15, "CEID"},
    {6, 16, "L[3]{DATAID CEID L[n]{L[2]{RPTID L[n]{V}}}}"},
    {6, 17, "CEID"},
    {6, 18, "L[3]{DATAID CEID L[n]{L[2]{RPTID L[n]{L[2]{VID V}}}}}"},
    {6, 19, "RPTID"},
    {6, 20, "L[n]{V}"},
    {6, 21, "RPTID"},
    {6, 22, "L[n]{L[2]{VID V}}"},
    {6, 23, "RSDC"},
    {6, 24, "RSDA"},
    {7, 1, "L[2]{PPID LENGTH}"},
    {7, 2, "PPGNT"},
    {7, 3, "L[2]{PPID PPBODY}"},
    {7, 4, "ACKC7"},
    {7, 5, "PPID"},
    {7, 6, "L[2|0]{PPID PPBODY}"},
    {7, 17, "L[n]{PPID}"},
    {7, 18, "ACKC7"},
    {7, 19, "-"},
    {7, 20, "L[n]{PPID}"},
    {7, 23, "L[4]{PPID MDLN SOFTREV L[n]{L[2]{CCODE L[n]{PPARM}}}}"},
    {7, 24, "ACKC7"},
    {7, 25, "PPID"},
    {7, 26, "L[4]{PPID MDLN SOFTREV L[n]{L[2]{CCODE L[n]{PPARM}}}}"},
    {7, 28, "-"},
    {9, 1, "MHEAD"},
    {9, 3, "MHEAD"},
    {9, 5, "MHEAD"},
    {9, 7, "MHEAD"},
    {9, 9, "SHEAD"},
    {9, 11, "MHEAD"},
    {9, 13, "L[2]{MEXP EDID}"},
    {10, 1, "L[2]{TID TEXT}"},
    {10, 2, "ACKC10"},
    {10, 3, "L[2]{TID TEXT}"},
    {10, 4, "ACKC10"},
    {10, 5, "L[2]{TID L[n]{TEXT}}"},
    {10, 6, "ACKC10"},
};

// Where the sources allow different formats for an item, it may have any of
// them: a note must never rest on one reading alone.
constexpr SDataItemFormats kDataItems[] = {
    {"ABS", "B"},
    {"ACKA", "BOOL[1]"},
    {"ACKC10", "B[1]"},
    {"ACKC5", "B[1]"},
    {"ACKC6", "B[1]"},
    {"ACKC7", "B[1]"},
    {"ALCD", "B[1]"},
    {"ALED", "B[1]"},
    {"ALID", "U1 U2 U4 U8 I1 I2 I4 I8 A"},
    {"ALTX", "A"},
    {"CCODE", "A I2 I4 U2 U4"},
    {"CEED", "BOOL[1]"},
    {"CEID", "U1 U2 U4 U8 I1 I2 I4 I8 A"},
    {"CENAME", "A"},
    {"CEPVAL", "L BOOL U1 U2 U4 U8 I1 I2 I4 I8 F4 F8 A B"},
    {"COMMACK", "B[1]"},
    {"CPACK", "B[1]"},
    {"CPNAME", "U1 U2 U4 U8 I1 I2 I4 I8 A"},
    {"CPVAL", "BOOL U1 U2 U4 U8 I1 I2 I4 I8 A B"},
    {"DATAID", "U1 U2 U4 U8 I1 I2 I4 I8 A"},
    {"DATALENGTH", "U1 U2 U4 U8 I1 I2 I4 I8"},
    {"DRACK", "B[1]"},
    {"DSID", "U1 U2 U4 U8 I1 I2 I4 I8 A"},
    {"DSPER", "A"},
    {"DVNAME", "U1 U2 U4 U8 I1 I2 I4 I8 A"},
    {"DVVAL", "L BOOL U1 U2 U4 U8 I1 I2 I4 I8 F4 F8 A B"},
    {"DVVALNAME", "A"},
    {"EAC", "B[1]"},
    {"ECDEF", "BOOL I8 I1 I2 I4 F8 F4 U8 U1 U2 U4 A B"},
    {"ECID", "U1 U2 U4 U8 I1 I2 I4 I8 A"},
    {"ECMAX", "BOOL I8 I1 I2 I4 F8 F4 U8 U1 U2 U4 A B"},
    {"ECMIN", "BOOL I8 I1 I2 I4 F8 F4 U8 U1 U2 U4 A B"},
    {"ECNAME", "A"},
    {"ECV", "L BOOL I8 I1 I2 I4 F8 F4 U8 U1 U2 U4 A B"},
    {"EDID", "U1 U2 U4 U8 I1 I2 I4 I8 A B"},
    {"ERACK", "B[1]"},
    {"ERRCODE", "I1 I2 I4 I8 U1 U2 U4 U8"},
    {"ERRTEXT", "A"},
    {"EXID", "A"},
    {"EXMESSAGE", "A"},
    {"EXRECVRA", "A"},
    {"EXTYPE", "A"},
    {"FCNID", "U1[1]"},
    {"GRANT", "B[1]"},
    {"GRANT6", "B[1]"},
    {"HCACK", "B[1]"},
    {"LENGTH", "U1 U2 U4 U8 I1 I2 I4 I8"},
    {"LIMITACK", "B[1]"},
    {"LIMITID", "B[1]"},
    {"LIMITMAX", "BOOL U1 U2 U4 U8 I1 I2 I4 I8 F4 F8 A"},
    {"LIMITMIN", "BOOL U1 U2 U4 U8 I1 I2 I4 I8 F4 F8 A"},
    {"LOWERDB", "BOOL U1 U2 U4 U8 I1 I2 I4 I8 F4 F8 A"},
    {"LRACK", "B[1]"},
    {"LVACK", "B[1]"},
    {"MDLN", "A"},
    {"MEXP", "A"},
    {"MHEAD", "B[10]"},
    {"OBJSPEC", "A"},
    {"OFLACK", "B[1]"},
    {"ONLACK", "B[1]"},
    {"PPARM", "BOOL U1 U2 U4 U8 I1 I2 I4 I8 F4 F8 A J B"},
    {"PPBODY", "U1 U2 U4 U8 I1 I2 I4 I8 A B"},
    {"PPGNT", "B[1]"},
    {"PPID", "A B"},
    {"RCMD", "U1 I1 A"},
    {"REPGSZ", "I1 I2 I4 I8 U1 U2 U4 U8 A"},
    {"RPTID", "U1 U2 U4 U8 I1 I2 I4 I8 A"},
    {"RSDA", "B[1]"},
    {"RSDC", "U1[1]"},
    {"RSPACK", "B[1]"},
    {"SHEAD", "B[10]"},
    {"SMPLN", "I1 I2 I4 I8 U1 U2 U4 U8"},
    {"SOFTREV", "A"},
    {"STIME", "A"},
    {"STRACK", "B[1]"},
    {"STRID", "U1[1]"},
    {"SV", "L BOOL U1 U2 U4 U8 I1 I2 I4 I8 F4 F8 A B"},
    {"SVID", "U1 U2 U4 U8 I1 I2 I4 I8 A"},
    {"SVNAME", "A"},
    {"TEXT", "U1 U2 U4 U8 I1 I2 I4 I8 A J B"},
    {"TIAACK", "B[1]"},
    {"TIACK", "B[1]"},
    {"TID", "B[1]"},
    {"TIME", "A"},
    {"TIMESTAMP", "A"},
    {"TOTSMP", "I1 I2 I4 I8 U1 U2 U4 U8 A"},
    {"TRID", "I1 I2 I4 I8 U1 U2 U4 U8 A"},
    {"UNITS", "A"},
    {"UPPERDB", "BOOL U1 U2 U4 U8 I1 I2 I4 I8 F4 F8 A"},
    {"V", "L BOOL U1 U2 U4 U8 I1 I2 I4 I8 F4 F8 A B"},
    {"VID", "U1 U2 U4 U8 I1 I2 I4 I8 A"},
    {"VLAACK", "B[1]"},
};

constexpr int Key(int nStream, int nFunction) { return nStream * 256 + nFunction; }

// Both lookups are binary searches.
static_assert(std::is_sorted(std::begin(kStructures), std::end(kStructures),
                             [](const SMessageStructure& a, const SMessageStructure& b) {
                                 return Key(a.nStream, a.nFunction) < Key(b.nStream, b.nFunction);
                             }));
static_assert(std::is_sorted(std::begin(kDataItems), std::end(kDataItems),
                             [](const SDataItemFormats& a, const SDataItemFormats& b) {
                                 return std::string_view(a.szName) < std::string_view(b.szName);
                             }));

}  // namespace

const SMessageStructure* AllMessageStructures(int* pCount) {
    if (pCount) *pCount = static_cast<int>(std::size(kStructures));
    return kStructures;
}

const SMessageStructure* FindMessageStructure(int nStream, int nFunction) {
    const int nKey = Key(nStream, nFunction);
    const SMessageStructure* pEnd = std::end(kStructures);
    const SMessageStructure* p = std::lower_bound(
        std::begin(kStructures), pEnd, nKey,
        [](const SMessageStructure& m, int k) { return Key(m.nStream, m.nFunction) < k; });
    return p != pEnd && Key(p->nStream, p->nFunction) == nKey ? p : nullptr;
}

const SDataItemFormats* AllDataItemFormats(int* pCount) {
    if (pCount) *pCount = static_cast<int>(std::size(kDataItems));
    return kDataItems;
}

const SDataItemFormats* FindDataItemFormats(std::string_view strName) {
    const SDataItemFormats* pEnd = std::end(kDataItems);
    const SDataItemFormats* p = std::lower_bound(
        std::begin(kDataItems), pEnd, strName,
        [](const SDataItemFormats& d, std::string_view s) { return d.szName < s; });
    return p != pEnd && p->szName == strName ? p : nullptr;
}
