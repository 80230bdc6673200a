#pragma once
#include <string>

#include "model/Diagnostic.h"

// One sentence on a decoder finding, naming the declared and present counts
// where there are any: "ASCII item declares 16777215 data bytes, 3 present".
std::string DiagnosticText(const SDiagnostic& d);

// The line brevix-dump --check prints: "FILE: offset 13 (0xD): text".
std::string DiagnosticLine(const std::string& strFile, const SDiagnostic& d);
