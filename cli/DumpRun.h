#pragma once
#include <iosfwd>
#include <string>
#include <vector>

#include "cli/DumpOptions.h"
#include "render/TreeLabels.h"

// Runs brevix-dump in-process on parsed options. Listings and trees go to
// out, "brevix-dump: FILE: reason" lines to err; in serves FILE "-" and
// --from-hex without HEXFILE. Returns the exit status: 0, or 1 when any
// file could not be read or written (the other files are still done).
int RunDump(const CDumpOptions& opts, std::ostream& out, std::ostream& err, std::istream& in);

// Reads FILE, or standard input for "-". False with a short reason.
bool ReadInput(const std::string& strPath, std::istream& in, std::vector<unsigned char>& bytes,
               std::string& strError);

// The tree as --tree prints it: the root label, then one line per node,
// indented two blanks per level, line feeds inside labels written as "\n".
std::string TreeText(const CLabelTree& tree);
