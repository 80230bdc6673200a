// Replays message files (or every file below the given folders) through the
// fuzz target, so a build without libFuzzer can run the corpus; with --sml
// first, SML texts through the SML reader's target. Exits non-zero when a
// path cannot be read or nothing was replayed.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "fuzz/FuzzSml.h"
#include "fuzz/FuzzTarget.h"
#include "io/MsgFile.h"

namespace fs = std::filesystem;

namespace {

bool Replay(const std::string& strPath, bool bSml) {
    std::vector<unsigned char> bytes;
    std::string strError;
    if (!ReadMessageFile(strPath, bytes, strError)) {
        std::fprintf(stderr, "%s: %s\n", strPath.c_str(), strError.c_str());
        return false;
    }
    if (bSml)
        FuzzOneSml(bytes.data(), bytes.size());
    else
        FuzzOneMessage(bytes.data(), bytes.size());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> files;
    const bool bSml = argc > 1 && std::string(argv[1]) == "--sml";
    for (int i = bSml ? 2 : 1; i < argc; ++i) {
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
    for (const std::string& file : files) nFailed += Replay(file, bSml) ? 0 : 1;
    std::printf("replayed %zu files, %d unreadable\n", files.size() - nFailed, nFailed);
    return files.empty() || nFailed ? 1 : 0;
}
