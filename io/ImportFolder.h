#pragma once
#include <string>

// Imports a log or capture into a folder of its own and names it in
// strFolder: strFile + ".messages" beside it, or strCacheDir/NAME.messages
// when that cannot be created there. A folder holding an index newer than the
// file is an earlier import of it and is reused; any other folder of that
// name gets "-2", "-3", ... False with a reason when nothing could be read
// or written; strSummary tells what was found ("3 messages, 1 warning").
bool ImportIntoFolder(const std::string& strFile, const std::string& strCacheDir,
                      std::string& strFolder, std::string& strSummary, std::string& strError);
