#pragma once
#include <iosfwd>

#include "cli/DumpOptions.h"

// --header and --check over the FILE operands. --header prints "field: value"
// lines (headed by "==> FILE <==" when there are several files); --check one
// line per damage finding and nothing for a clean file. Unreadable files are
// reported on err. Returns 0, or 1 when any file was unreadable or (--check)
// damaged.
int RunInspect(const CDumpOptions& opts, std::ostream& out, std::ostream& err, std::istream& in);
