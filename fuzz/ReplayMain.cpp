// Replays message files (or every file below the given folders) through the
// fuzz target, so a build without libFuzzer can run the corpus. The target
// is FuzzOneMessage unless BREVIX_REPLAY_TARGET names another. Exits non-zero
// when a path cannot be read or nothing was replayed.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "fuzz/FuzzImport.h"
#include "fuzz/FuzzSml.h"
#include "fuzz/FuzzTarget.h"
#include "io/MsgFile.h"

#ifndef BREVIX_REPLAY_TARGET
#define BREVIX_REPLAY_TARGET FuzzOneMessage
#endif

namespace fs = std::filesystem;

namespace {

bool Replay(const std::string& strPath) {
    std::vector<unsigned char> bytes;
    std::string strError;
    if (!ReadMessageFile(strPath, bytes, strError)) {
        std::fprintf(stderr, "%s: %s\n", strPath.c_str(), strError.c_str());
        return false;
    }
    BREVIX_REPLAY_TARGET(bytes.data(), bytes.size());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        std::error_code ec;
        if (!fs::is_directory(argv[i], ec)) {
            files.emplace_back(argv[i]);
            continue;
        }
        for (const auto& entry : fs::recursive_directory_iterator(argv[i], ec))
            if (entry.is_regular_file()) files.push_back(entry.path().string());
        if (ec) {
            std::fprintf(stderr, "%s: %s\n", argv[i], ec.message().c_str());
            return 1;
        }
    }
    std::sort(files.begin(), files.end());
    int nFailed = 0;
    for (const std::string& file : files) nFailed += Replay(file) ? 0 : 1;
    std::printf("replayed %zu files, %d unreadable\n", files.size() - nFailed, nFailed);
    return files.empty() || nFailed ? 1 : 0;
}
