#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "cli/DumpOptions.h"
#include "cli/DumpRun.h"

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    // Past a file size limit (ulimit -f) a write then fails with "File too
    // large" and is reported, instead of the signal killing us silently with
    // a temporary file left behind.
    std::signal(SIGXFSZ, SIG_IGN);
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    CDumpOptions opts;
    std::string strError;
    if (!ParseDumpOptions(args, opts, strError)) {
        std::cerr << "brevix-dump: " << strError << '\n' << DumpUsage();
        return 2;
    }
    if (opts.m_bHelp) {
        std::cout << DumpHelp();
        return std::cout.flush() ? 0 : 1;
    }
    if (opts.m_bVersion) {
        std::cout << "brevix-dump " << BREVIX_VERSION << '\n';
        return std::cout.flush() ? 0 : 1;
    }
    int nStatus = RunDump(opts, std::cout, std::cerr, std::cin);
    // A listing that did not reach its reader is a failure too (full disk,
    // closed pipe reader that ignores SIGPIPE).
    if (!std::cout.flush()) {
        std::cerr << "brevix-dump: standard output: write error\n";
        nStatus = 1;
    }
    return nStatus;
}
