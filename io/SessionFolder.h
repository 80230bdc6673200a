#pragma once
#include <string>
#include <vector>

#include "render/SessionDiff.h"

// The .BIG files directly in strFolder (extension in any case), in byte
// order of their names, as a session. Each file is read once for its key
// and again when its body is compared. Files that cannot be read are left
// out and named in errors ("NAME: reason"). False with a reason when the
// folder cannot be listed.
bool ReadSessionFolder(const std::string& strFolder, std::vector<SSessionMessage>& session,
                       std::vector<std::string>& errors, std::string& strError);
