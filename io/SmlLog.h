#pragma once
#include <string_view>

#include "io/SessionBuilder.h"

// True when the text logs messages as SML: header lines naming SxFy, each
// followed by item text ("<L [2] ...>") or nothing, ended by "." or the next
// header.
bool IsSmlLog(std::string_view text);

// Reads each message's item text through the SML reader; time, direction
// and system bytes come from its header line. A message whose text does not
// read is a warning with its line, never a guessed message. progress hears
// now and then of the bytes read.
void IndexSmlLog(CSessionBuilder& builder, std::string_view text,
                 const FSessionProgress& progress = {});
