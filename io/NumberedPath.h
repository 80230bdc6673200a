#pragma once
#include <cstddef>
#include <string>

// Where the number goes: before the file name's extension ("M-2.BIG"), or
// after the whole name, as a folder named after a file takes it
// ("run.log.messages-2").
enum class ENumberAt { kBeforeExtension, kEnd };

// strPath for number 1 (and 0), "-N" added for number N otherwise; never
// inside a folder's name. The one rule for every numbered name written.
std::string NumberedPath(const std::string& strPath, std::size_t nNumber,
                         ENumberAt eAt = ENumberAt::kBeforeExtension);
