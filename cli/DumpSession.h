#pragma once
#include <iosfwd>

#include "cli/DumpOptions.h"

// --list: every SOURCE opened as a session, one line (or with --json one
// JSON record) per message that passes --filter; warnings on err.
int RunList(const CDumpOptions& opts, std::ostream& out, std::ostream& err);

// --import: every SOURCE as a session, written into one numbered sequence
// in --out (created with its parents); a summary on err.
int RunImport(const CDumpOptions& opts, std::ostream& err);
