#pragma once
#include <iosfwd>

#include "cli/DumpOptions.h"
#include "model/Dictionary.h"

// --list: every SOURCE opened as a session, one line (or with --json one
// JSON record) per message that passes --filter; warnings on err.
// The name column shows an event's or alarm's name where dict or the
// session's own messages define it ("S6F11 LotStarted").
int RunList(const CDumpOptions& opts, const CDictionary& dict, std::ostream& out,
            std::ostream& err);

// --import: every SOURCE as a session, written into one numbered sequence
// in --out (created with its parents); a summary on err.
int RunImport(const CDumpOptions& opts, std::ostream& err);
