#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "decode/HeaderFields.h"
#include "model/Diagnostic.h"

// One labelled field of the header pane and of brevix-dump --header.
struct SFieldLine {
    std::string strName;   // "stream", "system bytes", "hsms stype"
    std::string strValue;  // "6", "0x00000001", "1 (Select.req)"
};

// The header in both readings, the message name (no line when unknown), the
// file size and the style byte as the walk found it (among findings).
std::vector<SFieldLine> HeaderFieldLines(const SHeaderFields& h,
                                         const std::vector<SDiagnostic>& findings,
                                         std::size_t nFileSize);

// "name: value" lines, each ending in a line feed.
std::string FieldLinesText(const std::vector<SFieldLine>& lines);

// "Event Report Send (ERS)", "Multi-block Grant"; empty when not in the table.
std::string MessageNameText(int nStream, int nFunction);
