// Session indexes: a capture of 1,000,000 HSMS messages (about 330 MB),
// written once to $BREVIX_BENCH_CAPTURE (default /tmp/brevix-bench-1m.pcap)
// so that brevix-dump --list and tshark can be timed on the same bytes, and
// indexed in place; 100 MB text logs in hex and in SML. Targets: 500 MB/s
// for the capture, 200 MB/s for the logs.
#include <benchmark/benchmark.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchCapture.h"
#include "io/SessionIndex.h"
#include "io/SessionMeaning.h"

namespace {

constexpr int kPairs = 500000;
constexpr std::size_t kTextSize = 100u << 20;

std::string CapturePath() {
    const char* szPath = std::getenv("BREVIX_BENCH_CAPTURE");
    return szPath ? szPath : "/tmp/brevix-bench-1m.pcap";
}

// Written only when missing, so that a second run measures the same file.
std::size_t EnsureCapture(const std::string& strPath) {
    struct stat st {};
    if (::stat(strPath.c_str(), &st) == 0) return static_cast<std::size_t>(st.st_size);
    const std::vector<unsigned char> capture = HsmsCapture(kPairs);
    if (std::FILE* pFile = std::fopen(strPath.c_str(), "wb")) {
        std::fwrite(capture.data(), 1, capture.size(), pFile);
        std::fclose(pFile);
    }
    return capture.size();
}

void BM_IndexCapture(benchmark::State& state) {
    const std::string strPath = CapturePath();
    const std::size_t nSize = EnsureCapture(strPath);
    CSessionOptions opts;
    // 0: bodies decoded when a view asks (brevix-dump); 1: every body checked
    // for the damaged status while indexing, as the session window does.
    opts.bCheckBodies = state.range(0) != 0;
    std::size_t nMessages = 0;
    for (auto _ : state) {
        CSession session;
        std::string strError;
        if (!OpenSession(strPath, opts, session, strError)) state.SkipWithError(strError.c_str());
        nMessages = session.Messages().size();
        benchmark::DoNotOptimize(session.Messages().data());
    }
    state.counters["messages"] = static_cast<double>(nMessages);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * nSize));
}
BENCHMARK(BM_IndexCapture)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

// The same with what the session window adds on its loader's thread: the
// session's dictionary learned and the list's names made (target: at most
// 20% more than the index alone).
void BM_IndexCaptureLearned(benchmark::State& state) {
    const std::string strPath = CapturePath();
    const std::size_t nSize = EnsureCapture(strPath);
    CSessionOptions opts;
    opts.bCheckBodies = false;
    std::size_t nNamed = 0;
    for (auto _ : state) {
        CSession session;
        std::string strError;
        if (!OpenSession(strPath, opts, session, strError)) state.SkipWithError(strError.c_str());
        CDictionary dict;
        LearnSession(session, dict);
        const std::vector<std::string> summaries = SessionSummaries(session, dict);
        nNamed = static_cast<std::size_t>(
            std::count_if(summaries.begin(), summaries.end(), [](auto& s) { return !s.empty(); }));
    }
    state.counters["named"] = static_cast<double>(nNamed);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * nSize));
}
BENCHMARK(BM_IndexCaptureLearned)->Unit(benchmark::kMillisecond)->Iterations(3);

// One message a line in hex, or a message in SML over eight lines.
std::string TextLog(bool bSml) {
    std::string str;
    str.reserve(kTextSize + 512);
    static const char kDigits[] = "0123456789ABCDEF";
    for (unsigned long n = 1; str.size() < kTextSize; ++n) {
        // A time stamp of its own for every message: a new log entry.
        const unsigned long nMs = n % 86400000;
        char szTime[40];
        std::snprintf(szTime, sizeof szTime, "2026-12-07 %02lu:%02lu:%02lu.%03lu ", nMs / 3600000,
                      nMs / 60000 % 60, nMs / 1000 % 60, nMs % 1000);
        str += szTime;
        str += n % 2 ? "SEND " : "RECV ";
        if (bSml) {
            str += n % 2 ? "S6F11 W system=" : "S6F12 system=";
            str += std::to_string((n + 1) / 2);
            str += n % 2 ? "\n<L [3]\n  <U4 1>\n  <U4 100>\n  <A \"LOT-0001\">\n>\n.\n"
                         : "\n<B 0x00>\n.\n";
            continue;
        }
        const unsigned long nSystem = (n + 1) / 2;
        const unsigned char head[] = {0,
                                      0,
                                      static_cast<unsigned char>(n % 2 ? 0x86 : 0x06),
                                      static_cast<unsigned char>(n % 2 ? 11 : 12),
                                      0,
                                      0,
                                      static_cast<unsigned char>(nSystem >> 24),
                                      static_cast<unsigned char>(nSystem >> 16),
                                      static_cast<unsigned char>(nSystem >> 8),
                                      static_cast<unsigned char>(nSystem)};
        for (unsigned char c : head) {
            str += kDigits[c >> 4];
            str += kDigits[c & 15];
            str += ' ';
        }
        str += n % 2 ? "01 03 B1 04 00 00 00 01 B1 04 00 00 00 64 41 08 4C 4F 54 2D 30 30 30 31\n"
                     : "21 01 00\n";
    }
    return str;
}

void BM_IndexTextLog(benchmark::State& state) {
    const std::string strText = TextLog(state.range(0) == 1);
    CSessionOptions opts;
    opts.bCheckBodies = false;
    std::size_t nMessages = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<unsigned char> bytes(strText.begin(), strText.end());
        state.ResumeTiming();
        CSession session;
        std::string strError;
        SessionFromBytes(std::move(bytes), opts, session, strError);
        nMessages = session.Messages().size();
    }
    state.counters["messages"] = static_cast<double>(nMessages);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * strText.size()));
}
// 0: hex, 1: SML.
BENCHMARK(BM_IndexTextLog)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
