#pragma once
#include <string>
#include <string_view>

#include "io/AtomicFile.h"

// True when a file name ends in ".BIG" in any letter case.
bool HasBigExtension(std::string_view strName);

// Path of the listing beside a message file: the file name's ".BIG"
// extension becomes ".TXT", an all-lower-case ".big" becomes ".txt";
// without the extension ".TXT" is appended. Folder names are never touched.
std::string ListingPathFor(const std::string& strMessagePath);

// Writes the listing with every line feed stored as CR LF, nothing else
// added, through WriteWholeFile. Returns false with a reason in strError when the file cannot be
// created or written completely (disk full included).
bool WriteListingFile(const std::string& strPath, const std::string& strListing,
                      std::string& strError);
