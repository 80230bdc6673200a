#pragma once
#include <iosfwd>

#include "cli/DumpOptions.h"

// --diff A B: two message files (either may be "-") compared item by item,
// or two sessions (captures, text logs, folders) aligned message by message.
// Differences go to out, reasons to err. Returns 0 when the bodies
// (sessions) are equal, 1 when they differ, 2 when an input cannot be read
// or a message file is set against a session.
int RunDiff(const CDumpOptions& opts, std::ostream& out, std::ostream& err, std::istream& in);
