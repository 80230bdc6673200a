#pragma once
#include <cstddef>
#include <string>

// Path of the listing beside a message file: the file name's ".BIG"
// extension (any letter case) becomes ".TXT"; without it ".TXT" is appended.
// Folder names are never touched.
std::string ListingPathFor(const std::string& strMessagePath);

// Writes the listing with every line feed stored as CR LF, nothing else
// added. Returns false with a reason in strError when the file cannot be
// created or written completely (disk full included).
bool WriteListingFile(const std::string& strPath, const std::string& strListing,
                      std::string& strError);

// Creates or empties strPath and writes nSize bytes exactly as given (the hex
// log converter's "HexToSECS.BIG"). Same failure reporting as above.
bool WriteWholeFile(const std::string& strPath, const void* pData, std::size_t nSize,
                    std::string& strError);
